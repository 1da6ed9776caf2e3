#pragma once

#include "platform/Shell.h"

namespace trv {

/// The desktop's shell: QDesktopServices for documents, folders and web pages, detached processes for
/// programs.
class DesktopShell final : public Shell {
public:
    Status openDocument(const std::filesystem::path& file) override;
    Status openFolder(const std::filesystem::path& folder) override;
    Status openUrl(const QUrl& url) override;
    Status startProgram(const std::filesystem::path& program, const QStringList& arguments = {},
                        const std::filesystem::path& workingFolder = {}) override;
};

} // namespace trv

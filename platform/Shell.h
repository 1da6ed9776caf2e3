#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <filesystem>
#include <optional>
#include <vector>

namespace trv {

/// The desktop shell: opens documents, folders and web pages with the programs the desktop associates
/// with them, and starts other programs. Started programs run on their own; nothing waits for them.
class Shell {
public:
    virtual ~Shell() = default;

    /// Opens a document with the program associated with its kind.
    virtual Status openDocument(const std::filesystem::path& file) = 0;
    /// Shows a folder in the file manager.
    virtual Status openFolder(const std::filesystem::path& folder) = 0;
    /// Opens a web page or a mail address.
    virtual Status openUrl(const QUrl& url) = 0;
    /// Starts a program with the arguments; an empty working folder keeps the program's own.
    virtual Status startProgram(const std::filesystem::path& program, const QStringList& arguments = {},
                                const std::filesystem::path& workingFolder = {}) = 0;

    /// The shell's "open" of a target named in the configuration: a folder opens in the file manager, a
    /// program starts with the parameters (split as a command line splits them), and anything else opens
    /// as a document (the parameters are then not used).
    Status open(const std::filesystem::path& target, const QString& parameters = {});

    /// True for a file the shell starts as a program: the extensions of Windows programs and command
    /// files (.exe, .com, .bat, .cmd, any letter case) and, off Windows, an executable file without an
    /// extension.
    static bool isProgram(const std::filesystem::path& target);
};

/// A shell for tests: records what would be opened or started and opens nothing.
class RecordingShell final : public Shell {
public:
    struct Request {
        enum Kind { Document, Folder, Url, Program } kind;
        std::filesystem::path path; // document, folder or program
        QUrl url;
        QStringList arguments;
        std::filesystem::path workingFolder;
    };

    Status openDocument(const std::filesystem::path& file) override;
    Status openFolder(const std::filesystem::path& folder) override;
    Status openUrl(const QUrl& url) override;
    Status startProgram(const std::filesystem::path& program, const QStringList& arguments = {},
                        const std::filesystem::path& workingFolder = {}) override;

    const std::vector<Request>& requests() const { return m_requests; }
    void clear() { m_requests.clear(); }
    /// From now on every request is still recorded but answered with this error (none: success).
    void setFailure(std::optional<Error> error) { m_failure = std::move(error); }

private:
    Status add(Request request);

    std::vector<Request> m_requests;
    std::optional<Error> m_failure;
};

} // namespace trv

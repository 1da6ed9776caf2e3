#pragma once

#include "platform/Prompts.h"

#include <QString>

#include <filesystem>
#include <optional>

namespace trv {

class Shell;

// The reader's menu through the external terminal program: "Term_e.exe Term.TRM", started from the working
// folder. What the operator is told when it cannot start: the text and its icon; nullopt when it started.
struct HlaseniMenuCtecky {
    QString text;
    Prompts::Icon icon = Prompts::Icon::None;
};
std::optional<HlaseniMenuCtecky> otevriMenuCtecky(Shell& shell, const std::filesystem::path& workingFolder);

// The text the reader stores its configuration on, in every dialect.
inline constexpr char kUlozKonfiguraciCtecky[] = "<Zp>";

} // namespace trv

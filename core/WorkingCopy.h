#pragma once

#include "platform/Result.h"

#include <filesystem>

namespace trv {

// A table is rewritten in a working copy beside it that replaces it only once written and closed, so that a
// failure half way leaves the table as it was.
namespace WorkingCopy {

// The working copy of `file`: its name with ".zapis" added.
std::filesystem::path of(const std::filesystem::path& file);

// Ends the rewrite: after `written` failed, removes the copy and gives that error naming `file` (the table the
// operator knows) in place of the copy; else renames the copy over `file`, an error naming it when that fails.
Status putInPlace(const std::filesystem::path& work, const std::filesystem::path& file, const Status& written);

} // namespace WorkingCopy
} // namespace trv

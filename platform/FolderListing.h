#pragma once

#include "platform/Result.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace trv {

/// The one listing of a folder's entries. Every walk of a folder in the program goes through it: it never throws,
/// whatever bytes a name holds, and it makes a std::filesystem::path only for an entry asked for one.
namespace FolderListing {

/// A listed entry: its name decoded for display and for reading (a name that is not valid in the system's
/// encoding decodes lossily, never fails), and the path as listed, which opens the entry by its own bytes. The
/// path is made when asked for: a listing of a large folder holds every name's bytes in one block shared by its
/// entries, and a caller that reads only names pays for no path. Never turn the name back into a path: ask the
/// entry for it.
struct Entry {
    QString name;

    std::filesystem::path path() const;

    /// Where the listed bytes are (the folder's path with its separator, then every name).
    struct Block {
        std::filesystem::path::string_type text;
        size_t prefix = 0;
    };
    std::shared_ptr<const Block> block;
    size_t offset = 0; // of the name's bytes in block->text
    size_t length = 0;
};

/// Regular files (links followed), folders (links followed), or every entry of any type.
enum class Kind { Files, Folders, Any };

/// A test of the decoded name; the entries it refuses are dropped before any path is made.
using NameFilter = std::function<bool(const QString& name)>;

/// Asked every kGoingEvery entries read: a folder of a year's history holds tens of thousands, and the window that
/// waits for the listing must keep answering. False stops the listing.
using Going = std::function<bool()>;
inline constexpr int kGoingEvery = 256;

/// The entries of that kind of a folder ("." and ".." never) whose names match a
/// wildcard pattern ('*' any run, '?' one character, any letter case; "*.*" and "*" match every name) and the
/// filter, sorted by name case-insensitively (names differing only in case in one fixed order). An error names the
/// folder and the system's reason; a listing `going` stopped fails with Progress::cancelledText().
Result<std::vector<Entry>> list(const std::filesystem::path& folder, const QString& pattern = QStringLiteral("*"),
                                const NameFilter& keep = {}, Kind kind = Kind::Files, const Going& going = {});

/// The paths alone of the files of a folder whose names match the pattern, in the order of list(): no name is
/// decoded for a caller that reads none.
Result<std::vector<std::filesystem::path>> listPaths(const std::filesystem::path& folder,
                                                     const QString& pattern = QStringLiteral("*"));

/// The decoded name of a path's last part, as the listing gives it; never throws.
QString nameOf(const std::filesystem::path& p);

/// The paths of listed entries, in their order.
std::vector<std::filesystem::path> pathsOf(std::vector<Entry>&& entries);

/// The entry of the folder shown under this name (as the listing decodes it): the path to open for a name the
/// operator chose from a list. An exact match of the name's bytes first; nullopt when none.
std::optional<std::filesystem::path> entryNamed(const std::filesystem::path& folder, const QString& name);

} // namespace FolderListing
} // namespace trv

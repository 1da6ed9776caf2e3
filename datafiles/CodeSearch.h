#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>

namespace trv {

class Progress;

// Finding a voucher code in the day data files of a folder: every line that, without the blanks around it,
// equals the code counts once, and names its file once. Files are read as bytes and compared as bytes, a
// buffer at a time, so that a folder of a few hundred thousand files is searched at the pace of the disk.
class CodeSearch {
public:
    struct Hits {
        QStringList files; // one file name per matching line, in folder order
        qint64 count = 0;
        QStringList unreadable; // a sentence per file that could not be read, naming it
    };

    // The day data files of the folder (DayDataFiles::list) searched for `code` as typed. A file that cannot be
    // read does not stop the search: it is named in `unreadable`. The error names a folder that cannot be listed;
    // `progress` is told of every file and may cancel the search, which then fails.
    static Result<Hits> najdi(const std::filesystem::path& folder, const QString& code, Progress* progress = nullptr);

    // The matching lines of one file's bytes (a UTF-8 byte-order mark before the first line is no part of it).
    static qint64 countIn(const QByteArray& bytes, const QByteArray& code);
};

} // namespace trv

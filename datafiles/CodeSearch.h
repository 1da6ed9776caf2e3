#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>

namespace trv {

// Finding a voucher code in the day data files of a folder: every line that, without the blanks around it,
// equals the code counts once, and names its file once. Files are read as bytes and compared as bytes, a
// buffer at a time, so that a folder of a few hundred thousand files is searched at the pace of the disk.
class CodeSearch {
public:
    struct Hits {
        QStringList files; // one file name per matching line, in folder order
        qint64 count = 0;
    };

    // The lowercase ".txt" day data files of the folder (DayDataFiles::list) searched for `code` as typed.
    // The error names the folder or the file that could not be read.
    static Result<Hits> najdi(const std::filesystem::path& folder, const QString& code);

    // The matching lines of one file's bytes.
    static qint64 countIn(const QByteArray& bytes, const QByteArray& code);
};

} // namespace trv

#pragma once

#include "platform/TextFiles.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace trv::fuzz {

// One temporary program folder for the whole run: the readers under test read files, so each input is written
// to a file of the name they expect.
inline const std::filesystem::path& folder() {
    static QTemporaryDir dir;
    static const std::filesystem::path path = TextFiles::toPath(dir.path());
    return path;
}

// A plain write: the program's own whole-file write syncs to disk, which would make every input take a disk's
// round trip.
inline std::filesystem::path writeInput(const char* name, const uint8_t* data, size_t size) {
    const std::filesystem::path file = folder() / name;
    QFile f(TextFiles::toQString(file));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        __builtin_trap(); // the harness itself failed: no point fuzzing on
    return file;
}

} // namespace trv::fuzz

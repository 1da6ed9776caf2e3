#pragma once

#include "platform/TextFiles.h"

#include <QByteArray>
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

inline std::filesystem::path writeInput(const char* name, const uint8_t* data, size_t size) {
    const std::filesystem::path file = folder() / name;
    const Status written =
        TextFiles::writeBytes(file, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!written.ok())
        __builtin_trap(); // the harness itself failed: no point fuzzing on
    return file;
}

} // namespace trv::fuzz

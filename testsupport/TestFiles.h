#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace trv::test {

// Writes the bytes as the file's whole content; the test fails when it cannot be opened.
// The path's own bytes are used, so that a test can name a file in bytes that are not valid UTF-8.
inline void writeFile(const std::filesystem::path& file, const QByteArray& bytes) {
    std::ofstream f(file, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(f.is_open()) << file;
    f.write(bytes.constData(), bytes.size());
}

// The file's raw bytes, "<missing>" when it cannot be read.
inline QByteArray readFile(const std::filesystem::path& file) {
    std::ifstream f(file, std::ios::binary);
    if (!f.is_open())
        return QByteArray("<missing>");
    const std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

// Removes the folder's entries whose names Qt cannot remove by their text (QTemporaryDir would leave them).
inline void removeOddNames(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> odd;
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (QString::fromUtf8(name).toUtf8() != QByteArray::fromStdString(name))
            odd.push_back(it->path());
    }
    for (const auto& p : odd)
        std::filesystem::remove_all(p, ec);
}

} // namespace trv::test

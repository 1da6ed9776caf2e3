#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>

namespace trv::test {

// Writes the bytes as the file's whole content; the test fails when it cannot be opened.
inline void writeFile(const std::filesystem::path& file, const QByteArray& bytes) {
    QFile f(QString::fromStdString(file.string()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The file's raw bytes, "<missing>" when it cannot be read.
inline QByteArray readFile(const std::filesystem::path& file) {
    QFile f(QString::fromStdString(file.string()));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

} // namespace trv::test

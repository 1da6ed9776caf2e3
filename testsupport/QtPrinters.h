#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable Qt values in test failure messages. gtest finds these by argument-dependent lookup, so they live in
// Qt's namespace (the global one unless Qt is built into a namespace of its own).
QT_BEGIN_NAMESPACE

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << "{\n";
    for (const QString& s : l)
        *os << "  \"" << s.toStdString() << "\"\n";
    *os << "}";
}

inline void PrintTo(const QByteArray& b, std::ostream* os) {
    *os << '"' << b.toStdString() << '"';
}

QT_END_NAMESPACE

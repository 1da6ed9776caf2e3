#pragma once

#include <QString>

namespace trv::statement {

// A statement built line by line as the screen shows it: every line ended by CR LF.
class TextLines {
public:
    void line(const QString& text = {}) { m_text += text + QStringLiteral("\r\n"); }
    void emptyLines(int n) {
        for (int i = 0; i < n; ++i)
            line();
    }
    // Text without a line end.
    void text(const QString& text) { m_text += text; }
    const QString& result() const { return m_text; }

private:
    QString m_text;
};

} // namespace trv::statement

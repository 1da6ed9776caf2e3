#pragma once

#include <QString>
#include <QStringView>

namespace trv {

// The code buffer KodBuffer: text the devices delivered and the code processor has not taken yet.
// Received text is added at the end, the processor takes lines from the front; a complete line ends
// with CR LF. Taking from the front and looking for the next line end cost no more than the text
// involved, so a flood of codes or a very long line does not slow reading down.
class CodeBuffer {
public:
    void append(QStringView text);
    // The scanner's bar-code result replaces whatever is waiting.
    void setText(const QString& text);
    void clear();

    // What is waiting, front first. Valid until the buffer changes.
    QStringView text() const { return QStringView(m_data).mid(m_head); }
    qsizetype size() const { return m_data.size() - m_head; }
    bool isEmpty() const { return size() == 0; }

    // Where the first CR LF of text() starts, or -1 when no line is complete yet.
    qsizetype findLineEnd();
    // Where the first CR of text() is, or -1.
    qsizetype indexOfCr() const;
    // Drops the first `count` characters (all when there are fewer).
    void removeFront(qsizetype count);

private:
    QString m_data;
    qsizetype m_head = 0;
    // No CR LF starts before this index of m_data (a search never looks at the same text twice).
    qsizetype m_searched = 0;
};

} // namespace trv

#include "mainwindow/CodeBuffer.h"

#include <algorithm>

namespace trv {

namespace {
// Text taken from the front is given back once it is this long and at least half of the buffer.
constexpr qsizetype kCompactAt = 4096;
} // namespace

void CodeBuffer::append(QStringView text) {
    m_data.append(text);
}

void CodeBuffer::setText(const QString& text) {
    m_data = text;
    m_head = 0;
    m_searched = 0;
}

void CodeBuffer::clear() {
    m_data.clear();
    m_head = 0;
    m_searched = 0;
}

qsizetype CodeBuffer::findLineEnd() {
    qsizetype from = std::max(m_head, m_searched);
    const qsizetype found = m_data.indexOf(QLatin1String("\r\n"), from);
    if (found < 0) {
        // A CR at the very end may still get its LF with the next chunk.
        m_searched = std::max(m_head, m_data.size() - 1);
        return -1;
    }
    m_searched = found;
    return found - m_head;
}

qsizetype CodeBuffer::indexOfCr() const {
    const qsizetype found = m_data.indexOf(QLatin1Char('\r'), m_head);
    return found < 0 ? -1 : found - m_head;
}

void CodeBuffer::removeFront(qsizetype count) {
    if (count <= 0)
        return;
    if (count >= size()) {
        clear();
        return;
    }
    m_head += count;
    if (m_head >= kCompactAt && m_head * 2 >= m_data.size()) {
        m_data.remove(0, m_head);
        m_searched = std::max<qsizetype>(0, m_searched - m_head);
        m_head = 0;
    }
}

} // namespace trv

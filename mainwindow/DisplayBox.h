#pragma once

#include "mainwindow/CodeShapes.h"

#include <QObject>
#include <QString>

namespace trv {

class CColStrav;

// The text of the display box rtbStrav: every line received in the current receipt, each ended by CR LF,
// exactly as it came from the reader. It is what is saved as the day data file, so the window shows this
// text and never keeps one of its own.
class DisplayBox final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DisplayBox)

public:
    explicit DisplayBox(QObject* parent = nullptr);
    ~DisplayBox() override;

    const QString& text() const { return m_text; }
    // Adds received text at the end (the window appends the same chunk; the caret goes to the end).
    void append(const QString& chunk);
    void setText(const QString& text);
    void clear() { setText(QString()); }

    // ObnovZobrazeni: the codes held in memory, every type in collection order, one per line.
    void ObnovZobrazeni(const CColStrav& types);

    // OpravRadky, the end-of-receipt line repair: a line that holds several codes run together (their line
    // ends were lost) is cut into those codes, NOREAD texts among them are taken out, and empty lines are
    // removed. A line that is one code, or that is not wholly made of codes, stays as it is. Stray CR and LF
    // characters end lines; every line is written back with CR LF. True when the text changed, so that the
    // caller's "repeat while True" ends after the second pass.
    bool OpravRadky(const CodeShapes& shapes);

    // VyhodDuplRadky: of equal lines only the first stays, in its place; the other lines keep their order.
    // Empty lines are left where they are.
    void VyhodDuplRadky();

Q_SIGNALS:
    // Text was added at the end.
    void appended(const QString& chunk);
    // The whole text was replaced.
    void replaced();

private:
    QString m_text;
};

} // namespace trv

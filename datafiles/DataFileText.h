#pragma once

#include "platform/Result.h"
#include "platform/TextCodec.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <vector>

namespace trv {

class Progress;

// A day data file as the editor holds it: the bytes as read and where each line starts, so that a file of
// hundreds of megabytes opens in one pass over its bytes and is shown a line at a time; lines the operator
// changes are kept beside the bytes. The lines are what a plain-text view shows: split at LF (a CR before it
// belongs to the line end), the part after the last line end is the last line (empty after a final newline).
class DataFileText {
public:
    DataFileText() = default;

    // Reads the file; `progress` is told of the bytes read and may cancel, which then fails with
    // Progress::cancelledText() (the reading stops within one piece of the file).
    static Result<DataFileText> load(const std::filesystem::path& file, Progress* progress = nullptr);

    // An edit of the lines as a view of them hears of it: `count` lines from `row` changed, inserted or removed.
    struct Edit {
        enum Kind { Changed, Inserted, Removed } kind;
        qsizetype row;
        qsizetype count;
    };

    qsizetype lineCount() const { return qsizetype(m_lines.size()); }
    QString line(qsizetype i) const;
    // About how many bytes line i takes in UTF-8 (exactly, for a line of digits), without reading its text: what a
    // copy of millions of lines reserves at once.
    qsizetype utf8SizeHint(qsizetype i) const;
    // The whole text, lines joined by "\n".
    QString text() const;
    TextEncoding encoding() const { return m_encoding; }
    // Whether a save would write anything but the bytes read: the lines are not the lines read, each with its
    // text (a line typed back to its old text is the old line again, and so are lines brought back by an undo).
    bool isModified() const;

    void setLine(qsizetype i, const QString& text);
    void insertLine(qsizetype at, const QString& text);
    void insertLines(qsizetype at, const QStringList& texts);
    void removeLines(qsizetype at, qsizetype count);

    // The edits from here to the next call are one change, undone together (a split is a line changed and one
    // inserted). Edits made before any call are a change of their own.
    void startChange();
    bool canUndo() const;
    // Undoes the last change, its edits in reverse order. Each edit goes through `around` with a function that
    // makes it, so that a view announces it before and after. Lines removed come back as they were read: the
    // change kept where they are in the bytes read, not their text.
    void undo(const std::function<void(const Edit& edit, const std::function<void()>& make)>& around);

    // What a save writes: the bytes as read when nothing was changed; otherwise the byte-order mark the file
    // had, then the lines in the file's encoding each ended by CR LF but the last (the lines not changed keep
    // their bytes).
    QByteArray bytes() const;
    // Writes bytes() to the file through a temporary file.
    Status save(const std::filesystem::path& file) const;

private:
    qsizetype lineEnd(qint64 start) const; // where the line starting at `start` ends, before CR LF or LF
    QString decode(qint64 from, qint64 to) const;
    QByteArray encode(const QString& text) const;

    QByteArray m_raw;
    qint64 m_bodyStart = 0; // after the byte-order mark
    TextEncoding m_encoding = TextEncoding::Windows1250;
    struct Changed {
        QString text;
        qint64 original = -1; // the start of the line it replaces in m_raw; -1 for an added line
    };
    // A line's start in m_raw, or -1 - its index in m_changed for a line the operator wrote.
    std::vector<qint64> m_lines;
    std::vector<Changed> m_changed; // only ever grows: a change to undo may name any of them
    qsizetype m_linesRead = 0;

    // One edit as it was made; undone, it is made the other way round.
    struct Done {
        Edit::Kind kind;
        qsizetype row;
        qsizetype count;            // of lines inserted
        std::vector<qint64> before; // the entries of m_lines the edit replaced or removed
    };
    std::vector<std::vector<Done>> m_changes;
    void done(Done d);
};

} // namespace trv

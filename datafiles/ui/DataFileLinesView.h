#pragma once

#include <QListView>

#include <functional>
#include <utility>
#include <vector>

namespace trv {

class DataFileText;

// The editor's view of a day data file, a line per row, so that only the rows on screen are ever laid out
// however long the file. It edits as a plain-text box does: typing on a line (or Enter, F2, a double click)
// edits it, Enter splits the line at the cursor, Backspace at the start of a line joins it to the line above
// and Delete at its end the line below to it, Up and Down move to the next line keeping the column, Escape
// ends a line's edit keeping what was typed, a paste of several lines makes lines of them, Copy takes every
// selected line. Outside an edit, Delete removes the selected lines, and so does Backspace over several; Cut
// copies and removes them; a key typed or a paste over several lines replaces them by a line of its own. Undo
// takes back the changes to the lines one by one, the last first.
class DataFileLinesView final : public QListView {
public:
    explicit DataFileLinesView(QWidget* parent = nullptr);
    using QListView::edit;
    ~DataFileLinesView() override;

    // Shows `text` (owned by the caller, which keeps it alive while shown); `changed` is called on every change.
    void setText(DataFileText* text, std::function<void()> changed);

    // Replaces line `row` by `before` and inserts `after` below it, then edits that line from its start.
    void splitLine(int row, const QString& before, const QString& after);
    // Puts line `row` (as typed) at the end of the line above and removes it, then edits there.
    void joinWithPrevious(int row, const QString& typed);
    // Puts the line below at the end of line `row` (as typed) and removes it, then edits there.
    void joinWithNext(int row, const QString& typed);
    // Keeps line `row` as typed and edits line `to` at column `column`.
    void moveEdit(int row, const QString& typed, int to, int column);
    // Keeps line `row` as typed and ends its edit.
    void keepLine(int row, const QString& typed);
    // Line `row` as typed with the line breaks a paste brought (the paste ending at `cursor`): the text is split at
    // CR LF, LF and CR, the first piece stays on the line, each further piece becomes a line below it, and the edit
    // goes on in the last piece where the paste ended.
    void splitPasted(int row, const QString& typed, int cursor);
    // Puts the selected lines on the clipboard in their order, CR LF between them; the current line when none is
    // selected.
    void copySelected() const;
    // Takes back the last change to the lines (a line typed, a split or join, a paste, lines removed or cut) and
    // selects what it brought back.
    void undo();

    // Keeps what is typed in a line being edited (before a save or a close).
    void commitEdit();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Model;
    class Delegate;
    void editAt(int row, int column);
    // The selected rows as runs of neighbours, [first, last], top to bottom; the current row when none is selected.
    std::vector<std::pair<int, int>> selectedRuns() const;
    bool severalSelected() const;
    void removeSelected();
    // Removes the selected lines and puts one empty line in their place; returns its row.
    int replaceSelected();

    std::function<void()> m_changed;
    Model* m_model;
    Delegate* m_delegate;
};

} // namespace trv

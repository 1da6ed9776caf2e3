#include "datafiles/ui/DataFileLinesView.h"

#include "datafiles/DataFileText.h"

#include <QAbstractListModel>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QRegularExpression>
#include <QStyledItemDelegate>

#include <algorithm>
#include <functional>

namespace trv {

class DataFileLinesView::Model final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setText(DataFileText* text, std::function<void()> changed) {
        beginResetModel();
        m_text = text;
        m_changed = std::move(changed);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || m_text == nullptr ? 0 : int(m_text->lineCount());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (m_text == nullptr || !index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        return m_text->line(index.row());
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (m_text == nullptr || !index.isValid() || role != Qt::EditRole)
            return false;
        // A line typed and left is a change of its own.
        startChange();
        setLine(index.row(), value.toString());
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
    }

    void setLine(int row, const QString& line) {
        if (m_text->line(row) == line)
            return;
        m_text->setLine(row, line);
        emit dataChanged(index(row), index(row));
        m_changed();
    }

    void insertLine(int row, const QString& line) { insertLines(row, QStringList{line}); }

    void insertLines(int row, const QStringList& lines) {
        if (lines.isEmpty())
            return;
        beginInsertRows({}, row, row + int(lines.size()) - 1);
        m_text->insertLines(row, lines);
        endInsertRows();
        m_changed();
    }

    void removeLines(int row, int count) {
        const bool all = count == rowCount();
        beginRemoveRows({}, row, row + count - 1);
        m_text->removeLines(row, count);
        endRemoveRows();
        if (all) { // the text keeps its one empty line
            beginInsertRows({}, 0, 0);
            endInsertRows();
        }
        m_changed();
    }

    QString line(int row) const { return m_text->line(row); }
    qsizetype utf8SizeHint(int row) const { return m_text->utf8SizeHint(row); }

    void startChange() { m_text->startChange(); }
    bool canUndo() const { return m_text != nullptr && m_text->canUndo(); }

    // Undoes the last change, telling the rows of each edit as it is made; `edited` hears of each after it.
    void undo(const std::function<void(const DataFileText::Edit&)>& edited) {
        m_text->undo([&](const DataFileText::Edit& edit, const std::function<void()>& make) {
            const int first = int(edit.row);
            const int last = int(edit.row + edit.count - 1);
            switch (edit.kind) {
            case DataFileText::Edit::Changed:
                make();
                emit dataChanged(index(first), index(last));
                break;
            case DataFileText::Edit::Inserted:
                beginInsertRows({}, first, last);
                make();
                endInsertRows();
                break;
            case DataFileText::Edit::Removed:
                beginRemoveRows({}, first, last);
                make();
                endRemoveRows();
                break;
            }
            edited(edit);
        });
        m_changed();
    }

private:
    DataFileText* m_text = nullptr;
    std::function<void()> m_changed;
};

class DataFileLinesView::Delegate final : public QStyledItemDelegate {
public:
    explicit Delegate(DataFileLinesView* view) : QStyledItemDelegate(view), m_view(view) {}

    int nextColumn = -1; // where the cursor stands in the next editor; at the end when -1
    QPointer<QWidget> open; // the editor of the line being edited

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        const_cast<Delegate*>(this)->open = editor;
        // A key typed into a line is a change already, before the line is left.
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            connect(line, &QLineEdit::textEdited, m_view, [view = m_view, line](const QString& typed) {
                if (view->m_changed)
                    view->m_changed();
                // A paste of several lines: they become lines of the file, not line breaks inside one line.
                if (typed.contains(u'\n') || typed.contains(u'\r')) {
                    const int row = view->currentIndex().row();
                    const int cursor = line->cursorPosition();
                    emit view->m_delegate->closeEditor(line, QAbstractItemDelegate::NoHint);
                    view->splitPasted(row, typed, cursor);
                }
            });
        return editor;
    }

    void commitOpen() {
        if (QWidget* editor = open; editor != nullptr && editor->isVisible()) {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QLineEdit*>(object);
        if (editor == nullptr || event->type() != QEvent::KeyPress)
            return QStyledItemDelegate::eventFilter(object, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const int row = m_view->currentIndex().row();
        const int rows = m_view->model()->rowCount();
        const QString typed = editor->text();
        const int cursor = editor->cursorPosition();
        const bool plain = !editor->hasSelectedText() && key->modifiers() == Qt::NoModifier;
        std::function<void()> then;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            then = [=, this] { m_view->splitLine(row, typed.left(cursor), typed.mid(cursor)); };
            break;
        case Qt::Key_Backspace:
            if (plain && cursor == 0 && row > 0)
                then = [=, this] { m_view->joinWithPrevious(row, typed); };
            break;
        case Qt::Key_Delete:
            if (plain && cursor == typed.size() && row + 1 < rows)
                then = [=, this] { m_view->joinWithNext(row, typed); };
            break;
        case Qt::Key_Up:
            if (row > 0)
                then = [=, this] { m_view->moveEdit(row, typed, row - 1, cursor); };
            break;
        case Qt::Key_Down:
            if (row + 1 < rows)
                then = [=, this] { m_view->moveEdit(row, typed, row + 1, cursor); };
            break;
        case Qt::Key_Escape:
            // Ends the typing and keeps it, as a text box does; the window's Escape then asks about the change.
            then = [=, this] { m_view->keepLine(row, typed); };
            break;
        default:
            break;
        }
        // Undo takes back the typing on the line first; with none left, the change to the lines before it.
        if (key->matches(QKeySequence::Undo) && !editor->isUndoAvailable() && m_view->m_model->canUndo())
            then = [=, this] {
                m_view->keepLine(row, typed);
                m_view->undo();
            };
        if (!then)
            return QStyledItemDelegate::eventFilter(object, event);
        // The line's text goes to the file through `then`, not through the editor's own commit.
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        then();
        return true;
    }

private:
    DataFileLinesView* m_view;
};

DataFileLinesView::DataFileLinesView(QWidget* parent)
    : QListView(parent), m_model(new Model(this)), m_delegate(new Delegate(this)) {
    // Every row has the one height of a line: the view places rows by arithmetic, never by measuring each.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setItemDelegate(m_delegate);
    setModel(m_model);
}

DataFileLinesView::~DataFileLinesView() = default;

void DataFileLinesView::setText(DataFileText* text, std::function<void()> changed) {
    m_changed = changed;
    m_model->setText(text, std::move(changed));
    setCurrentIndex(m_model->index(0));
}

void DataFileLinesView::commitEdit() {
    m_delegate->commitOpen();
}

void DataFileLinesView::editAt(int row, int column) {
    const QModelIndex index = m_model->index(row);
    setCurrentIndex(index);
    m_delegate->nextColumn = column;
    edit(index);
    m_delegate->nextColumn = -1;
}

void DataFileLinesView::splitLine(int row, const QString& before, const QString& after) {
    m_model->startChange();
    m_model->setLine(row, before);
    m_model->insertLine(row + 1, after);
    editAt(row + 1, 0);
}

void DataFileLinesView::joinWithPrevious(int row, const QString& typed) {
    m_model->startChange();
    const QString above = m_model->line(row - 1);
    m_model->setLine(row - 1, above + typed);
    m_model->removeLines(row, 1);
    editAt(row - 1, int(above.size()));
}

void DataFileLinesView::joinWithNext(int row, const QString& typed) {
    m_model->startChange();
    m_model->setLine(row, typed + m_model->line(row + 1));
    m_model->removeLines(row + 1, 1);
    editAt(row, int(typed.size()));
}

void DataFileLinesView::moveEdit(int row, const QString& typed, int to, int column) {
    m_model->startChange();
    m_model->setLine(row, typed);
    editAt(to, column);
}

void DataFileLinesView::keepLine(int row, const QString& typed) {
    m_model->startChange();
    m_model->setLine(row, typed);
}

void DataFileLinesView::splitPasted(int row, const QString& typed, int cursor) {
    m_model->startChange();
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList pieces = typed.split(lineBreak);
    // What stood after the cursor holds no line break: the paste ended in the last piece, before that text.
    const int column = int(pieces.last().size() - (typed.size() - cursor));
    m_model->setLine(row, pieces.takeFirst());
    m_model->insertLines(row + 1, pieces);
    editAt(row + int(pieces.size()), column);
}

std::vector<std::pair<int, int>> DataFileLinesView::selectedRuns() const {
    // The ranges, never the indexes: a select-all of a file of millions of lines is one range.
    QList<QItemSelectionRange> ranges = selectionModel()->selection();
    std::vector<std::pair<int, int>> runs;
    if (ranges.isEmpty()) {
        if (currentIndex().isValid())
            runs.emplace_back(currentIndex().row(), currentIndex().row());
        return runs;
    }
    std::sort(ranges.begin(), ranges.end(),
              [](const QItemSelectionRange& a, const QItemSelectionRange& b) { return a.top() < b.top(); });
    for (const QItemSelectionRange& range : ranges) {
        if (!runs.empty() && range.top() <= runs.back().second + 1) // ranges may overlap or touch
            runs.back().second = std::max(runs.back().second, range.bottom());
        else
            runs.emplace_back(range.top(), range.bottom());
    }
    return runs;
}

bool DataFileLinesView::severalSelected() const {
    const auto runs = selectedRuns();
    return runs.size() > 1 || (runs.size() == 1 && runs.front().second > runs.front().first);
}

void DataFileLinesView::copySelected() const {
    // As UTF-8 bytes, which the clipboard turns into text when it is asked for text: half the memory of the
    // text itself, which counts when every line of a file of 180 MB is copied.
    const auto runs = selectedRuns();
    // Reserved at once: a buffer grown step by step holds its old and new block together at each step.
    qsizetype size = 0;
    for (const auto& [top, bottom] : runs)
        for (int row = top; row <= bottom; ++row)
            size += m_model->utf8SizeHint(row) + 2;
    QByteArray bytes;
    bytes.reserve(size);
    bool first = true;
    for (const auto& [top, bottom] : runs) {
        for (int row = top; row <= bottom; ++row) {
            if (!first)
                bytes.append("\r\n");
            first = false;
            bytes.append(m_model->line(row).toUtf8());
        }
    }
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("text/plain"), bytes);
    QGuiApplication::clipboard()->setMimeData(mime);
}

void DataFileLinesView::removeSelected() {
    const auto runs = selectedRuns();
    if (runs.empty())
        return;
    m_model->startChange();
    // From the bottom up: the rows of the runs above stay where they are.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run)
        m_model->removeLines(run->first, run->second - run->first + 1);
    setCurrentIndex(m_model->index(std::min(runs.front().first, m_model->rowCount() - 1)));
}

int DataFileLinesView::replaceSelected() {
    const auto runs = selectedRuns();
    qsizetype selected = 0;
    for (const auto& [top, bottom] : runs)
        selected += bottom - top + 1;
    const bool all = selected == m_model->rowCount();
    removeSelected();
    const int row = all ? 0 : runs.front().first;
    // With every line gone the text keeps its one empty line: the typing goes there.
    if (!all)
        m_model->insertLine(row, QString());
    setCurrentIndex(m_model->index(row));
    return row;
}

void DataFileLinesView::undo() {
    if (!m_model->canUndo())
        return;
    QItemSelection restored;
    int row = 0;
    m_model->undo([&](const DataFileText::Edit& edit) {
        row = int(edit.row);
        if (edit.kind == DataFileText::Edit::Inserted)
            restored.merge(QItemSelection(m_model->index(row), m_model->index(int(edit.row + edit.count - 1))),
                           QItemSelectionModel::Select);
    });
    if (!restored.isEmpty())
        row = std::min_element(restored.begin(), restored.end(), [](const auto& a, const auto& b) {
                  return a.top() < b.top();
              })->top();
    const QModelIndex current = m_model->index(std::min(row, m_model->rowCount() - 1));
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    selectionModel()->select(restored.isEmpty() ? QItemSelection(current, current) : restored,
                             QItemSelectionModel::ClearAndSelect);
    scrollTo(current);
}

bool DataFileLinesView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // A key typed on a line opens its editor and then goes to it, after the cursor is placed: typing on a line
    // adds to it, as in a text box, and never replaces the line.
    const bool typed = trigger == QAbstractItemView::AnyKeyPressed && event != nullptr &&
                       event->type() == QEvent::KeyPress;
    QModelIndex at = index;
    // Over several lines, what is typed replaces them, as in a text box; a key that types nothing (Backspace)
    // does not.
    if (const QString keyText = typed ? static_cast<QKeyEvent*>(event)->text() : QString();
        !keyText.isEmpty() && keyText.front().isPrint() && severalSelected())
        at = m_model->index(replaceSelected());
    if (!QListView::edit(at, typed ? QAbstractItemView::EditKeyPressed : trigger, typed ? nullptr : event))
        return false;
    if (auto* line = qobject_cast<QLineEdit*>(m_delegate->open.data())) {
        line->deselect();
        const int column = m_delegate->nextColumn;
        line->setCursorPosition(column >= 0 ? std::min(column, int(line->text().size())) : int(line->text().size()));
        if (typed)
            QCoreApplication::sendEvent(line, event);
    }
    return true;
}

void DataFileLinesView::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState && currentIndex().isValid()) {
        if (event->matches(QKeySequence::Undo)) {
            undo();
            return;
        }
        // Copy takes every selected line, CR LF between them, as a text box copies its selection; Cut then
        // removes them.
        if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut)) {
            copySelected();
            if (event->matches(QKeySequence::Cut))
                removeSelected();
            return;
        }
        // A paste goes where a typed key goes: at the end of the current line, or in place of several.
        if (event->matches(QKeySequence::Paste)) {
            if (const QMimeData* pasted = QGuiApplication::clipboard()->mimeData();
                pasted != nullptr && pasted->hasText() && severalSelected())
                replaceSelected();
            editAt(currentIndex().row(), -1);
            if (auto* line = qobject_cast<QLineEdit*>(m_delegate->open.data()))
                line->paste();
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            editAt(currentIndex().row(), -1);
            return;
        }
        if (event->key() == Qt::Key_Delete || (event->key() == Qt::Key_Backspace && severalSelected())) {
            removeSelected();
            return;
        }
    }
    QListView::keyPressEvent(event);
}

} // namespace trv

#pragma once

#include <QPlainTextDocumentLayout>
#include <QPointer>

class QPlainTextEdit;

namespace trv {

// The layout of a plain text box that grows at its end, a few lines at a time.
//
// QPlainTextDocumentLayout repaints only the changed lines when one line is added at the end without a line
// end; text that ends with a line end, or several lines at once, repaints the whole visible box (every line
// shaped and drawn again). A reader's tick adds exactly that. Here an addition at the end repaints the lines it
// changed - no more of them than the box can show - and tells the new size as the base does; every other change
// goes to the base unchanged.
class AppendingTextLayout final : public QPlainTextDocumentLayout {
    Q_OBJECT

public:
    // Gives `box` a new document laid out by this layout, without an undo history (the box only shows what
    // came); the document belongs to the box.
    static AppendingTextLayout* install(QPlainTextEdit& box);

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    AppendingTextLayout(QTextDocument* document, QPlainTextEdit& box);
    // Lines the box shows at most: an added line below them is not on screen.
    int visibleLines() const;

    QPointer<QPlainTextEdit> m_box;
};

} // namespace trv

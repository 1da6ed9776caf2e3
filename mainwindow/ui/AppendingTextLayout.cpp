#include "mainwindow/ui/AppendingTextLayout.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace trv {

AppendingTextLayout::AppendingTextLayout(QTextDocument* document, QPlainTextEdit& box)
    : QPlainTextDocumentLayout(document), m_box(&box) {}

AppendingTextLayout* AppendingTextLayout::install(QPlainTextEdit& box) {
    auto* document = new QTextDocument(&box);
    // As the box sets up a document of its own.
    document->setDefaultFont(box.font());
    document->setDocumentMargin(box.document()->documentMargin());
    document->setDefaultTextOption(box.document()->defaultTextOption());
    // Nothing typed here is undone: received text would only pile up in the undo history.
    document->setUndoRedoEnabled(false);
    auto* layout = new AppendingTextLayout(document, box);
    layout->setPaintDevice(box.viewport());
    document->setDocumentLayout(layout);
    box.setDocument(document);
    return layout;
}

int AppendingTextLayout::visibleLines() const {
    if (!m_box)
        return 0;
    const int spacing = std::max(1, QFontMetrics(document()->defaultFont()).lineSpacing());
    return m_box->viewport()->height() / spacing + 2;
}

void AppendingTextLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
    QTextDocument* doc = document();
    const QTextBlock first = doc->findBlock(from);
    // Text added at the very end (before the document's closing paragraph mark) that holds a line end.
    const bool addedLines = charsRemoved == 0 && charsAdded > 0 && from + charsAdded == doc->characterCount() - 1 &&
                            first.isValid() && first != doc->lastBlock();
    if (!addedLines) {
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
        return;
    }
    {
        // The base keeps its line count and widths; its repaint of the whole box is not passed on.
        const QSignalBlocker quiet(this);
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
    }
    Q_EMIT documentSizeChanged(documentSize());
    int lines = visibleLines();
    for (QTextBlock block = first; block.isValid() && lines > 0; block = block.next(), --lines)
        Q_EMIT updateBlock(block);
}

} // namespace trv

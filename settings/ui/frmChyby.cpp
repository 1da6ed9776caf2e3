#include "settings/ui/frmChyby.h"

#include "ui_frmChyby.h"

#include <QCloseEvent>
#include <QScreen>
#include <QStyle>
#include <QTextCursor>

namespace trv {

frmChyby::frmChyby(QWidget* owner) : QWidget(owner, Qt::Window), m_ui(std::make_unique<Ui::frmChyby>()) {
    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    connect(m_ui->btnSmaz, &QPushButton::clicked, this, &frmChyby::btnSmaz_Click);
    connect(m_ui->btnZavri, &QPushButton::clicked, this, &frmChyby::btnZavri_Click);
    placeBesideOwner();
}

void frmChyby::placeBesideOwner() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner || !owner->isVisible() || !owner->screen())
        return;
    // The frame the window system adds around a window is taken to be the owner's.
    const QRect ownerFrame = owner->frameGeometry();
    const QPoint inset = owner->geometry().topLeft() - ownerFrame.topLeft();
    const QSize frame = ownerFrame.size() - owner->geometry().size();
    const QRect place =
        placement(owner->screen()->availableGeometry(), ownerFrame, size() + frame, minimumSizeHint() + frame);
    setGeometry(QRect(place.topLeft() + inset, place.size() - frame));
}

frmChyby::~frmChyby() = default;

void frmChyby::PridejChybu(const QString& text) {
    // A cursor of our own, so the operator's caret and selection stay where they are.
    QTextCursor end(m_ui->rtb->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text + QLatin1Char('\n'));
}

QRect frmChyby::placement(const QRect& screen, const QRect& owner, const QSize& usual, const QSize& smallest) {
    // The strips of the screen to the right of, below, to the left of and above the owner.
    const QRect strips[] = {
        QRect(QPoint(owner.right() + 1, screen.top()), screen.bottomRight()),
        QRect(QPoint(screen.left(), owner.bottom() + 1), screen.bottomRight()),
        QRect(screen.topLeft(), QPoint(owner.left() - 1, screen.bottom())),
        QRect(screen.topLeft(), QPoint(screen.right(), owner.top() - 1)),
    };
    const QRect* best = nullptr;
    for (const QRect& strip : strips) {
        const QRect free = strip.intersected(screen);
        if (free.width() < smallest.width() || free.height() < smallest.height())
            continue;
        if (!best ||
            free.width() * free.height() > best->intersected(screen).width() * best->intersected(screen).height())
            best = &strip;
    }
    if (best) {
        const QRect free = best->intersected(screen);
        // Beside the owner: level with its top, or its left edge, where the strip allows.
        QRect placed(free.topLeft(), usual.boundedTo(free.size()));
        if (free.top() < owner.top() && owner.top() + placed.height() - 1 <= free.bottom())
            placed.moveTop(owner.top());
        if (free.left() < owner.left() && owner.left() + placed.width() - 1 <= free.right())
            placed.moveLeft(owner.left());
        return placed;
    }
    // No room beside the owner: its lower right corner, away from the menus on its left.
    QRect placed(QPoint(), usual.boundedTo(screen.size()));
    placed.moveBottomRight(owner.intersected(screen).bottomRight());
    return placed;
}

void frmChyby::closeEvent(QCloseEvent* event) {
    emit closed();
    QWidget::closeEvent(event);
}

void frmChyby::btnSmaz_Click() {
    m_ui->rtb->clear();
}

void frmChyby::btnZavri_Click() {
    close();
}

} // namespace trv

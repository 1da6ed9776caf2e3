#include "mainwindow/ui/VerticalMenu.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace trv {

VerticalMenu::VerticalMenu(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("heading"));
    m_heading->setAlignment(Qt::AlignCenter);
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    layout->addWidget(m_heading);

    for (int item = 1; item <= kItemCount; ++item) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("item%1").arg(item));
        button->setMinimumHeight(48);
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, item] { Q_EMIT ItemClick(item); });
        m_items[static_cast<size_t>(item - 1)] = button;
    }
    layout->addStretch(1);
}

VerticalMenu::~VerticalMenu() = default;

void VerticalMenu::setHeading(const QString& text) {
    m_heading->setText(text);
}

QString VerticalMenu::heading() const {
    return m_heading->text();
}

void VerticalMenu::setItemCaption(int item, const QString& caption) {
    if (QPushButton* button = itemButton(item))
        button->setText(caption);
}

QString VerticalMenu::itemCaption(int item) const {
    const QPushButton* button = itemButton(item);
    return button ? button->text() : QString();
}

QPushButton* VerticalMenu::itemButton(int item) const {
    if (item < 1 || item > kItemCount)
        return nullptr;
    return m_items[static_cast<size_t>(item - 1)];
}

} // namespace trv

#pragma once

#include <QFrame>
#include <QString>

#include <array>

class QLabel;
class QPushButton;

namespace trv {

// A column of action buttons under a heading: the main window's two action panels. Items are addressed
// by their number, 1 to 6, as the operator's manual counts them; a click reports that number.
// The heading is the child "heading", the items are the children "item1" to "item6".
class VerticalMenu final : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VerticalMenu)

public:
    static constexpr int kItemCount = 6;

    explicit VerticalMenu(QWidget* parent = nullptr);
    ~VerticalMenu() override;

    void setHeading(const QString& text);
    QString heading() const;

    // Out-of-range item numbers are ignored (captions) or give null / the empty text.
    void setItemCaption(int item, const QString& caption);
    QString itemCaption(int item) const;
    QPushButton* itemButton(int item) const;

Q_SIGNALS:
    void ItemClick(int item);

private:
    QLabel* m_heading = nullptr;
    std::array<QPushButton*, kItemCount> m_items{};
};

} // namespace trv

#pragma once

#include <QWidget>

#include <memory>

namespace trv {

namespace Ui {
class frmChyby;
}

// Collects the messages of rejected codes while reading goes on, one line each, in place of a
// message box per code. Kept only on screen. Closing the window deletes it; the owner drops its
// reference on closed().
class frmChyby final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmChyby)

public:
    explicit frmChyby(QWidget* owner = nullptr);
    ~frmChyby() override;

    // Appends at the end of the list whatever the operator has selected or where the caret is.
    void PridejChybu(const QString& text);

    // Where the window opens: in the largest free strip of the screen beside its owner, filling it up to the
    // window's usual size, so that it covers none of the owner's controls; over the owner's lower right corner
    // only when no strip is large enough.
    static QRect placement(const QRect& screen, const QRect& owner, const QSize& usual, const QSize& smallest);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void placeBesideOwner();
    void btnSmaz_Click();
    void btnZavri_Click();

    std::unique_ptr<Ui::frmChyby> m_ui;
};

} // namespace trv

#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace trv {

namespace Ui {
class dlgNextPackage;
}

// Asks at a package boundary what comes next. It only records the answer; the caller saves,
// discards or closes the package. exec() returns the same value as Result().
class dlgNextPackage final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(dlgNextPackage)

public:
    enum Answer : qint16 {
        Closed = 0,         // closed by the window frame or Escape
        NextPackage = 1,    // OKButton
        CancelPackage = 2,  // CancelButton
        EndPackaging = 3,   // btnEnd
    };

    // printPackageStatement shows the statement of the current package; without it the print
    // button is disabled.
    explicit dlgNextPackage(std::function<void()> printPackageStatement = {}, QWidget* parent = nullptr);
    ~dlgNextPackage() override;

    qint16 Result() const { return m_Result; }

    void setCaption(const QString& caption);
    void setOKButtonCaption(const QString& caption);

private:
    void OKButton_Click();
    void CancelButton_Click();
    void btnEnd_Click();
    void cmbPrint_Click();
    void answer(Answer a);

    std::unique_ptr<Ui::dlgNextPackage> m_ui;
    std::function<void()> m_printPackageStatement;
    qint16 m_Result = Closed;
};

} // namespace trv

#include "receipt/ui/dlgNextPackage.h"

#include "ui_dlgNextPackage.h"

namespace trv {

dlgNextPackage::dlgNextPackage(std::function<void()> printPackageStatement, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::dlgNextPackage>()),
      m_printPackageStatement(std::move(printPackageStatement)) {
    m_ui->setupUi(this);
    m_ui->cmbPrint->setEnabled(bool(m_printPackageStatement));
    connect(m_ui->OKButton, &QPushButton::clicked, this, &dlgNextPackage::OKButton_Click);
    connect(m_ui->CancelButton, &QPushButton::clicked, this, &dlgNextPackage::CancelButton_Click);
    connect(m_ui->btnEnd, &QPushButton::clicked, this, &dlgNextPackage::btnEnd_Click);
    connect(m_ui->cmbPrint, &QPushButton::clicked, this, &dlgNextPackage::cmbPrint_Click);
}

dlgNextPackage::~dlgNextPackage() = default;

void dlgNextPackage::setCaption(const QString& caption) {
    setWindowTitle(caption);
}

void dlgNextPackage::setOKButtonCaption(const QString& caption) {
    m_ui->OKButton->setText(caption);
}

void dlgNextPackage::OKButton_Click() {
    answer(NextPackage);
}

void dlgNextPackage::CancelButton_Click() {
    answer(CancelPackage);
}

void dlgNextPackage::btnEnd_Click() {
    answer(EndPackaging);
}

void dlgNextPackage::cmbPrint_Click() {
    if (m_printPackageStatement) {
        m_printPackageStatement();
    }
}

void dlgNextPackage::answer(Answer a) {
    m_Result = a;
    done(a);
}

} // namespace trv

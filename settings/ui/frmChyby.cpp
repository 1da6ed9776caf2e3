#include "settings/ui/frmChyby.h"

#include "ui_frmChyby.h"

#include <QCloseEvent>
#include <QStyle>
#include <QTextCursor>

namespace trv {

frmChyby::frmChyby(QWidget* owner) : QWidget(owner, Qt::Window), m_ui(std::make_unique<Ui::frmChyby>()) {
    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    connect(m_ui->btnSmaz, &QPushButton::clicked, this, &frmChyby::btnSmaz_Click);
    connect(m_ui->btnZavri, &QPushButton::clicked, this, &frmChyby::btnZavri_Click);
}

frmChyby::~frmChyby() = default;

void frmChyby::PridejChybu(const QString& text) {
    // A cursor of our own, so the operator's caret and selection stay where they are.
    QTextCursor end(m_ui->rtb->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text + QLatin1Char('\n'));
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

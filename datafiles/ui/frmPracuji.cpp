#include "datafiles/ui/frmPracuji.h"

#include "core/ConfigAccess.h"
#include "ui_frmPracuji.h"

namespace trv {

frmPracuji::frmPracuji(const Config& config, const QString& message, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::frmPracuji>()) {
    m_ui->setupUi(this);
    m_ui->Label1->setText(message);
    setWindowTitle(config.DejText(QStringLiteral("frmPracuji"), QStringLiteral("Caption")));
}

frmPracuji::~frmPracuji() = default;

} // namespace trv

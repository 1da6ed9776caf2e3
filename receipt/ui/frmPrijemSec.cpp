#include "receipt/ui/frmPrijemSec.h"

#include "core/AppState.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/ui/ControlText.h"
#include "receipt/ui/frmZakaznik.h"
#include "ui_frmPrijemSec.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QSignalBlocker>

#include <exception>
#include <utility>

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmPrijemSec");

} // namespace

frmPrijemSec::frmPrijemSec(AppState& state, Prompts& prompts, const Clock& clock, ReceiptHost& host, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmPrijemSec>()), m_state(state), m_prompts(prompts), m_clock(clock),
      m_start(state, prompts, clock, host), m_numbering(state, prompts, clock, host) {
    m_ui->setupUi(this);
    connect(m_ui->btnPrijem, &QPushButton::clicked, this, &frmPrijemSec::btnPrijem_Click);
    connect(m_ui->btnVen, &QPushButton::clicked, this, &frmPrijemSec::btnVen_Click);
    connect(m_ui->chkSorting, &QCheckBox::clicked, this, &frmPrijemSec::chkSorting_Click);
    connect(m_ui->cmbTypSeku, &QComboBox::activated, this, &frmPrijemSec::cmbTypSeku_Click);
    connect(m_ui->optNovy, &QRadioButton::toggled, this, &frmPrijemSec::optNovy_Click);
    connect(m_ui->optPrid, &QRadioButton::toggled, this, &frmPrijemSec::optPrid_Click);
    connect(m_ui->optBarC, &QRadioButton::toggled, this, &frmPrijemSec::optBarC_Click);
    connect(m_ui->txtSoubor, &QLineEdit::textChanged, this, &frmPrijemSec::txtSoubor_Change);
    connect(m_ui->listDataS, &QListWidget::itemSelectionChanged, this, &frmPrijemSec::listDataS_Click);
    connect(m_ui->flbDataS, &QListWidget::itemSelectionChanged, this, &frmPrijemSec::flbDataS_Click);
    connect(m_ui->cmbTypStravBalik, &QComboBox::activated, this, &frmPrijemSec::cmbTypStravBalik_Click);
    connect(m_ui->UpDownBalik, &QSpinBox::valueChanged, this, &frmPrijemSec::UpDownBalik_Change);
    connect(m_ui->UpDownTyden, &QSpinBox::valueChanged, this, &frmPrijemSec::UpDownTyden_Change);
    m_ui->txtSM->installEventFilter(this);
    m_ui->txtIdentObalky->installEventFilter(this);
    Form_Load();
}

frmPrijemSec::~frmPrijemSec() = default;

int frmPrijemSec::exec() {
    if (!m_loaded)
        return QDialog::Rejected;
    return QDialog::exec();
}

QDate frmPrijemSec::VypocitejPerioduDelvity(const QDate& today) {
    const QDate date = SmReceiptStart::VypocitejPerioduDelvity(today, m_state.sw.gFDatumOdvodu);
    m_ui->dtDek->setDate(date);
    return date;
}

void frmPrijemSec::Form_Load() {
    const CustomerSwitches& sw = m_state.sw;
    Result<SmReceiptStart::View> loaded = Error{};
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        loaded = m_start.load();
    } catch (const std::exception& e) {
        loaded = Error{0, QString::fromLocal8Bit(e.what())};
    }
    QGuiApplication::restoreOverrideCursor();
    if (!loaded.ok()) {
        m_prompts.error(m_start.loadFailureText(loaded.error()));
        return;
    }
    const SmReceiptStart::View& view = loaded.value();

    if (sw.gF33) {
        m_ui->chkSorting->setVisible(true);
        m_ui->chkSorting->setChecked(true);
        enableSortingControls(false);
    }
    m_ui->txtSoubor->setMaxLength(view.datumMaxLength);
    m_ui->txtSoubor->setText(view.datum);
    m_ui->txtSM->setText(view.sm);
    m_datumPriNacteni = view.datumPriNacteni;
    if (!view.folderExists)
        m_prompts.error(m_start.missingFolderText(view.folder));
    m_ui->cmbTypSeku->addItem(m_start.text("Stravenky"));
    m_ui->cmbTypSeku->setCurrentIndex(0);
    for (auto it = view.files.crbegin(); it != view.files.crend(); ++it)
        m_ui->flbDataS->addItem(*it);
    m_ui->listDataS->addItems(view.files);
    fileChoice().showList(false);

    if (sw.gFVycBezData) {
        m_ui->Label7->setVisible(false);
        m_ui->dtDek->setVisible(false);
    }
    if (sw.gFDatumOdvodu) {
        m_ui->Label7->setVisible(true);
        m_ui->dtDek->setVisible(true);
    }
    m_ui->dtDek->setDate(view.dtDek);
    if (sw.gF17) {
        m_ui->txtOperator->setText(view.operator_);
        m_ui->txtPoradi->setText(view.poradi);
    }

    if (sw.gFBalikyTyden) {
        m_ui->txtBalik->setText(view.balik);
        m_ui->txtTyden->setText(view.tyden);
        for (QWidget* w : std::initializer_list<QWidget*>{
                 m_ui->cmbTypStravBalik, m_ui->lblNastavBalik, m_ui->txtBalikSpol, m_ui->UpDownBalik, m_ui->txtBalik,
                 m_ui->lblBalik, m_ui->lblBalikOdd, m_ui->lblTyden, m_ui->txtTyden, m_ui->UpDownTyden})
            w->setVisible(true);
        m_ui->cmbTypStravBalik->addItems(view.typyBaliku);
        m_ui->cmbTypStravBalik->setCurrentIndex(-1);
        // The week spinner starts at the stored week, so that its first click moves from the week shown.
        const QSignalBlocker blocker(m_ui->UpDownTyden);
        m_ui->UpDownTyden->setValue(std::clamp(m_state.gMaxVycetkaTyden, 1, 9));
        m_tydenSpinner = m_ui->UpDownTyden->value();
    }
    if (sw.gFBalicky) {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 m_ui->lblTypSeku, m_ui->cmbTypSeku, m_ui->Label1, m_ui->Label4, m_ui->Label6, m_ui->lblPodtr1,
                 m_ui->lblPodtr2, m_ui->lblPodtr3, m_ui->txtSM, m_ui->txtOperator, m_ui->txtPoradi, m_ui->txtBalik})
            w->setEnabled(false);
    }
    if (sw.gFZakaznik) {
        frmZakaznik customers(m_state, m_prompts, this);
        customers.exec();
        m_ui->txtSM->setText(m_state.gZakCislo);
    }
    if (sw.gFDepo) {
        m_ui->Label7->setVisible(false);
        m_ui->dtDek->setVisible(false);
        m_ui->optBarC->setVisible(false);
        for (QWidget* w :
             std::initializer_list<QWidget*>{m_ui->lblDepo, m_ui->txtDepo, m_ui->lblIdentObalky, m_ui->txtIdentObalky})
            w->setVisible(true);
        m_ui->txtDepo->setText(view.depo);
        m_ui->txtOperator->setText(view.operator_);
        // Enter in the envelope box starts the receipt instead.
        m_ui->btnPrijem->setDefault(false);
        m_ui->btnPrijem->setAutoDefault(false);
    }
    setTexts();
    if (sw.gFOperator) {
        m_ui->txtOperator->setText(view.operator_);
        m_ui->txtOperator->setEnabled(false);
    }
    optNovy_Click(m_ui->optNovy->isChecked());
    m_loaded = true;
}

void frmPrijemSec::setTexts() {
    const Config& config = m_state.config;
    setWindowTitle(config.DejText(kSection, QStringLiteral("Caption")));
    const std::vector<std::pair<QWidget*, const char*>> captions{
        {m_ui->lblTypSeku, "TypSeku"},       {m_ui->chkSorting, "RezimTrid"},
        {m_ui->optNovy, "NovySoub"},         {m_ui->Label1, "SM"},
        {m_ui->Label4, "Operator"},          {m_ui->Label6, "Poradi"},
        {m_ui->lblBalik, "Balik"},           {m_ui->lblTyden, "Tyden"},
        {m_ui->Label7, "DatOdvodu"},         {m_ui->lblIdentObalky, "IdentObalky"},
        {m_ui->lblNastavBalik, "NastBalik"}, {m_ui->lblDepo, "Depo"},
        {m_ui->optBarC, "NactBarc"},         {m_ui->optPrid, "PridDoExist"},
        {m_ui->btnPrijem, "btnPrijem"},      {m_ui->btnVen, "btnVen"}};
    for (const auto& [w, key] : captions) {
        setControlText(w, config.DejText(kSection, QString::fromLatin1(key)));
    }
    m_ui->btnPrijem->setToolTip(config.DejText(kSection, QStringLiteral("btnPrijemTip")));
    m_ui->btnVen->setToolTip(config.DejText(kSection, QStringLiteral("btnVenTip")));
}

void frmPrijemSec::enableSortingControls(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_ui->lblTypSeku, m_ui->cmbTypSeku,     m_ui->optNovy,        m_ui->txtSoubor,        m_ui->Label1,
             m_ui->txtSM,      m_ui->txtOperator,    m_ui->txtPoradi,      m_ui->txtBalik,         m_ui->txtTyden,
             m_ui->dtDek,      m_ui->txtIdentObalky, m_ui->lblNastavBalik, m_ui->cmbTypStravBalik, m_ui->txtBalikSpol,
             m_ui->txtDepo,    m_ui->optBarC,        m_ui->optPrid,        m_ui->listDataS,        m_ui->Label4,
             m_ui->Label6,     m_ui->Label7})
        w->setEnabled(enabled);
}

ReceiptFileChoice frmPrijemSec::fileChoice() const {
    return {m_ui->optNovy, m_ui->txtSoubor, m_ui->flbDataS, m_ui->listDataS, m_ui->btnPrijem};
}

bool frmPrijemSec::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && m_state.sw.gFDepo) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_ui->txtSM) {
                m_ui->txtIdentObalky->setFocus();
                return true;
            }
            if (watched == m_ui->txtIdentObalky) {
                btnPrijem_Click();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmPrijemSec::chkSorting_Click(bool checked) {
    m_start.sortingMode(checked);
    enableSortingControls(!checked);
}

void frmPrijemSec::cmbTypSeku_Click(int index) {
    if (m_ui->cmbTypSeku->itemText(index) == QStringLiteral("Faktura"))
        m_ui->txtSoubor->setText(m_datumPriNacteni);
}

bool frmPrijemSec::startAppend(const QString& fileName, const ReceiptRecord::Ids& ids) {
    if (!m_loaded)
        return false;
    // Its rows of the tickets table carry the ids it started with: the same ones again, or a save would add its
    // codes a second time under other ids.
    if (m_state.sw.gFDepo) {
        const std::pair<QLineEdit*, QString> boxes[] = {
            {m_ui->txtDepo, ids.depo}, {m_ui->txtIdentObalky, ids.identObalky}, {m_ui->txtSM, ids.identFa}};
        for (const auto& [box, value] : boxes)
            if (!value.isEmpty())
                box->setText(value);
    }
    if (!fileChoice().selectFile(fileName))
        return false;
    // Sorting mode reads into no file: the append needs it off, as the operator would untick it.
    if (m_ui->chkSorting->isChecked()) {
        m_ui->chkSorting->setChecked(false);
        chkSorting_Click(false);
    }
    m_ui->optPrid->setChecked(true);
    // Not shown yet: a result set by the start says it ended the dialog.
    setResult(-1);
    btnPrijem_Click();
    return result() != -1;
}

void frmPrijemSec::optNovy_Click(bool checked) {
    if (!checked)
        return;
    m_ui->listDataS->clearSelection();
    fileChoice().chooseNew();
}

void frmPrijemSec::optPrid_Click(bool checked) {
    if (checked)
        fileChoice().chooseAppend();
}

void frmPrijemSec::optBarC_Click(bool checked) {
    if (checked)
        fileChoice().chooseBarcode();
}

void frmPrijemSec::txtSoubor_Change() {
    fileChoice().fileTextChanged();
}

void frmPrijemSec::listDataS_Click() {
    if (!m_ui->listDataS->selectedItems().isEmpty())
        m_ui->btnPrijem->setEnabled(true);
}

void frmPrijemSec::flbDataS_Click() {
    if (!m_ui->flbDataS->selectedItems().isEmpty())
        m_ui->btnPrijem->setEnabled(true);
}

void frmPrijemSec::cmbTypStravBalik_Click(int index) {
    const QString digit = PackageNumbering::balikTypu(m_ui->txtBalik->text(), index);
    m_ui->txtBalikSpol->setText(digit);
    const QSignalBlocker blocker(m_ui->UpDownBalik);
    m_ui->UpDownBalik->setValue(std::clamp(digit.toInt(), 1, 9));
    m_balikSpinner = m_ui->UpDownBalik->value();
}

void frmPrijemSec::UpDownBalik_Change(int value) {
    const bool up = value > m_balikSpinner;
    m_balikSpinner = value;
    const int index = m_ui->cmbTypStravBalik->currentIndex();
    if (index < 0)
        return;
    m_ui->txtBalikSpol->setText(QString::number(value));
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const Result<QString> balik = m_numbering.zmenBalik(m_ui->txtBalik->text(), index, value, up);
    QGuiApplication::restoreOverrideCursor();
    if (!balik.ok()) {
        m_prompts.error(balik.message());
        return;
    }
    m_ui->txtBalik->setText(balik.value());
}

void frmPrijemSec::UpDownTyden_Change(int value) {
    const bool up = value > m_tydenSpinner;
    m_tydenSpinner = value;
    const auto changed = m_numbering.zmenTyden(value, up);
    if (!changed.ok()) {
        m_prompts.error(changed.message());
        return;
    }
    if (!changed.value()) {
        // The operator kept the week: the spinner goes back to it, so that its next click starts from there.
        const QSignalBlocker blocker(m_ui->UpDownTyden);
        m_tydenSpinner = std::clamp(m_state.gMaxVycetkaTyden, 1, 9);
        m_ui->UpDownTyden->setValue(m_tydenSpinner);
        return;
    }
    m_ui->txtBalik->setText(changed.value()->balik);
    m_ui->txtTyden->setText(QString::number(changed.value()->tyden));
    if (changed.value()->tyden != value) {
        const QSignalBlocker blocker(m_ui->UpDownTyden);
        m_ui->UpDownTyden->setValue(changed.value()->tyden);
        m_tydenSpinner = changed.value()->tyden;
    }
}

SmReceiptInput frmPrijemSec::input() const {
    SmReceiptInput in;
    if (m_ui->optBarC->isChecked())
        in.mode = SmReceiptInput::Mode::Barcode;
    else if (m_ui->optPrid->isChecked())
        in.mode = SmReceiptInput::Mode::Append;
    else if (m_ui->optNovy->isChecked())
        in.mode = SmReceiptInput::Mode::NewFile;
    else
        in.mode = SmReceiptInput::Mode::None;
    in.sorting = m_ui->chkSorting->isChecked();
    in.soubor = m_ui->txtSoubor->text();
    in.sm = m_ui->txtSM->text();
    in.operator_ = m_ui->txtOperator->text();
    in.poradi = m_ui->txtPoradi->text();
    in.balik = m_ui->txtBalik->text();
    in.tyden = m_ui->txtTyden->text();
    in.dtDek = m_ui->dtDek->date();
    in.depo = m_ui->txtDepo->text();
    in.identObalky = m_ui->txtIdentObalky->text();
    in.typSeku = m_ui->cmbTypSeku->currentText();
    const QList<QListWidgetItem*> chosen = m_ui->listDataS->selectedItems();
    if (!chosen.isEmpty())
        in.chosenFile = chosen.front()->text();
    return in;
}

void frmPrijemSec::btnPrijem_Click() {
    SmReceiptStart::Outcome outcome;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        outcome = m_start.start(input());
    } catch (const std::exception& e) {
        outcome.kind = SmReceiptStart::Outcome::Kind::Failed;
        outcome.message = m_start.loadFailureText(Error{0, QString::fromLocal8Bit(e.what())});
    }
    QGuiApplication::restoreOverrideCursor();

    switch (outcome.kind) {
    case SmReceiptStart::Outcome::Kind::Started:
        accept();
        return;
    case SmReceiptStart::Outcome::Kind::Closed:
        reject();
        return;
    case SmReceiptStart::Outcome::Kind::Refused:
        m_prompts.message(outcome.message, Prompts::Buttons::Ok, outcome.icon);
        if (outcome.focusPoradi) {
            m_ui->txtPoradi->setFocus();
            m_ui->txtPoradi->selectAll();
        }
        return;
    case SmReceiptStart::Outcome::Kind::Failed:
        m_prompts.error(outcome.message);
        reject();
        return;
    }
}

void frmPrijemSec::btnVen_Click() {
    reject();
}

} // namespace trv

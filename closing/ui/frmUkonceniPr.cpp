#include "closing/ui/frmUkonceniPr.h"

#include "closing/ui/ClosingWidgets.h"
#include "core/AppState.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

#include "ui_frmUkonceniPr.h"

#include <QApplication>

namespace trv {

namespace {
const QString kSection = QStringLiteral("frmUkonceniPr");
}

frmUkonceniPr::frmUkonceniPr(AppState& state, ReceiptInfo& receipt, Prompts& prompts, const Clock& clock,
                             Printer& printer, ClosingHooks hooks, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmUkonceniPr>()), m_state(state), m_prompts(prompts), m_hooks(hooks),
      m_logika(state, receipt, prompts, clock, printer, std::move(hooks)) {
    m_ui->setupUi(this);
    closingui::setupStatementBox(m_ui->rtbTextSouc);
    connect(m_ui->cmbStrav, &QComboBox::currentIndexChanged, this, &frmUkonceniPr::cmbStrav_Click);
    connect(m_ui->btnNoRead, &QPushButton::clicked, this, &frmUkonceniPr::btnNoRead_Click);
    connect(m_ui->btnHlTady, &QPushButton::clicked, this, &frmUkonceniPr::btnHlTady_Click);
    connect(m_ui->btnHlVse, &QPushButton::clicked, this, &frmUkonceniPr::btnHlVse_Click);
    connect(m_ui->btnSmazObs, &QPushButton::clicked, this, &frmUkonceniPr::btnSmazObs_Click);
    connect(m_ui->btnTiskSou, &QPushButton::clicked, this, &frmUkonceniPr::btnTiskSou_Click);
    connect(m_ui->cmbTiskVyc, &QPushButton::clicked, this, &frmUkonceniPr::cmbTiskVyc_Click);
    connect(m_ui->cmdExportSpol, &QPushButton::clicked, this, &frmUkonceniPr::cmdExportSpol_Click);
    connect(m_ui->btnVen, &QPushButton::clicked, this, &frmUkonceniPr::btnVen_Click);
    connect(m_ui->btnUloz, &QPushButton::clicked, this, &frmUkonceniPr::btnUloz_Click);
    connect(m_ui->btnAS400, &QPushButton::clicked, this, &frmUkonceniPr::btnAS400_Click);
    // The neighbouring windows are opened only where they exist.
    m_ui->btnHlVse->setEnabled(bool(m_hooks.otevriHledaniDuplicit));
    m_ui->cmdExportSpol->setEnabled(bool(m_hooks.otevriSouhrnObdobi));
}

frmUkonceniPr::~frmUkonceniPr() = default;

void frmUkonceniPr::Otevri(const std::filesystem::path& dayFile) {
    if (!Form_Load(dayFile))
        return;
    if (!m_logika.receiptInfo().gTrideni)
        exec();
}

bool frmUkonceniPr::Form_Load(const std::filesystem::path& dayFile) {
    const Config& config = m_state.config;
    const QString caption = closingui::languageText(config, kSection, QStringLiteral("Caption"));
    if (!caption.trimmed().isEmpty())
        setWindowTitle(caption);
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_ui->Label1, m_ui->lblStrav, m_ui->Frame3, m_ui->cmbTiskVyc, m_ui->btnUloz,
                                         m_ui->btnAS400, m_ui->btnSmazObs, m_ui->btnNoRead, m_ui->Frame2,
                                         m_ui->btnTiskSou, m_ui->Frame4, m_ui->btnHlTady, m_ui->btnHlVse, m_ui->btnVen})
        closingui::setCaption(control, config, kSection);

    m_logika.setDenniSoubor(dayFile);
    naplnCmbStrav();

    const bool zakaznik = m_state.sw.gFZakaznik;
    for (QWidget* control : std::initializer_list<QWidget*>{m_ui->btnUloz, m_ui->btnAS400, m_ui->btnSmazObs,
                                                            m_ui->btnNoRead, m_ui->Frame4, m_ui->Frame2, m_ui->lblPocNR,
                                                            m_ui->btnHlTady, m_ui->btnHlVse, m_ui->btnTiskSou})
        control->setVisible(!zakaznik);
    m_ui->cmbTiskVyc->setVisible(zakaznik);

    const bool autoRemove = m_state.gAutoDupl == QLatin1String("True");
    m_ui->lblPocNR->setText(QString::number(m_logika.pocetNoRead()));
    m_ui->lblEdit->setText(TextFiles::toQString(dayFile));
    m_logika.souctyBaliku();
    if (autoRemove) {
        if (const auto status = m_logika.vyhodNoreadPriNacteni())
            m_ui->staBar->showMessage(*status);
    }
    zobrazVycetku();

    if (m_state.gAS400) {
        m_ui->btnUloz->setEnabled(false);
        m_ui->btnAS400->setEnabled(true);
    }
    // Enter presses the main action only: the save (the export in AS400 mode, the save and print in customer
    // mode), never the button that happens to have the focus.
    QPushButton* hlavni = zakaznik ? m_ui->cmbTiskVyc : m_state.gAS400 ? m_ui->btnAS400 : m_ui->btnUloz;
    hlavni->setDefault(true);
    if (m_state.gSafeBag) {
        m_ui->btnUloz->setEnabled(false);
        const QString zavriText =
            closingui::languageText(config, QStringLiteral("FrmAbout"), QStringLiteral("btnZavri"));
        if (!zavriText.trimmed().isEmpty())
            m_ui->btnVen->setText(zavriText);
        m_ui->cmdExportSpol->setVisible(true);
        if (!m_logika.ulozSafeBag()) {
            zavri(Konec::Chyba);
            return false;
        }
    }
    return true;
}

void frmUkonceniPr::naplnCmbStrav() {
    closingui::fillCompanies(m_ui->cmbStrav, m_logika.polozkyVyberu());
    const QSignalBlocker blocker(m_ui->cmbStrav);
    m_ui->cmbStrav->setCurrentIndex(0);
}

StatementChoice frmUkonceniPr::volba() const {
    return m_logika.volba(m_ui->cmbStrav->currentIndex());
}

void frmUkonceniPr::zobrazVycetku() {
    const auto text = m_logika.vycetka(volba());
    if (!text.ok()) {
        m_ui->rtbTextSouc->clear();
        m_prompts.error(text.message());
        return;
    }
    closingui::showStatement(m_ui->rtbTextSouc, text.value());
}

void frmUkonceniPr::zavri(Konec konec) {
    m_konec = konec;
    // Only a receipt that was saved, exported or discarded on purpose has ended; every other close leaves it
    // running with its codes.
    const bool ended = konec == Konec::Ulozeno || konec == Konec::Vytisteno || konec == Konec::As400 ||
                       konec == Konec::Storno || (konec == Konec::Zavreno && m_state.gSafeBag);
    done(ended ? QDialog::Accepted : QDialog::Rejected);
}

void frmUkonceniPr::reject() {
    // Escape and the close box: the receipt is not saved, but it is not lost either (it keeps running).
    // In safe-bag mode the list written at load holds the receipt, so closing ends it.
    if (!m_state.gSafeBag && !m_logika.potvrdOdchod(UkonceniPrijmu::Odchod::Zavrit))
        return;
    zavri(Konec::Zavreno);
}

void frmUkonceniPr::done(int r) {
    if (!m_unloaded) {
        m_unloaded = true;
        if (m_konec == Konec::Otevreno)
            m_konec = Konec::Zavreno;
        // The main window's receipt box and file label belong to a receipt that still runs unless it ended.
        if (r == QDialog::Accepted)
            m_logika.zavreno();
    }
    QDialog::done(r);
}

void frmUkonceniPr::cmbStrav_Click() {
    zobrazVycetku();
}

void frmUkonceniPr::btnNoRead_Click() {
    if (const auto status = m_logika.vyhodNoread())
        m_ui->staBar->showMessage(*status);
    else
        m_prompts.info(m_logika.odstraneniVypnuto());
}

void frmUkonceniPr::btnHlTady_Click() {
    const auto status = m_logika.vyhodNoreadPriNacteni();
    if (status)
        m_ui->staBar->showMessage(*status);
    zobrazVycetku();
    // A button that removes nothing because of a setting says which setting, rather than nothing at all.
    if (!status)
        m_prompts.info(m_logika.odstraneniVypnuto());
}

void frmUkonceniPr::btnHlVse_Click() {
    if (m_hooks.otevriHledaniDuplicit)
        m_hooks.otevriHledaniDuplicit();
}

void frmUkonceniPr::btnSmazObs_Click() {
    if (!m_logika.potvrdOdchod(UkonceniPrijmu::Odchod::SmazatObsah))
        return;
    m_logika.smazObsah();
    zobrazVycetku();
}

void frmUkonceniPr::btnTiskSou_Click() {
    m_logika.tiskSouctu(volba());
}

void frmUkonceniPr::cmbTiskVyc_Click() {
    if (m_logika.ulozATiskni([this](int entry) { m_ui->cmbStrav->setCurrentIndex(entry); }))
        zavri(Konec::Vytisteno);
}

void frmUkonceniPr::cmdExportSpol_Click() {
    if (m_hooks.otevriSouhrnObdobi)
        m_hooks.otevriSouhrnObdobi();
}

void frmUkonceniPr::btnVen_Click() {
    if (!m_state.gSafeBag && !m_logika.potvrdOdchod(UkonceniPrijmu::Odchod::Storno))
        return;
    m_logika.storno();
    zavri(Konec::Storno);
}

void frmUkonceniPr::btnUloz_Click() {
    if (m_logika.uloz())
        zavri(Konec::Ulozeno);
}

void frmUkonceniPr::btnAS400_Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Status exported = m_logika.exportAS400();
    QApplication::restoreOverrideCursor();
    if (!exported.ok()) {
        m_prompts.error(m_logika.chybaAS400(exported.error()));
        return;
    }
    zavri(Konec::As400);
}

} // namespace trv

#include "periods/ui/frmSoucVycObd.h"

#include "exports/CompanyExportDispatch.h"
#include "exports/ExportContext.h"
#include "exports/SmExports.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "periods/ui/DateField.h"
#include "periods/ui/SummaryWidgets.h"
#include "platform/Clock.h"
#include "platform/Printer.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"
#include "platform/ui/ProgressWindow.h"
#include "reports/PeriodPrint.h"
#include "reports/SmReports.h"
#include "summaries/PeriodFileOps.h"
#include "summaries/PeriodLoader.h"
#include "summaries/PeriodResult.h"

#include "ui_frmSoucVycObd.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextDocument>

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmSoucVycObd");
// The first line of the pane after a load that failed.
const QString kNespocteno = QStringLiteral("Načtení období se nezdařilo, období není spočteno.");

// The hourglass while an operation runs, the normal pointer again however it ends.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

frmSoucVycObd::frmSoucVycObd(const PeriodServices& services, Hooks hooks, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmSoucVycObd>()), m_services(services), m_hooks(std::move(hooks)) {
    m_ui->setupUi(this);
    periodsui::setupResultBox(m_ui->rtbVyc);
    periodsui::setupDateField(m_ui->dt1, m_ui->Label1, m_services.prompts);
    periodsui::setupDateField(m_ui->dt2, m_ui->Label2, m_services.prompts);
    periodsui::setupDateField(m_ui->dtDek, m_ui->Label5, m_services.prompts);
    connect(m_ui->cmdVyp, &QPushButton::clicked, this, &frmSoucVycObd::cmdVyp_Click);
    connect(m_ui->cmbDuplicity, &QPushButton::clicked, this, &frmSoucVycObd::cmbDuplicity_Click);
    connect(m_ui->cmdSaveTicketsAs, &QPushButton::clicked, this, &frmSoucVycObd::cmdSaveTicketsAs_Click);
    connect(m_ui->cmdEnd, &QPushButton::clicked, this, &frmSoucVycObd::cmdEnd_Click);
    connect(m_ui->cmdExport, &QPushButton::clicked, this, &frmSoucVycObd::cmdExport_Click);
    connect(m_ui->cmdExportDel, &QPushButton::clicked, this, &frmSoucVycObd::cmdExportDel_Click);
    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &frmSoucVycObd::cmdPrint_Click);
    connect(m_ui->cmdPrintSM, &QPushButton::clicked, this, &frmSoucVycObd::cmdPrintSM_Click);
    connect(m_ui->cmbZobrPrehleduSm, &QPushButton::clicked, this, &frmSoucVycObd::cmbZobrPrehleduSm_Click);
    connect(m_ui->cmbStrav, &QComboBox::activated, this, &frmSoucVycObd::cmbStrav_Click);
    connect(m_ui->chkGroupByDay, &QCheckBox::clicked, this, &frmSoucVycObd::chkGroupByDay_Click);
    connect(m_ui->chkNespojovatSM, &QCheckBox::clicked, this, &frmSoucVycObd::chkNespojovatSM_Click);
    connect(m_ui->balikUpDown, &QSpinBox::valueChanged, this, &frmSoucVycObd::balikUpDown_Change);
    connect(m_ui->tydenUpDown, &QSpinBox::valueChanged, this, &frmSoucVycObd::tydenUpDown_Change);
    connect(m_ui->UpDPoradi, &QSpinBox::valueChanged, this, &frmSoucVycObd::UpDPoradi_Change);
    connect(m_ui->UpDMesic, &QSpinBox::valueChanged, this, &frmSoucVycObd::UpDMesic_Change);
    connect(m_ui->UpDRok, &QSpinBox::valueChanged, this, &frmSoucVycObd::UpDRok_Change);
    Form_Load();
}

frmSoucVycObd::~frmSoucVycObd() = default;

void frmSoucVycObd::Form_Load() {
    const AppState& app = m_services.state;
    const PeriodWindowSetup setup = nastaveniObdobi(app, m_services.clock.today());
    m_ui->dt1->setDate(setup.dt1);
    m_ui->dt2->setDate(setup.dt2);
    m_ui->dtDek->setDate(setup.dtDek);

    const PeriodLoader loader(m_services);
    auto col = loader.novaKolekce(app.sw.gFSkupiny);
    if (col.ok())
        m_stav.m_col = std::move(col).value();
    else
        m_services.prompts.error(col.message());
    naplnCmbStrav();
    m_stav.m_obdobiNacteno = false;

    for (const auto& [name, control] : setup.controls) {
        if (auto* widget = findChild<QWidget*>(name)) {
            widget->setVisible(control.visible);
            widget->setEnabled(control.enabled);
        }
    }
    m_ui->tiskTypOd->setText(setup.tiskTypOd);
    m_ui->tiskTypDo->setText(setup.tiskTypDo);
    if (app.sw.gFExportCBA) {
        m_ui->txtPoradiDavky->setText(setup.txtPoradiDavky);
        m_ui->txtMesic->setText(setup.txtMesic);
        m_ui->txtRok->setText(setup.txtRok);
        m_ui->lblExpFile->setText(setup.lblExpFile);
    }
    const QString caption = app.config.DejText(kSection, QStringLiteral("Caption"));
    if (!caption.trimmed().isEmpty())
        setWindowTitle(caption);
    for (const QString& name : popiskyObdobi()) {
        if (auto* widget = findChild<QWidget*>(name))
            periodsui::setCaption(widget, app.config, kSection);
    }
    // The day files of cash-desk mode carry the cash desk where statement files carry the operator: the box is
    // labelled for what it filters.
    if (!app.sw.gFVycetky)
        m_ui->Label4->setText(QStringLiteral("Pokladní:"));

    m_ui->cmdExportDel->setEnabled(m_hooks.shell != nullptr);
    setExportEnabled(false);
}

void frmSoucVycObd::naplnCmbStrav() {
    if (!m_stav.m_col.types)
        return;
    periodsui::fillTypes(m_ui->cmbStrav, typeEntries(*m_stav.m_col.types, m_services.state.config.DejText(
                                                                              kSection, QStringLiteral("Vsechny"))));
    cmbStrav_Click();
}

void frmSoucVycObd::setExportEnabled(bool enabled) {
    m_ui->cmdExport->setEnabled(enabled && m_hooks.shell != nullptr);
}

void frmSoucVycObd::cmdExport_Click() {
    if (odmitnutoPoChybe())
        return;
    ExportContext ctx{m_services.state, m_services.prompts, *m_hooks.shell, m_services.clock};
    // The export reads the computed period's codes as code objects; no period computed, no collection, and the
    // export says so.
    const CColStrav* period = nullptr;
    if (m_stav.m_obdobiNacteno && m_stav.m_col.types) {
        naplnPolozky(m_stav.m_col);
        period = m_stav.m_col.types.get();
    }
    const BusyCursor busy;
    (void)cmdExport(ctx, period, ExportTypeChoice{m_ui->cmbStrav->currentText(), m_ui->cmbStrav->currentData().toInt()},
                    m_ui->dt1->date(), m_ui->dt2->date());
}

void frmSoucVycObd::cmdExportDel_Click() {
    if (odmitnutoPoChybe())
        return;
    const BusyCursor busy;
    // The exports read the period's statement files themselves: the files read show, and a cancel writes nothing.
    ProgressWindow progress(this, windowTitle());
    progress.showBusy();
    ExportContext ctx{m_services.state, m_services.prompts, *m_hooks.shell, m_services.clock, &progress};
    PeriodExportRequest request;
    request.period = SmSumsRequest{m_ui->dt1->date(), m_ui->dt2->date(), m_ui->txtSM->text(),
                                   m_ui->optDatumVyc->isChecked(), m_ui->chkNespojovatSM->isChecked()};
    request.dtDek = m_ui->dtDek->date();
    request.txtCD = m_ui->txtCD->text();
    request.txtPoznOper = m_ui->txtPoznOper->text();
    request.txtPoradiDavky = m_ui->txtPoradiDavky->text();
    request.txtMesic = m_ui->txtMesic->text();
    request.txtRok = m_ui->txtRok->text();
    request.lblExpFile = m_ui->lblExpFile->text();
    (void)cmdExportDel(ctx, request);
}

PeriodChoice frmSoucVycObd::volba() const {
    PeriodChoice c;
    c.datumOd = m_ui->dt1->date();
    c.datumDo = m_ui->dt2->date();
    c.sm = m_ui->txtSM->text();
    c.oper = m_ui->txtOper->text();
    c.balik = m_ui->chkBalik->isChecked();
    c.txtBalik = m_ui->txtBalik->text().trimmed();
    c.txtTyden = m_ui->txtTyden->text().trimmed();
    c.datumVyc = m_ui->optDatumVyc->isChecked();
    return c;
}

bool frmSoucVycObd::nactiHodinky(const std::function<Status(PeriodLoader&, ProgressWindow&)>& operation) {
    Status done;
    {
        const BusyCursor busy;
        setExportEnabled(false);
        ProgressWindow progress(this, windowTitle());
        PeriodLoader loader(sPrubehem(progress));
        done = operation(loader, progress);
    }
    if (!done.ok()) {
        // The pane no longer shows a period that was computed before: it says what failed; nor does the status
        // bar keep the sums of that period.
        periodsui::showText(m_ui->rtbVyc, kNespocteno + QStringLiteral("\r\n") + done.message());
        if (m_services.state.sw.gFBalikyTyden && m_hooks.zobrazSoucty)
            m_hooks.zobrazSoucty(QString());
        m_services.prompts.error(done.message());
        return false;
    }
    // Only its first line is read: the pane may hold a long listing.
    if (m_ui->rtbVyc->document()->firstBlock().text().startsWith(kNespocteno))
        m_ui->rtbVyc->clear();
    cmbStrav_Click();
    return true;
}

void frmSoucVycObd::OtevriPDF(const std::filesystem::path& file) {
    if (m_hooks.shell)
        (void)m_hooks.shell->openDocument(file);
}

PeriodServices frmSoucVycObd::sPrubehem(Progress& progress) const {
    PeriodServices services = m_services;
    services.progress = &progress;
    return services;
}

bool frmSoucVycObd::odmitnutoPoChybe() {
    if (m_stav.m_chybaNacteni.isEmpty())
        return false;
    m_services.prompts.error(
        QStringLiteral("Období není spočteno, protože se jeho načtení nezdařilo:\r\n%1\r\nSpusťte nejprve výpočet.")
            .arg(m_stav.m_chybaNacteni));
    return true;
}

void frmSoucVycObd::zobrazVysledek() {
    const AppState& app = m_services.state;
    QString text;
    if (app.sw.gFSkupiny && app.gColStrav) {
        text = zobrazVysledekSkupin(app, m_stav.m_col, m_stav.gColStrav2, *app.gColStrav, m_ui->cmbStrav->currentText(),
                                    m_ui->txtSM->text(), m_ui->txtOper->text());
    } else {
        text = trv::zobrazVysledek(app, m_stav.m_col, m_stav.gColStrav2, periodsui::chosenTypes(m_ui->cmbStrav),
                                   m_ui->txtSM->text(), m_ui->txtOper->text());
    }
    periodsui::showText(m_ui->rtbVyc, text);
}

void frmSoucVycObd::cmdVyp_Click() {
    const PeriodChoice choice = volba();
    if (choice.balik && m_services.state.sw.gFBalikyTyden) {
        m_ui->txtBalik->setText(choice.txtBalik);
        m_ui->txtTyden->setText(choice.txtTyden);
    }
    QString sums;
    if (!nactiHodinky([&](PeriodLoader& loader, ProgressWindow&) { return loader.vypocet(m_stav, choice, &sums); }))
        return;
    if (m_services.state.sw.gFBalikyTyden && m_hooks.zobrazSoucty)
        m_hooks.zobrazSoucty(sums);
    zobrazVysledek();
}

void frmSoucVycObd::cmbDuplicity_Click() {
    const PeriodChoice choice = volba();
    QString sums;
    QString logProblem;
    if (!nactiHodinky([&](PeriodLoader& loader, ProgressWindow&) {
            return loader.duplicity(m_stav, choice, &sums, &logProblem);
        }))
        return;
    if (m_services.state.sw.gFBalikyTyden && m_hooks.zobrazSoucty)
        m_hooks.zobrazSoucty(sums);
    periodsui::showText(m_ui->rtbVyc, vypisDuplicit(m_services.state, m_stav.m_col));
    if (!logProblem.isEmpty())
        m_services.prompts.error(logProblem);
}

SmReportChoice frmSoucVycObd::volbaSM() const {
    SmReportChoice c;
    c.dt1 = m_ui->dt1->date();
    c.dt2 = m_ui->dt2->date();
    c.dtDek = m_ui->dtDek->date();
    c.sm = m_ui->txtSM->text();
    c.oper = m_ui->txtOper->text();
    c.datumVyc = m_ui->optDatumVyc->isChecked();
    c.groupByDay = m_ui->chkGroupByDay->isChecked();
    c.nespojovat = m_ui->chkNespojovatSM->isChecked();
    c.typOd = m_ui->tiskTypOd->text();
    c.typDo = m_ui->tiskTypDo->text();
    c.fontName = m_ui->rtbVyc->font().family();
    return c;
}

Printer& frmSoucVycObd::tiskarna() {
    if (m_hooks.printer)
        return *m_hooks.printer;
    if (!m_ownPrinter)
        m_ownPrinter = std::make_unique<Printer>();
    return *m_ownPrinter;
}

bool frmSoucVycObd::dokonciTisk() {
    const auto printed = tiskarna().endDoc();
    const Config& config = m_services.state.config;
    if (!printed.ok()) {
        m_services.prompts.error(config.DejText(kSection, QStringLiteral("ChybaTisku")) + QStringLiteral("\r\n") +
                                 printed.message());
        return false;
    }
    if (!printed.value().pdfFile.empty())
        m_services.prompts.info(config.DejText(kSection, QStringLiteral("TiskDoSouboru")) +
                                TextFiles::toQString(printed.value().pdfFile));
    return true;
}

void frmSoucVycObd::cmdPrint_Click() {
    if (odmitnutoPoChybe())
        return;
    const AppState& app = m_services.state;
    PeriodPrintChoice c;
    c.rtbText = m_ui->rtbVyc->toPlainText();
    c.cmbStrav = m_ui->cmbStrav->currentText();
    c.allTypes = m_ui->cmbStrav->currentData().toInt() == 0;
    c.sm = m_ui->txtSM->text();
    c.oper = m_ui->txtOper->text();
    c.dtDek = m_ui->dtDek->date();
    c.fontName = m_ui->rtbVyc->font().family();
    const bool summary = tiskniPrehledObdobi(tiskarna(), app, m_services.clock, m_stav, c);
    if (dokonciTisk() && summary)
        m_services.prompts.info(app.config.DejText(kSection, app.sw.gFEuro ? QStringLiteral("probehlTiskEURO")
                                                                           : QStringLiteral("probehlTisk")));
}

void frmSoucVycObd::cmdPrintSM_Click() {
    if (odmitnutoPoChybe())
        return;
    SmReportResult result;
    {
        const BusyCursor busy;
        ProgressWindow progress(this, windowTitle());
        progress.showBusy();
        result = SmReports(sPrubehem(progress)).cmdPrintSM(tiskarna(), volbaSM());
    }
    if (result.rtbText)
        periodsui::showText(m_ui->rtbVyc, *result.rtbText);
    if (result.done)
        dokonciTisk();
    else
        tiskarna().killDoc();
}

void frmSoucVycObd::cmbZobrPrehleduSm_Click() {
    if (odmitnutoPoChybe())
        return;
    SmReportResult result;
    {
        const BusyCursor busy;
        ProgressWindow progress(this, windowTitle());
        progress.showBusy();
        result = SmReports(sPrubehem(progress)).cmbZobrPrehleduSm(volbaSM());
    }
    if (result.rtbText)
        periodsui::showText(m_ui->rtbVyc, *result.rtbText);
}

void frmSoucVycObd::cmdSaveTicketsAs_Click() {
    const auto file = souborStravenek(m_services.state, m_services.clock.now());
    if (!file.ok()) {
        m_services.prompts.error(file.message());
        return;
    }
    const PeriodChoice choice = volba();
    const TypeChoice types = periodsui::chosenTypes(m_ui->cmbStrav);
    Result<qint64> written = Error{};
    // The codes are written in the load's progress window, which then counts them; a cancel there counts as a
    // cancelled load. A file that cannot be written is told on its own: the period stays loaded.
    const bool loaded = nactiHodinky([&](PeriodLoader& loader, ProgressWindow& progress) {
        if (const Status read = loader.stravenky(m_stav, choice); !read.ok())
            return read;
        progress.setStepText(periodsui::stepTextCodesWritten());
        written = loader.zapisStravenky(m_stav, types, file.value());
        return m_stav.m_obdobiNacteno ? Status::success() : Status::from(written);
    });
    if (!loaded)
        return;
    if (!written.ok()) {
        m_services.prompts.error(written.message());
        return;
    }
    m_services.prompts.message(zpravaUlozeno(written.value(), file.value()));
}

void frmSoucVycObd::cmdEnd_Click() {
    if (m_services.state.gSafeBag) {
        // The safe-bag files are taken over with the window's end, computed or not.
        if (const Status renamed = prejmenujSafeBag(m_services.state.gDatovyAdresar); !renamed.ok())
            m_services.prompts.error(renamed.message());
    }
    accept();
}

void frmSoucVycObd::cmbStrav_Click() {
    setExportEnabled(m_ui->cmbStrav->currentText() !=
                         m_services.state.config.DejText(kSection, QStringLiteral("Vsechny")) &&
                     m_stav.m_obdobiNacteno);
}

void frmSoucVycObd::chkGroupByDay_Click() {
    if (m_ui->chkGroupByDay->isChecked())
        m_ui->chkNespojovatSM->setChecked(false);
}

void frmSoucVycObd::chkNespojovatSM_Click() {
    if (m_ui->chkNespojovatSM->isChecked())
        m_ui->chkGroupByDay->setChecked(false);
}

void frmSoucVycObd::balikUpDown_Change(int value) {
    m_ui->txtBalik->setText(QString::number(value));
}

void frmSoucVycObd::tydenUpDown_Change(int value) {
    m_ui->txtTyden->setText(QString::number(value));
}

void frmSoucVycObd::UpDPoradi_Change(int value) {
    m_ui->txtPoradiDavky->setText(QString::number(value));
    m_ui->lblExpFile->setText(
        nazevExportuCba(m_ui->txtPoradiDavky->text(), m_ui->txtRok->text(), m_ui->txtMesic->text()));
}

void frmSoucVycObd::UpDMesic_Change(int value) {
    m_ui->txtMesic->setText(QString::number(value));
    m_ui->lblExpFile->setText(
        nazevExportuCba(m_ui->txtPoradiDavky->text(), m_ui->txtRok->text(), m_ui->txtMesic->text()));
}

void frmSoucVycObd::UpDRok_Change(int value) {
    m_ui->txtRok->setText(QString::number(value));
    m_ui->lblExpFile->setText(
        nazevExportuCba(m_ui->txtPoradiDavky->text(), m_ui->txtRok->text(), m_ui->txtMesic->text()));
}

} // namespace trv

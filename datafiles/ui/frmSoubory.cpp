#include "datafiles/ui/frmSoubory.h"

#include "core/AppState.h"
#include "core/SettingsLoader.h"
#include "datafiles/DataFileOps.h"
#include "datafiles/DataFilePrint.h"
#include "datafiles/ui/ErrorMessage.h"
#include "datafiles/ui/frmSouboryOt.h"
#include "datafiles/ui/frmUlozJako.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/Printer.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"
#include "ui_frmSoubory.h"

#include <QApplication>
#include <QGroupBox>
#include <QStringListModel>

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmSoubory");

// The hourglass over the browser while a file is read; restored on every way out.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

frmSoubory::frmSoubory(const Services& services, QWidget* parent)
    : QDialog(parent), m_state(services.state), m_prompts(services.prompts), m_clock(services.clock),
      m_printer(services.printer), m_reader(services.reader), m_printFontName(services.printFontName),
      m_ui(std::make_unique<Ui::frmSoubory>()) {
    m_ui->setupUi(this);
    m_files = new QStringListModel(this);
    m_files->setObjectName(QStringLiteral("flbSouborModel"));
    m_filter = new QStringListModel(this);
    m_filter->setObjectName(QStringLiteral("lstFilterModel"));
    m_ui->flbSoubor->setModel(m_files);
    m_ui->lstFilter->setModel(m_filter);
    m_ui->lstFilter->setVisible(false);
    // No button of the browser is pressed by Enter: deleting or renaming a file is always a deliberate click.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    m_text = {DataFileList::Key::Text, m_ui->txtHled, m_ui->btnNajdiText, m_ui->btnNajdiDalText, m_ui->chkFilterText};
    m_datum = {DataFileList::Key::Datum, m_ui->txtDatum, m_ui->btnNajdiDatum, m_ui->btnNajdiDalDatum,
               m_ui->chkFilterDatum};
    m_sm = {DataFileList::Key::Sm, m_ui->txtSM, m_ui->btnNajdiSM, m_ui->btnNajdiDalSM, m_ui->chkFilterSM};

    connect(m_ui->flbSoubor->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmSoubory::flbSoubor_Click);
    connect(m_ui->lstFilter->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmSoubory::lstFilter_Click);
    connect(m_ui->btnOtevri, &QPushButton::clicked, this, &frmSoubory::btnOtevri_Click);
    connect(m_ui->btnSmaz, &QPushButton::clicked, this, &frmSoubory::btnSmaz_Click);
    connect(m_ui->btnUlozJako, &QPushButton::clicked, this, &frmSoubory::btnUlozJako_Click);
    connect(m_ui->btnTisk, &QPushButton::clicked, this, &frmSoubory::btnTisk_Click);
    connect(m_ui->btnTiskSouc, &QPushButton::clicked, this, &frmSoubory::btnTiskSouc_Click);
    connect(m_ui->btnZamenSM, &QPushButton::clicked, this, &frmSoubory::btnZamenSM_Click);
    connect(m_ui->btnZavri, &QPushButton::clicked, this, &frmSoubory::btnZavri_Click);
    connect(m_ui->btnNajdiText, &QPushButton::clicked, this, &frmSoubory::btnNajdiText_Click);
    connect(m_ui->btnNajdiDatum, &QPushButton::clicked, this, &frmSoubory::btnNajdiDatum_Click);
    connect(m_ui->btnNajdiSM, &QPushButton::clicked, this, &frmSoubory::btnNajdiSM_Click);
    connect(m_ui->btnNajdiDalText, &QPushButton::clicked, this, &frmSoubory::btnNajdiDalText_Click);
    connect(m_ui->btnNajdiDalDatum, &QPushButton::clicked, this, &frmSoubory::btnNajdiDalDatum_Click);
    connect(m_ui->btnNajdiDalSM, &QPushButton::clicked, this, &frmSoubory::btnNajdiDalSM_Click);
    connect(m_ui->chkFilterText, &QCheckBox::clicked, this, &frmSoubory::chkFilterText_Click);
    connect(m_ui->chkFilterDatum, &QCheckBox::clicked, this, &frmSoubory::chkFilterDatum_Click);
    connect(m_ui->chkFilterSM, &QCheckBox::clicked, this, &frmSoubory::chkFilterSM_Click);
    connect(m_ui->txtHled, &QLineEdit::textChanged, this, &frmSoubory::txtHled_Change);
    connect(m_ui->txtHled, &QLineEdit::returnPressed, this, &frmSoubory::txtHled_KeyPress);
    connect(m_ui->txtDatum, &QLineEdit::textChanged, this, &frmSoubory::txtDatum_Change);
    connect(m_ui->txtSM, &QLineEdit::textChanged, this, &frmSoubory::txtSM_Change);
}

frmSoubory::~frmSoubory() = default;

QString frmSoubory::text(const char* key) const {
    return m_state.config.DejText(kSection, QString::fromLatin1(key));
}

QString frmSoubory::errorText(const char* key, const Error& error, const QString& descr) const {
    return errorMessage(text(key), error, descr);
}

bool frmSoubory::Form_Load() {
    auto folder = DejCestuDat(m_state.config);
    Result<DataFileList> list = folder.ok() ? DataFileList::load(folder.value()) : Result<DataFileList>(folder.error());
    if (!list.ok()) {
        m_prompts.error(m_state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("NeexCestaKDatum")) +
                        list.message());
        return false;
    }
    m_folder = folder.value();
    m_list = std::move(list).value();
    m_files->setStringList(m_list.names());
    m_ui->txtCesta->setText(TextFiles::toQString(m_folder));

    setWindowTitle(text("Caption"));
    for (const char* name : {"Frame1", "fraHled", "Frame2"})
        findChild<QGroupBox*>(QString::fromLatin1(name))->setTitle(text(name));
    m_ui->btnOtevri->setText(text("btnOtevri"));
    m_ui->btnSmaz->setText(text("btnSmaz"));
    m_ui->btnUlozJako->setText(text("btnUlozJako"));
    m_ui->btnTisk->setText(text("btnTisk"));
    m_ui->btnTiskSouc->setText(text("btnTiskSouc"));
    m_ui->chkCele->setText(text("chkCele"));
    m_ui->btnZavri->setText(text("btnZavri"));
    for (const SearchKey* k : {&m_text, &m_datum, &m_sm}) {
        k->najdi->setText(text("btnHled"));
        k->najdiDal->setText(text("btnHlDal"));
        k->filtr->setText(text("btnFilter"));
    }
    m_ui->Label2->setText(text("lblText"));
    m_ui->Label1->setText(text("lblDatum"));
    m_ui->Label3->setText(text("lblStredisko"));
    m_ui->Label4->setText(text("label4"));
    m_ui->btnZamenSM->setText(text("btnZamenSM"));
    return true;
}

// --- The lists

std::optional<qsizetype> frmSoubory::selectedIndex() const {
    const QModelIndex current = m_ui->flbSoubor->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return current.row();
}

QString frmSoubory::selectedName() const {
    const auto i = selectedIndex();
    return i ? m_list.names().at(*i) : QString();
}

QString frmSoubory::filterSelectedName() const {
    const QModelIndex current = m_ui->lstFilter->currentIndex();
    return current.isValid() ? current.data().toString() : QString();
}

void frmSoubory::select(qsizetype index) {
    const QModelIndex i = m_files->index(int(index));
    m_ui->flbSoubor->setCurrentIndex(i);
    m_ui->flbSoubor->scrollTo(i);
}

void frmSoubory::setFileButtons(bool enabled) {
    m_ui->btnOtevri->setEnabled(enabled);
    m_ui->btnUlozJako->setEnabled(enabled);
    m_ui->btnSmaz->setEnabled(enabled);
    m_ui->btnTisk->setEnabled(enabled);
    m_ui->btnTiskSouc->setEnabled(enabled);
}

void frmSoubory::flbSoubor_Click() {
    const auto i = selectedIndex();
    if (!i) {
        m_ui->txtCesta->setText(TextFiles::toQString(m_folder));
        setFileButtons(false);
        return;
    }
    m_ui->txtCesta->setText(TextFiles::toQString(m_list.path(*i)));
    setFileButtons(true);
    m_ui->btnZamenSM->setEnabled(true);
}

void frmSoubory::lstFilter_Click() {
    if (m_ui->lstFilter->currentIndex().isValid())
        m_ui->btnZamenSM->setEnabled(true);
}

void frmSoubory::reRead(const QString& selectName) {
    auto list = DataFileList::load(m_folder);
    if (!list.ok()) {
        m_prompts.error(list.message());
        return;
    }
    m_list = std::move(list).value();
    m_files->setStringList(m_list.names());
    if (const auto i = selectName.isEmpty() ? std::nullopt : m_list.indexOf(selectName))
        select(*i);
    else
        flbSoubor_Click();
}

// --- Finding and filtering

void frmSoubory::txtHled_KeyPress() {
    if (m_ui->btnNajdiText->isEnabled())
        btnNajdiText_Click();
}

DataFileList::Query frmSoubory::query(const SearchKey& k) const {
    return DataFileList::Query{k.key, k.box->text(), k.key == DataFileList::Key::Text && m_ui->chkCele->isChecked()};
}

void frmSoubory::najdi(const SearchKey& k) {
    const auto found = m_list.find(query(k));
    if (!found) {
        // The walk went through the whole list and stopped on its last entry.
        if (m_list.count() > 0)
            select(m_list.count() - 1);
        m_prompts.message(text("HledTextNenal"));
        return;
    }
    select(*found);
    k.najdiDal->setEnabled(true);
}

void frmSoubory::najdiDal(const SearchKey& k) {
    const qsizetype count = m_list.count();
    const auto current = selectedIndex();
    if (count == 0) {
        m_prompts.message(text("HledTextNenal"));
        return;
    }
    const qsizetype c = current.value_or(-1);
    // From the entry after the selected one; after the last entry the whole list again from the top.
    const qsizetype from = c == count - 1 ? 0 : c + 1;
    if (const auto found = m_list.find(query(k), from)) {
        select(*found);
        return;
    }
    if (current)
        select(c);
    m_prompts.message(text("HledTextNenal"));
}

void frmSoubory::filtr(const SearchKey& k) {
    m_filter->setStringList({});
    if (k.filtr->isChecked()) {
        m_filter->setStringList(m_list.filter(query(k)));
        // The filter walk passes every entry of the file list; it ends on the last one.
        if (m_list.count() > 0)
            select(m_list.count() - 1);
        m_ui->lstFilter->setVisible(true);
        k.najdi->setEnabled(false);
        k.najdiDal->setEnabled(false);
        m_ui->flbSoubor->setVisible(false);
    } else {
        m_ui->lstFilter->setVisible(false);
        m_ui->flbSoubor->setVisible(true);
        if (!k.box->text().isEmpty()) {
            k.najdi->setEnabled(true);
            k.najdiDal->setEnabled(true);
        }
    }
}

void frmSoubory::keyTextChanged(const SearchKey& k) {
    const bool any = !k.box->text().isEmpty();
    k.najdi->setEnabled(any);
    k.filtr->setEnabled(any);
    if (!any) {
        k.najdiDal->setEnabled(false);
        k.filtr->setChecked(false);
        filtr(k);
    }
}

void frmSoubory::txtHled_Change() {
    // The text search takes numbers only: the names are dates and numbers.
    if (!m_ui->txtHled->text().isEmpty() && !toNumber(m_ui->txtHled->text())) {
        m_ui->txtHled->clear(); // runs this handler again for the empty box
        return;
    }
    m_ui->chkCele->setEnabled(!m_ui->txtHled->text().isEmpty());
    keyTextChanged(m_text);
}

// --- The file operations

void frmSoubory::btnOtevri_Click() {
    const auto i = selectedIndex();
    if (!i)
        return;
    const QString name = m_list.names().at(*i);
    frmSouboryOt editor(m_state, m_prompts, m_list.path(*i), this);
    if (editor.Form_Load())
        editor.exec();
    reRead(name);
}

void frmSoubory::btnUlozJako_Click() {
    const auto i = selectedIndex();
    if (!i)
        return;
    const QString name = m_list.names().at(*i);
    frmUlozJako dialog(m_state, m_prompts, m_list.path(*i), m_folder, this);
    dialog.exec();
    reRead(name);
}

void frmSoubory::btnSmaz_Click() {
    const auto i = selectedIndex();
    if (!i)
        return;
    const QString name = m_list.names().at(*i);
    if (!m_prompts.askYesNo(text("Smazat") + name + QStringLiteral("' ?")))
        return;
    const Status deleted = DataFileOps::smaz(m_list.path(*i));
    if (!deleted.ok()) {
        m_prompts.message(errorText("ChybaBehMaz", deleted.error(), QStringLiteral(", descr: ")));
        reRead(name);
        return;
    }
    reRead({});
    setFileButtons(false);
    m_ui->txtCesta->setText(TextFiles::toQString(m_folder));
}

void frmSoubory::btnZamenSM_Click() {
    const bool fromFilter = !m_ui->lstFilter->isHidden();
    const QString name = fromFilter ? filterSelectedName() : selectedName();
    const QString sm = m_ui->txtZmenaSM->text();
    if (name.isEmpty()) {
        m_prompts.error(text("ChybaZmenaSM") + QStringLiteral("\r\n") + QStringLiteral("Není vybrán žádný soubor."));
        return;
    }
    if (!m_prompts.askYesNo(text("zmenitStredisko") + QStringLiteral(" ") + sm + QStringLiteral("?")))
        return;
    const auto renamed =
        DataFileOps::zmenSM(m_folder, name, sm, DejOddelovacExportu(m_state.config), DataFileOps::smField(m_state.sw));
    if (!renamed.ok()) {
        m_prompts.error(text("ChybaZmenaSM") + QStringLiteral("\r\n") + renamed.message());
        return;
    }
    if (fromFilter) {
        const int row = m_ui->lstFilter->currentIndex().row();
        m_filter->removeRows(row, 1);
    }
    reRead(fromFilter ? selectedName() : renamed.value());
    m_prompts.message(text("stredikoZmeneno"));
}

void frmSoubory::btnZavri_Click() {
    close();
}

// --- Prints

void frmSoubory::btnTisk_Click() {
    const auto i = selectedIndex();
    if (!i)
        return;
    const auto lines = DataFilePrint::nactiKTisku(m_list.path(*i));
    if (!lines.ok()) {
        m_prompts.error(errorText("ChybaNacTisk", lines.error(), QStringLiteral(", popis: ")));
        return;
    }
    DataFilePrint::tiskniText(m_printer, lines.value());
    finishPrint(false);
}

void frmSoubory::btnTiskSouc_Click() {
    const auto i = selectedIndex();
    if (!i)
        return;
    Result<std::vector<DataFilePrint::SouhrnTypu>> summary = [&] {
        BusyCursor busy;
        return DataFilePrint::spocti(m_state, m_prompts, m_clock, m_reader, m_list.path(*i));
    }();
    if (!summary.ok()) {
        m_prompts.error(errorText("ChybaNacTisk", summary.error(), QStringLiteral(", popis: ")));
        return;
    }
    DataFilePrint::Hlavicka heading;
    heading.fontName = m_printFontName;
    if (const auto logo = TextFiles::findCaseInsensitive(m_state.programFolder, QStringLiteral("Doreviz.bmp")))
        heading.obrazek = *logo;
    heading.firma = m_state.gFirmaHlavicka;
    heading.cas = m_clock.now();
    DataFilePrint::tiskniSouhrn(m_printer, m_state.config, summary.value(), heading);
    finishPrint(true);
}

void frmSoubory::finishPrint(bool summary) {
    const auto outcome = m_printer.endDoc();
    if (!outcome.ok()) {
        m_prompts.error(errorText("ChybaTisk", outcome.error(), QStringLiteral(", popis: ")));
        return;
    }
    if (!outcome.value().pdfFile.empty()) {
        m_prompts.info(text("TiskDoSouboru") + TextFiles::toQString(outcome.value().pdfFile));
        return;
    }
    if (summary && outcome.value().sent)
        m_prompts.info(text("ProbTisk"));
}

} // namespace trv

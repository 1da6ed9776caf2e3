#include "settings/ui/frmServis.h"

#include "core/AppState.h"
#include "core/SettingsLoader.h"
#include "core/SharedHelpers.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"
#include "platform/ui/ControlText.h"
#include "settings/ReaderMaintenance.h"
#include "settings/ServisHost.h"
#include "ui_frmServis.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QTabBar>
#include <QTimer>

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmServis");

// A value that cannot be taken stays in its box for correction; the focus goes back once the focus change in
// progress has ended.
void backToBox(QLineEdit* box) {
    QTimer::singleShot(0, box, [box] {
        box->setFocus();
        box->selectAll();
    });
}

} // namespace

frmServis::frmServis(AppState& state, Prompts& prompts, Shell& shell, ServisHost& host, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmServis>()), m_state(state), m_prompts(prompts), m_shell(shell),
      m_host(host) {
    m_ui->setupUi(this);
    setModal(true);

    const std::array<QCheckBox*, 4> checks{m_ui->Check1, m_ui->Check2, m_ui->Check3, m_ui->Check4};
    for (int n = 1; n <= 4; ++n)
        connect(checks[n - 1], &QCheckBox::toggled, this, [this, n](bool on) { maskChecked(n, on); });
    connect(m_ui->chkAS400, &QCheckBox::toggled, this, [this](bool on) { m_state.gAS400 = on; });
    connect(m_ui->chkCounter, &QCheckBox::toggled, this, [this](bool on) { m_state.gAutoPoc = on; });
    connect(m_ui->chkDorovn, &QCheckBox::toggled, this,
            [this](bool on) { m_state.gAutoDorovn = on ? QStringLiteral("True") : QStringLiteral("False"); });
    connect(m_ui->chkDup, &QCheckBox::toggled, this,
            [this](bool on) { m_state.gAutoDupl = on ? QStringLiteral("True") : QStringLiteral("False"); });
    connect(m_ui->chkPlatnost, &QCheckBox::toggled, this, [this](bool on) { m_state.gKontrolovat = on; });
    connect(m_ui->chkPlatnostCisel, &QCheckBox::toggled, this, [this](bool on) { m_state.gKontrolovatCisla = on; });
    connect(m_ui->chkPovDarkove, &QCheckBox::toggled, this, [this](bool on) { m_state.gPovDarkove = on; });
    connect(m_ui->chkSoftwZast, &QCheckBox::toggled, this, [this](bool on) {
        m_softwZastavovani = on;
        m_host.setSoftwZastavovani(on);
    });
    connect(m_ui->chkZkraceny, &QCheckBox::toggled, this, [this](bool on) { m_state.gExpSpolZkraceny = on; });
    connect(m_ui->optSTD, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_state.gMode = QStringLiteral("STD");
    });
    connect(m_ui->optAUT, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_state.gMode = QStringLiteral("AUT");
    });
    for (const int i : ServisSettings::kBaudIndexes) {
        connect(option(QStringLiteral("optBaud_%1").arg(i)), &QAbstractButton::toggled, this, [this, i](bool on) {
            if (on)
                mBaudRate = ServisSettings::baudText(i);
        });
    }
    for (int i = 6; i <= 8; ++i) {
        connect(option(QStringLiteral("optDBity_%1").arg(i)), &QAbstractButton::toggled, this, [this, i](bool on) {
            if (on)
                mDatoveBity = QString::number(i);
        });
    }
    for (int i = 0; i < 3; ++i) {
        connect(option(QStringLiteral("optSBity_%1").arg(i)), &QAbstractButton::toggled, this, [this, i](bool on) {
            if (on)
                mStopBity = ServisSettings::kStopBits.at(i);
        });
    }
    for (int i = 0; i < 5; ++i) {
        connect(option(QStringLiteral("optParita_%1").arg(i)), &QAbstractButton::toggled, this, [this, i](bool on) {
            if (on)
                mParita = ServisSettings::kParity.at(i);
        });
    }
    for (int i = 0; i < 4; ++i) {
        connect(option(QStringLiteral("optHShak_%1").arg(i)), &QAbstractButton::toggled, this, [this, i](bool on) {
            if (on)
                mHShaking = ServisSettings::kHandshakes.at(i);
        });
    }
    const std::pair<QLineEdit*, QString AppState::*> blocked[] = {
        {m_ui->txtBlokovatCisloOd, &AppState::gBlokovatCisloOd},
        {m_ui->txtBlokovatCisloDo, &AppState::gBlokovatCisloDo},
        {m_ui->txtBlokovatCisloOd1, &AppState::gBlokovatCisloOd1},
        {m_ui->txtBlokovatCisloDo1, &AppState::gBlokovatCisloDo1},
        {m_ui->txtBlokovatCisloOd2, &AppState::gBlokovatCisloOd2},
        {m_ui->txtBlokovatCisloDo2, &AppState::gBlokovatCisloDo2},
    };
    for (const auto& [box, global] : blocked) {
        connect(box, &QLineEdit::textChanged, this, [this, g = global](const QString& text) { m_state.*g = text; });
    }
    connect(m_ui->ListTypSeku, &QListWidget::itemClicked, this, &frmServis::ListTypSeku_Click);
    connect(m_ui->txtSoubHodnota, &QLineEdit::textChanged, this, &frmServis::txtSoubHodnota_Change);
    connect(m_ui->dirData, &QPushButton::clicked, this, [this] { chooseFolder(m_ui->txtCesta); });
    connect(m_ui->dirExport, &QPushButton::clicked, this, [this] { chooseFolder(m_ui->txtCestaExp); });
    connect(m_ui->DirExportSpol, &QPushButton::clicked, this, [this] { chooseFolder(m_ui->txtCestaExpSpol); });
    connect(m_ui->btnUloz, &QPushButton::clicked, this, &frmServis::btnUloz_Click);
    connect(m_ui->btnVen, &QPushButton::clicked, this, &frmServis::btnVen_Click);
    connect(m_ui->btnScanOn, &QPushButton::clicked, this, &frmServis::btnScanOn_Click);
    connect(m_ui->btnScanOFF, &QPushButton::clicked, this, &frmServis::btnScanOFF_Click);
    connect(m_ui->btnUlozNast, &QPushButton::clicked, this, &frmServis::btnUlozNast_Click);
    connect(m_ui->btnOMenu, &QPushButton::clicked, this, &frmServis::btnOMenu_Click);
    for (QLineEdit* box : yearBoxes())
        box->installEventFilter(this);
    for (QLineEdit* box : dateBoxes())
        box->installEventFilter(this);
    m_ui->btnUloz->setDefault(true);

    Form_Load();
    m_loaded = ServisSettings::zapisy(m_state, controls(), m_softwZastavovani);
    m_loadedValidity = validityTexts();
}

frmServis::~frmServis() = default;

QAbstractButton* frmServis::option(const QString& name) const {
    return findChild<QAbstractButton*>(name);
}

std::array<QLineEdit*, 5> frmServis::yearBoxes() const {
    return {m_ui->txtRok1, m_ui->txtRok2, m_ui->txtRok3, m_ui->txtRok4, m_ui->txtRok5};
}

std::array<QLineEdit*, 5> frmServis::dateBoxes() const {
    return {m_ui->txtPovolitDo1, m_ui->txtPovolitDo2, m_ui->txtPovolitDo3, m_ui->txtPovolitDo4, m_ui->txtPovolitDo5};
}

QStringList frmServis::validityTexts() const {
    QStringList texts;
    for (const QLineEdit* box : yearBoxes())
        texts.append(box->text());
    for (const QLineEdit* box : dateBoxes())
        texts.append(box->text());
    return texts;
}

void frmServis::Form_Load() {
    m_ui->btnOMenu->setEnabled(!m_host.prijemBezi());
    m_ui->ListTypSeku->addItem(QStringLiteral("Faktura"));

    const ServisSettings::Nacteni n = ServisSettings::nacti(m_state, m_softwZastavovani);
    mPosledniCislo = n.posledniCislo;
    if (n.dir)
        m_ui->txtCesta->setText(*n.dir);
    if (n.expDir)
        m_ui->txtCestaExp->setText(*n.expDir);
    if (n.expSpolDir)
        m_ui->txtCestaExpSpol->setText(*n.expSpolDir);
    m_ui->chkZkraceny->setChecked(m_state.gExpSpolZkraceny);

    const QString mode = m_state.gMode;
    if (mode == QLatin1String("STD"))
        m_ui->optSTD->setChecked(true);
    else if (mode == QLatin1String("AUT"))
        m_ui->optAUT->setChecked(true);
    // The clean-up switches keep a text that is neither "True" nor "False" as it is, with the box untouched.
    const QString dorovn = m_state.gAutoDorovn;
    const QString dup = m_state.gAutoDupl;
    if (n.dorovn)
        m_ui->chkDorovn->setChecked(*n.dorovn);
    if (n.dup)
        m_ui->chkDup->setChecked(*n.dup);
    m_state.gAutoDorovn = dorovn;
    m_state.gAutoDupl = dup;
    m_ui->chkAS400->setChecked(m_state.gAS400);
    m_ui->chkSoftwZast->setChecked(m_softwZastavovani);
    m_host.setSoftwZastavovani(m_softwZastavovani);
    m_ui->chkCounter->setChecked(m_state.gAutoPoc);
    m_ui->chkPlatnost->setChecked(m_state.gKontrolovat);
    m_ui->chkPlatnostCisel->setChecked(m_state.gKontrolovatCisla);
    m_ui->txtBlokovatCisloOd->setText(m_state.gBlokovatCisloOd);
    m_ui->txtBlokovatCisloDo->setText(m_state.gBlokovatCisloDo);
    m_ui->txtBlokovatCisloOd1->setText(m_state.gBlokovatCisloOd1);
    m_ui->txtBlokovatCisloDo1->setText(m_state.gBlokovatCisloDo1);
    m_ui->txtBlokovatCisloOd2->setText(m_state.gBlokovatCisloOd2);
    m_ui->txtBlokovatCisloDo2->setText(m_state.gBlokovatCisloDo2);
    m_ui->chkPovDarkove->setChecked(m_state.gPovDarkove);
    m_ui->chkPovDarkove->setEnabled(m_state.sw.gFDarkove);
    m_ui->txtNazevF->setText(n.nazevFirmy);
    m_ui->txtHlavickaF->setText(n.hlavicka);

    const std::array<QLineEdit*, 5> roky = yearBoxes();
    const std::array<QLineEdit*, 5> data = dateBoxes();
    for (int i = 0; i < 5; ++i) {
        roky[i]->setText(QString::number(m_state.gPovolitRok[i]));
        data[i]->setText(dateShort(m_state.gPovolitDo[i]));
    }

    m_ui->cmbPort->addItems({QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"),
                             QStringLiteral("COM4"), QStringLiteral("COM5"), QStringLiteral("COM6")});
    m_ui->cmbPort->setCurrentIndex(m_ui->cmbPort->findText(n.port));
    if (n.baud)
        option(QStringLiteral("optBaud_%1").arg(*n.baud))->setChecked(true);
    if (n.dataBits)
        option(QStringLiteral("optDBity_%1").arg(*n.dataBits))->setChecked(true);
    if (n.stopBits)
        option(QStringLiteral("optSBity_%1").arg(*n.stopBits))->setChecked(true);
    if (n.parity)
        option(QStringLiteral("optParita_%1").arg(*n.parity))->setChecked(true);
    if (n.handshake)
        option(QStringLiteral("optHShak_%1").arg(*n.handshake))->setChecked(true);

    const std::array<QCheckBox*, 4> checks{m_ui->Check1, m_ui->Check2, m_ui->Check3, m_ui->Check4};
    const std::array<QLineEdit*, 4> names{m_ui->txtNaz1, m_ui->txtNaz2, m_ui->txtNaz3, m_ui->txtNaz4};
    const std::array<QLineEdit*, 4> masks{m_ui->txtMask1, m_ui->txtMask2, m_ui->txtMask3, m_ui->txtMask4};
    for (int i = 0; i < 4; ++i) {
        const ServisSettings::Maska& m = n.masky[i];
        if (!m.zapnuta)
            continue;
        checks[i]->setChecked(true);
        names[i]->setText(m.nazev);
        masks[i]->setText(m.maska);
    }

    setTexts();
    m_ui->tabFakt->setCurrentIndex(0);

    for (const QString& folder : n.chybejiciSlozky)
        m_prompts.error(folder);
    if (!n.chyby.isEmpty())
        m_prompts.error(m_state.config.DejText(kSection, QStringLiteral("ChybaNacteni")) + u'\n' + n.chyby.join(u'\n'));
}

void frmServis::setTexts() {
    const Config& config = m_state.config;
    const auto put = [this, &config](const QString& name, const QString& key) {
        const QString text = config.DejText(kSection, key);
        for (QWidget* w : findChildren<QWidget*>(name))
            setControlText(w, text);
    };
    const char* pages[] = {"Data", "NastKomunik", "Scanner", "PrednMasky", "UzivNast", "KontrStrav"};
    for (int i = 0; i < 6; ++i)
        m_ui->tabFakt->setTabText(i, config.DejText(kSection, QLatin1String(pages[i])));
    // Every page's tab is in sight: the window is at least as wide as the tab row of these captions.
    m_ui->tabFakt->setMinimumWidth(m_ui->tabFakt->tabBar()->sizeHint().width() + 16);
    const char* own[] = {
        "Frame1",   "Frame18", "Frame16",      "Frame17",     "fraFirma",         "lblNazF",    "lblHlavickaF",
        "btnUloz",  "btnVen",  "Frame2",       "Frame3",      "Frame4",           "Frame5",     "frmHShak",
        "Frame6",   "Frame10", "btnOMenu",     "btnScanOn",   "Frame7",           "Check1",     "Check2",
        "Check3",   "Check4",  "Label3",       "Label4",      "Label5",           "Label6",     "Label7",
        "Label8",   "Label9",  "Frame11",      "optSTD",      "optAUT",           "Label13",    "Label10",
        "Label11",  "Frame12", "chkDorovn",    "chkDup",      "fraCounter",       "chkCounter", "Frame13",
        "chkAS400", "Frame19", "chkSoftwZast", "chkPlatnost", "chkPlatnostCisel", "Frame15",    "chkPovDarkove"};
    for (const char* name : own)
        put(QLatin1String(name), QLatin1String(name));
    put(QStringLiteral("btnScanOFF"), QStringLiteral("btnScanOff"));
    put(QStringLiteral("Label2_0"), QStringLiteral("Label2_0"));
    for (const char* n : {"Label2_2", "Label2_3", "Label2_11", "Label2_13", "Label2_15"})
        put(QLatin1String(n), QStringLiteral("Label2_2"));
    for (const char* n : {"Label2_4", "Label2_5", "Label2_12", "Label2_14", "Label2_16"})
        put(QLatin1String(n), QStringLiteral("Label2_4"));
    for (const char* n : {"Label2_7", "Label2_1", "Label2_9"})
        put(QLatin1String(n), QStringLiteral("Label2_7"));
    for (const char* n : {"Label2_8", "Label2_6", "Label2_10"})
        put(QLatin1String(n), QStringLiteral("Label2_8"));
}

void frmServis::maskChecked(int n, bool on) {
    QLineEdit* name = findChild<QLineEdit*>(QStringLiteral("txtNaz%1").arg(n));
    QLineEdit* mask = findChild<QLineEdit*>(QStringLiteral("txtMask%1").arg(n));
    if (!on) {
        name->clear();
        mask->clear();
    }
    name->setEnabled(on);
    mask->setEnabled(on);
}

void frmServis::ListTypSeku_Click() {
    m_kindChosen = true;
    m_ui->txtSoubHodnota->setText(mPosledniCislo);
}

void frmServis::txtSoubHodnota_Change() {
    if (m_kindChosen)
        mPosledniCislo = m_ui->txtSoubHodnota->text();
}

void frmServis::chooseFolder(QLineEdit* box) {
    if (const std::optional<std::filesystem::path> folder =
            m_prompts.chooseFolder(QString(), TextFiles::toPath(box->text())))
        box->setText(TextFiles::toQString(*folder));
}

bool frmServis::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        for (int n = 1; n <= 5; ++n) {
            if (watched == findChild<QLineEdit*>(QStringLiteral("txtRok%1").arg(n)))
                txtRok_Validate(n);
            else if (watched == findChild<QLineEdit*>(QStringLiteral("txtPovolitDo%1").arg(n)))
                txtPovolitDo_Validate(n);
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool frmServis::txtRok_Validate(int n) {
    QLineEdit* box = findChild<QLineEdit*>(QStringLiteral("txtRok%1").arg(n));
    if (const std::optional<qint32> year = storedYear(box->text())) {
        m_state.gPovolitRok[n - 1] = *year;
        return true;
    }
    backToBox(box);
    return false;
}

bool frmServis::txtPovolitDo_Validate(int n) {
    QLineEdit* box = findChild<QLineEdit*>(QStringLiteral("txtPovolitDo%1").arg(n));
    if (const std::optional<QDate> d = parseDate(box->text().trimmed())) {
        m_state.gPovolitDo[n - 1] = *d;
        return true;
    }
    backToBox(box);
    return false;
}

ServisSettings::Ulozeni frmServis::controls() const {
    ServisSettings::Ulozeni h;
    h.dir = m_ui->txtCesta->text();
    h.expDir = m_ui->txtCestaExp->text();
    h.expSpolDir = m_ui->txtCestaExpSpol->text();
    h.posledniCislo = mPosledniCislo;
    h.port = m_ui->cmbPort->currentText();
    h.hShaking = mHShaking;
    h.baudRate = mBaudRate;
    h.dataBits = mDatoveBity;
    h.stopBits = mStopBity;
    h.parity = mParita;
    h.nazevFirmy = m_ui->txtNazevF->text();
    h.hlavicka = m_ui->txtHlavickaF->text();
    for (int n = 1; n <= 4; ++n) {
        h.masky[n - 1].nazev = findChild<QLineEdit*>(QStringLiteral("txtNaz%1").arg(n))->text();
        h.masky[n - 1].maska = findChild<QLineEdit*>(QStringLiteral("txtMask%1").arg(n))->text();
    }
    return h;
}

void frmServis::showBox(QLineEdit* box) {
    for (int i = 0; i < m_ui->tabFakt->count(); ++i) {
        if (m_ui->tabFakt->widget(i)->isAncestorOf(box))
            m_ui->tabFakt->setCurrentIndex(i);
    }
    box->setFocus();
}

bool frmServis::changed() const {
    return validityTexts() != m_loadedValidity ||
           !ServisSettings::zmeny(m_loaded, ServisSettings::zapisy(m_state, controls(), m_softwZastavovani)).isEmpty();
}

bool frmServis::save() {
    std::array<QString, 5> roky;
    std::array<QString, 5> data;
    for (int i = 0; i < 5; ++i) {
        roky[i] = yearBoxes()[i]->text();
        data[i] = dateBoxes()[i]->text();
    }
    if (const std::optional<ServisSettings::ChybnaPlatnost> chyba =
            ServisSettings::prevezmiPlatnost(m_state, roky, data)) {
        m_prompts.error(chyba->zprava);
        QLineEdit* box = chyba->datum ? dateBoxes()[chyba->radek - 1] : yearBoxes()[chyba->radek - 1];
        showBox(box);
        box->selectAll();
        return false;
    }
    const std::pair<QLineEdit*, const char*> folders[] = {
        {m_ui->txtCesta, "Dir"}, {m_ui->txtCestaExp, "ExpDir"}, {m_ui->txtCestaExpSpol, "ExpSpolDir"}};
    for (const auto& [box, key] : folders) {
        const std::optional<std::filesystem::path> missing =
            ServisSettings::chybejiciSlozka(m_state.config, box->text());
        if (!missing)
            continue;
        Status created = Status::fail(QString());
        if (m_prompts.message(ServisSettings::otazkaSlozky(m_state.config, QLatin1String(key), *missing),
                              Prompts::Buttons::YesNo, Prompts::Icon::Question) == Prompts::Answer::Yes) {
            created = TextFiles::createFolder(*missing);
            if (!created)
                m_prompts.error(created.message());
        }
        if (!created) {
            showBox(box);
            return false;
        }
    }
    const QList<ServisSettings::Zapis> changes =
        ServisSettings::zmeny(m_loaded, ServisSettings::zapisy(m_state, controls(), m_softwZastavovani));
    if (Status st = ServisSettings::uloz(m_state.config, changes); !st)
        m_prompts.error(st.message());
    return true;
}

void frmServis::btnUloz_Click() {
    if (save())
        close();
}

void frmServis::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && changed()) {
        switch (m_prompts.message(ServisSettings::otazkaZmen(m_state.config), Prompts::Buttons::YesNoCancel,
                                  Prompts::Icon::Question)) {
        case Prompts::Answer::Yes:
            if (save())
                close();
            return;
        case Prompts::Answer::No:
            close();
            return;
        default:
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void frmServis::btnVen_Click() {
    close();
}

void frmServis::btnScanOn_Click() {
    if (m_host.PrepniSkener(true))
        m_prompts.info(m_state.config.DejText(kSection, QStringLiteral("SkenZapnut")));
    else
        m_prompts.error(m_state.config.DejText(kSection, QStringLiteral("PrikazNelze")) + u'\n' + m_host.chybaCtecky());
}

void frmServis::btnScanOFF_Click() {
    if (m_host.PrepniSkener(false))
        m_prompts.info(m_state.config.DejText(kSection, QStringLiteral("SkenVypnut")));
    else
        m_prompts.error(m_state.config.DejText(kSection, QStringLiteral("PrikazNelze")) + u'\n' + m_host.chybaCtecky());
}

void frmServis::btnUlozNast_Click() {
    if (Status st = m_host.ulozKonfiguraciCtecky(); !st) {
        m_prompts.error(m_state.config.DejText(kSection, QStringLiteral("PrikazNelze")) + u'\n' + st.message());
        return;
    }
    m_prompts.info(m_state.config.DejText(kSection, QStringLiteral("ZapisKonfigSkeneru")));
}

void frmServis::btnOMenu_Click() {
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    if (const std::optional<HlaseniMenuCtecky> h = otevriMenuCtecky(m_shell, here))
        m_prompts.message(h->text, Prompts::Buttons::Ok, h->icon);
}

void frmServis::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void frmServis::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QDialog::closeEvent(event);
}

void frmServis::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    for (quint8 n = 1; n <= 4; ++n) {
        if (NactiTlacitko(m_state, n))
            m_host.setPopisekRychleNabidky(n + 2, m_state.gMaskaNazev);
    }
    m_host.PopisPortu();
    m_prompts.info(m_state.config.DejText(kSection, QStringLiteral("ProvedNoveSpust")));
}

} // namespace trv

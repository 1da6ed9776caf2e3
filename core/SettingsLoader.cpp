#include "core/SettingsLoader.h"

#include "core/ErrorText.h"
#include "platform/Conventions.h"
#include "platform/TextFiles.h"

#include <cmath>
#include <limits>

namespace trv {

namespace {

const QString kData = QStringLiteral("Data");
const QString kComm = QStringLiteral("Comm");
const QString kUser = QStringLiteral("User");
const QString kFirma = QStringLiteral("Firma");
const QString kPlatnost = QStringLiteral("Platnost");
const QString kBalickovani = QStringLiteral("Balickovani");

const QString kMissingKeyText = QStringLiteral("Neexistující sekce nebo klíč.");

// The switches that take "1" as on, by their position in FirmaID (1-based).
struct SwitchPosition {
    int position;
    bool CustomerSwitches::*flag;
};
constexpr SwitchPosition kPlainSwitches[] = {
    {7, &CustomerSwitches::gFDarkove},
    {10, &CustomerSwitches::gFVycetky},
    {11, &CustomerSwitches::gFVycBezData},
    {12, &CustomerSwitches::gFSeznamSM},
    {13, &CustomerSwitches::gFTiskSM},
    {14, &CustomerSwitches::gFRozpoznaniKodem},
    {15, &CustomerSwitches::gF15},
    {16, &CustomerSwitches::gFEuro},
    {18, &CustomerSwitches::gF18},
    {19, &CustomerSwitches::gFBalikyTyden},
    {20, &CustomerSwitches::gFExportSeznamu},
    {21, &CustomerSwitches::gFCBA},
    {24, &CustomerSwitches::gFKontrolaSpolecnosti},
    {25, &CustomerSwitches::gFBalicky},
    {26, &CustomerSwitches::gFSkenerEpson},
    {27, &CustomerSwitches::gFZakaznik},
    {28, &CustomerSwitches::gFDepo},
    {29, &CustomerSwitches::gFExpVasa},
    {30, &CustomerSwitches::gFExpDoxx},
    {31, &CustomerSwitches::gFExpEdenred},
    {32, &CustomerSwitches::gFExpSodexo},
    {33, &CustomerSwitches::gF33},
    {34, &CustomerSwitches::gFDatumOdvodu},
    {35, &CustomerSwitches::gFNoReadDSR},
    {36, &CustomerSwitches::gFExportHtml},
    {37, &CustomerSwitches::gFSkupiny},
    {38, &CustomerSwitches::gFOperator},
    {40, &CustomerSwitches::gFOdvody},
    {42, &CustomerSwitches::gFExportVycetkyPath},
    {43, &CustomerSwitches::gFChybyDoOkna},
    {44, &CustomerSwitches::gF44},
};

void setSwitch(CustomerSwitches& sw, int position, QChar c) {
    switch (position) {
    case 17:
        sw.gF17 = c == u'1' || c == u'2';
        sw.gF17b = c == u'2';
        return;
    case 23:
        sw.gFExportCBA = c == u'1';
        sw.gFExportTesco = c == u'2';
        sw.gFExportExp = c == u'3';
        return;
    case 39:
        // Runs after position 24, so a "1" here always wins over the chosen-type check.
        sw.gF39 = c == u'1';
        if (sw.gF39)
            sw.gFKontrolaSpolecnosti = false;
        return;
    default:
        for (const SwitchPosition& p : kPlainSwitches) {
            if (p.position == position) {
                sw.*(p.flag) = c == u'1';
                return;
            }
        }
    }
}

bool startsWith4(const std::optional<QString>& value, QLatin1String prefix) {
    return value && value->left(4) == prefix;
}

// A stored number rounded half to even (as the 16-bit conversion did), held wide so it never overflows.
qint64 roundedWide(double v) {
    if (std::isnan(v))
        return 0;
    const double r = std::nearbyint(v);
    if (r >= 9.2e18)
        return std::numeric_limits<qint64>::max();
    if (r <= -9.2e18)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(r);
}

Result<std::filesystem::path> requiredFolder(const Config& config, const QString& key, const QString& description) {
    const std::optional<QString> value = config.ctiCestu(kData, key);
    if (!value)
        return Error{kErrMissingKey, description};
    return configuredFolder(config, *value);
}

std::filesystem::path optionalFolder(const Config& config, const QString& key) {
    const std::optional<QString> value = config.ctiCestu(kData, key);
    return value ? configuredFolder(config, *value) : std::filesystem::path();
}

} // namespace

std::filesystem::path configuredFolder(const Config& config, const QString& value) {
    std::filesystem::path p = TextFiles::toPath(value);
    if (p.empty() || p.is_absolute())
        return p;
    return config.programFolder() / p;
}

QString missingDataFolderText(const std::filesystem::path& folder, bool dailySafeBag) {
    const QString text =
        dailySafeBag ? QStringLiteral("Zvolený datový adresář DirDenSfb neexistuje, zkontrolujte cestu k datům!")
                     : QStringLiteral("Zvolený datový adresář neexistuje, zkontrolujte cestu k datům!");
    return text + u'\n' + TextFiles::toQString(folder);
}

// Boolean conversion of a stored text as BASIC's CBool does it.
std::optional<bool> storedBoolean(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (const std::optional<double> n = toNumber(t))
        return *n != 0;
    return std::nullopt;
}

QString storedBooleanText(const std::optional<QString>& value) {
    if (!value || value->left(4) == QLatin1String("Fals"))
        return QStringLiteral("False");
    if (value->left(4) == QLatin1String("True"))
        return QStringLiteral("True");
    return value->left(4);
}

Status NactiNastaveni(AppState& state) {
    const Config& config = state.config;
    state.gNoRead =
        CtiINI(kComm, QStringLiteral("NOREAD"), QStringLiteral("NOREAD"), config.gIniSoubor()).left(kSentinelValueMax);

    const QString firmaId =
        CtiINI(kFirma, QStringLiteral("FirmaID"), QString(), config.gIniSoubor()).left(kSentinelValueMax);
    state.sw = CustomerSwitches{};
    if (firmaId.isEmpty()) {
        // The digits written here are not read back in this run: every switch stays off.
        return config.zapis(kFirma, QStringLiteral("FirmaID"), QStringLiteral("0000000000"));
    }
    for (qsizetype i = 0; i < firmaId.size(); ++i)
        setSwitch(state.sw, static_cast<int>(i + 1), firmaId.at(i));
    return Status::success();
}

bool NactiNastaveniPortu(const Config& config, PortSettings& port) {
    const std::optional<QString> portText = config.ctiSentinel(kComm, QStringLiteral("Port"));
    if (!portText)
        return false;
    port.gPort = 0;
    for (quint8 n = 1; n <= 6; ++n) {
        if (*portText == QStringLiteral("COM%1").arg(n))
            port.gPort = n;
    }

    const std::optional<QString> handshake = config.ctiSentinel(kComm, QStringLiteral("HShaking"));
    if (!handshake)
        return false;
    int code = 0;
    if (*handshake == QLatin1String("XOn/XOff"))
        code = 1;
    else if (*handshake == QLatin1String("RTS/CTS"))
        code = 2;
    else if (*handshake == QLatin1String("RTS XOn/XOff"))
        code = 3;
    port.gHShaking = QString::number(code);

    const std::optional<QString> baud = config.ctiSentinel(kComm, QStringLiteral("BaudRate"));
    if (!baud)
        return false;
    port.gBaudRate = *baud;
    const std::optional<QString> dataBits = config.ctiSentinel(kComm, QStringLiteral("Data bits"));
    if (!dataBits)
        return false;
    port.gDataBits = *dataBits;
    const std::optional<QString> stopBits = config.ctiSentinel(kComm, QStringLiteral("Stop bits"));
    if (!stopBits)
        return false;
    port.gStopBits = *stopBits;

    const std::optional<QString> parity = config.ctiSentinel(kComm, QStringLiteral("Parity"));
    if (!parity)
        return false;
    const QString upper = parity->toUpper();
    if (upper == QLatin1String("EVEN"))
        port.gParity = QStringLiteral("E");
    else if (upper == QLatin1String("ODD"))
        port.gParity = QStringLiteral("O");
    else if (upper == QLatin1String("NONE"))
        port.gParity = QStringLiteral("N");
    else if (upper == QLatin1String("MARK"))
        port.gParity = QStringLiteral("M");
    else if (upper == QLatin1String("SPACE"))
        port.gParity = QStringLiteral("S");
    else
        port.gParity.clear();

    port.gInBufferSize = config.ctiSentinel(kComm, QStringLiteral("InBufferSize")).value_or(QStringLiteral("4096"));
    port.gOutBufferSize = config.ctiSentinel(kComm, QStringLiteral("OutBufferSize")).value_or(QStringLiteral("512"));
    return true;
}

bool NactiNastaveniPortu(AppState& state) {
    return NactiNastaveniPortu(state.config, state.port);
}

Result<std::filesystem::path> DejCestuDat(const Config& config) {
    return requiredFolder(config, QStringLiteral("Dir"), kMissingKeyText);
}

Result<std::filesystem::path> DejCestuExportu(const Config& config) {
    return requiredFolder(config, QStringLiteral("ExpDir"), kMissingKeyText);
}

Result<std::filesystem::path> DejCestuExpSpol(const Config& config) {
    return requiredFolder(config, QStringLiteral("ExpSpolDir"), kMissingKeyText);
}

Result<std::filesystem::path> DejCestuDenSFB(const Config& config) {
    return requiredFolder(config, QStringLiteral("DirDenSFB"),
                          QStringLiteral("Neexistující sekce DENSFBDir nebo klíč."));
}

Result<std::filesystem::path> DejCestuSFB(const Config& config) {
    return requiredFolder(config, QStringLiteral("DirSFB"), QStringLiteral("Neexistující sekce SFBDir nebo klíč."));
}

std::filesystem::path DejCestuAS400(const Config& config) {
    return optionalFolder(config, QStringLiteral("DirAS400"));
}

std::filesystem::path DejCestuVycetek(const Config& config) {
    return optionalFolder(config, QStringLiteral("ExportVycetkyPath"));
}

Result<std::filesystem::path> DejCestuUCT(const Config& config) {
    if (const std::optional<QString> value = config.ctiCestu(kData, QStringLiteral("UCTDir")))
        return configuredFolder(config, *value);
    return DejCestuDat(config);
}

QString folderErrorText(const Config& config, DataFolder folder, const Error& error) {
    QString key = QStringLiteral("neexCestaDatum");
    if (folder == DataFolder::Vycetek)
        key = QStringLiteral("neexCestaVycetky");
    else if (folder == DataFolder::UCT)
        key = QStringLiteral("neexCestUCT");
    return config.DejText(QStringLiteral("procFce"), key) + u'\n' +
           errorNumberAndDescription(error, QStringLiteral("Num"), QStringLiteral("descr"));
}

QString DejOddelovacExportu(const Config& config) {
    const QString value =
        CtiINI(kData, QStringLiteral("ExpTxtSeparator"), QStringLiteral(" "), config.gIniSoubor()).left(4);
    if (value.startsWith(u' '))
        return QStringLiteral(" ");
    return value;
}

namespace {

// The readers shared by the start-up and the settings window. Values are read whole: the window writes them
// back, and a cut value would be saved cut.
class SettingReader {
public:
    SettingReader(const Config& config, QList<UnreadableSetting>* unreadable)
        : m_config(config), m_unreadable(unreadable) {}

    std::optional<QString> read(const QString& section, const char* key) const {
        return m_config.ctiCele(section, QString::fromLatin1(key));
    }

    void report(const QString& section, const QString& key, const QString& value, const QString& reason) const {
        if (m_unreadable)
            m_unreadable->append(UnreadableSetting{section, key, value, reason});
    }

    // A Boolean of the stored text (or of its first `prefix` characters): missing gives False; a text that is
    // none gives False and is reported.
    bool boolean(const QString& section, const char* key, qsizetype prefix = -1) const {
        const std::optional<QString> value = read(section, key);
        if (!value)
            return false;
        if (const std::optional<bool> b = storedBoolean(prefix < 0 ? *value : value->left(prefix)))
            return *b;
        report(section, QString::fromLatin1(key), *value, QStringLiteral("není logická hodnota (True nebo False)"));
        return false;
    }

private:
    const Config& m_config;
    QList<UnreadableSetting>* m_unreadable;
};

const QString kBlockedDefault = QStringLiteral("000000000");

} // namespace

void loadUserSettings(AppState& state, QList<UnreadableSetting>* unreadable) {
    const SettingReader r(state.config, unreadable);
    state.gAutoDorovn = storedBooleanText(r.read(kUser, "AutoDorovn"));
    state.gAutoDupl = storedBooleanText(r.read(kUser, "AutoDupl"));
    const std::optional<QString> mode = r.read(kUser, "Mode");
    state.gMode = mode ? mode->left(3) : QStringLiteral("STD");
    state.gAutoPoc = r.boolean(kUser, "AutoPoc");
}

void loadValiditySettings(AppState& state, QList<UnreadableSetting>* unreadable) {
    const SettingReader r(state.config, unreadable);
    state.gKontrolovat = r.boolean(kPlatnost, "Kontrolovat");
    // A hand-edited year or date that cannot be read keeps the default of a missing key.
    for (int i = 0; i < 5; ++i) {
        const QByteArray rokKey = "PovolitRok" + QByteArray::number(i + 1);
        state.gPovolitRok[i] = 2004;
        if (const std::optional<QString> year = r.read(kPlatnost, rokKey.constData())) {
            if (const std::optional<qint32> y = storedYear(*year))
                state.gPovolitRok[i] = *y;
            else
                r.report(kPlatnost, QString::fromLatin1(rokKey), *year, QStringLiteral("není celé číslo"));
        }
        const QByteArray doKey = "PovolitDo" + QByteArray::number(i + 1);
        state.gPovolitDo[i] = QDate(2004, 1, 1);
        if (const std::optional<QString> date = r.read(kPlatnost, doKey.constData())) {
            if (const std::optional<QDate> d = parseDate(date->trimmed()))
                state.gPovolitDo[i] = *d;
            else
                r.report(kPlatnost, QString::fromLatin1(doKey), *date, QStringLiteral("není datum"));
        }
    }
    state.gKontrolovatCisla = r.boolean(kPlatnost, "KontrolovatCisla", 5);
    state.gBlokovatCisloOd = r.read(kPlatnost, "BlokovatCisloOd").value_or(kBlockedDefault);
    state.gBlokovatCisloDo = r.read(kPlatnost, "BlokovatCisloDo").value_or(kBlockedDefault);
    state.gBlokovatCisloOd1 = r.read(kPlatnost, "BlokovatCisloOd1").value_or(kBlockedDefault);
    state.gBlokovatCisloDo1 = r.read(kPlatnost, "BlokovatCisloDo1").value_or(kBlockedDefault);
    state.gBlokovatCisloOd2 = r.read(kPlatnost, "BlokovatCisloOd2").value_or(kBlockedDefault);
    state.gBlokovatCisloDo2 = r.read(kPlatnost, "BlokovatCisloDo2").value_or(kBlockedDefault);
    state.gPovDarkove = r.boolean(kPlatnost, "PovDarkove", 5);
}

void loadCompanyTexts(AppState& state) {
    const SettingReader r(state.config, nullptr);
    state.gFirmaNazev = r.read(kFirma, "Nazev").value_or(QString());
    state.gFirmaHlavicka = r.read(kFirma, "Hlavicka").value_or(QString());
}

bool nactiAS400(const Config& config) {
    const std::optional<QString> value = config.ctiCele(kUser, QStringLiteral("AS400"));
    return value && value->left(4) != QLatin1String("Fals");
}

bool nactiExpSpolZkraceny(const Config& config) {
    return startsWith4(config.ctiCele(kData, QStringLiteral("ExpSpolZkraceny")), QLatin1String("True"));
}

bool nactiSoftwZastavovani(const Config& config, QList<UnreadableSetting>* unreadable) {
    return SettingReader(config, unreadable).boolean(kUser, "SoftwZastavovani", 5);
}

std::optional<qint32> storedYear(const QString& text) {
    const std::optional<qint64> y = toInteger(text);
    if (!y || *y < std::numeric_limits<qint32>::min() || *y > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(*y);
}

void loadMainWindowSettings(AppState& state) {
    const Config& config = state.config;
    state.gDebug = startsWith4(config.ctiSentinel(kData, QStringLiteral("Debug")), QLatin1String("True"));
    state.gHideRightPanel =
        startsWith4(config.ctiSentinel(kUser, QStringLiteral("HideRightPanel")), QLatin1String("True"));
    loadCompanyTexts(state);
    loadUserSettings(state);
    loadValiditySettings(state);
}

Status loadDataFolders(AppState& state) {
    const Result<std::filesystem::path> data = DejCestuDat(state.config);
    if (!data.ok())
        return Status(data.error());
    // The AS400 files fall back to the cash-desk data folder, also in daily safe-bag mode.
    std::filesystem::path as400 = DejCestuAS400(state.config);
    if (as400.empty())
        as400 = data.value();
    std::filesystem::path current = data.value();
    if (state.gDennySafeBag) {
        const Result<std::filesystem::path> daily = DejCestuDenSFB(state.config);
        if (!daily.ok())
            return Status(daily.error());
        current = daily.value();
    }
    state.gDatovyAdresar = current;
    state.gDirAS400 = as400;
    return Status::success();
}

void loadReceivingSettings(AppState& state) {
    const Config& config = state.config;
    const auto read = [&config](const QString& section, const char* key) {
        return config.ctiSentinel(section, QString::fromLatin1(key));
    };
    const auto notFalse = [](const std::optional<QString>& v) { return v && v->left(4) != QLatin1String("Fals"); };

    state.gAutoPrijem = notFalse(read(kUser, "AutoPrijem"));
    state.gAS400 = nactiAS400(config);
    state.gExpSpolZkraceny = nactiExpSpolZkraceny(config);

    const std::optional<QString> mez = read(kBalickovani, "MezBalicku");
    state.gMezBalicku = mez ? val(*mez) : 200.0;
    const std::optional<QString> cislo = read(kBalickovani, "DalsiCisloBaliku");
    state.gCisloBaliku = cislo ? roundedWide(val(*cislo)) : 1;
    const std::optional<QString> sleep = read(kComm, "DTRSleep");
    state.gDTRSleep = sleep ? roundedWide(val(*sleep)) : 2000;
}

} // namespace trv

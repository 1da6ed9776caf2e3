#include "settings/ServisSettings.h"

#include "core/AppState.h"
#include "core/SettingsLoader.h"
#include "core/SharedHelpers.h"
#include "platform/Conventions.h"
#include "platform/TextFiles.h"

#include <limits>

namespace trv::ServisSettings {

namespace {

const QString kData = QStringLiteral("Data");
const QString kComm = QStringLiteral("Comm");
const QString kUser = QStringLiteral("User");
const QString kFirma = QStringLiteral("Firma");
const QString kPlatnost = QStringLiteral("Platnost");
const QString kServis = QStringLiteral("frmServis");

QString boolText(bool b) {
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

QString keyName(const QString& section, const QString& key) {
    return QStringLiteral("[%1] %2").arg(section, key);
}

class Loader {
public:
    Loader(AppState& state, Nacteni& out) : m_state(state), m_config(state.config), m_out(out) {}

    // Keys are read whole: the window writes them back, and a cut value would be saved cut.
    std::optional<QString> read(const QString& section, const QString& key) const {
        return m_config.ctiCestu(section, key);
    }

    void chyba(const QString& section, const QString& key, const QString& value, const QString& reason) {
        m_out.chyby.append(QStringLiteral("%1 = „%2“: %3").arg(keyName(section, key), value, reason));
    }

    void chybi(const QString& section, const QString& key, int number, const QString& description) {
        m_out.chyby.append(
            QStringLiteral("%1: Num: %2, descr.: %3").arg(keyName(section, key)).arg(number).arg(description));
    }

    // A folder key: the text as configured; a folder that does not exist keeps its text and is reported.
    std::optional<QString> slozka(const QString& key, bool required) {
        const std::optional<QString> value = read(kData, key);
        if (!value) {
            if (required)
                chybi(kData, key, kErrMissingKey, QStringLiteral("Neexistující sekce nebo klíč."));
            return std::nullopt;
        }
        std::filesystem::path p = TextFiles::toPath(*value);
        if (!p.empty() && p.is_relative())
            p = m_config.programFolder() / p;
        std::error_code ec;
        if (value->isEmpty() || !std::filesystem::is_directory(p, ec)) {
            m_out.chybejiciSlozky.append(m_config.DejText(kServis, QStringLiteral("AdresarNeexistuje")) + u'\n' +
                                         QStringLiteral("%1 = %2").arg(keyName(kData, key), *value));
        }
        return value;
    }

    // A Boolean read from the first 5 characters; a text that is none gives False and is reported.
    bool boolean5(const QString& section, const QString& key) {
        const std::optional<QString> value = read(section, key);
        if (!value)
            return false;
        if (const std::optional<bool> b = storedBoolean(value->left(5)))
            return *b;
        chyba(section, key, *value, QStringLiteral("není logická hodnota (True nebo False)"));
        return false;
    }

    // "True"/"False" kept as text: the box is ticked for "True", cleared for "Fals..." and a missing key, and
    // left alone for anything else, whose first four characters the program keeps.
    std::optional<bool> booleanText(const QString& key, QString& global) {
        global = storedBooleanText(read(kUser, key));
        if (global == QLatin1String("True"))
            return true;
        if (global == QLatin1String("False"))
            return false;
        return std::nullopt;
    }

    AppState& m_state;
    const Config& m_config;
    Nacteni& m_out;
};

void nactiPosledniCislo(const Config& config, Nacteni& out) {
    const QString key = QStringLiteral("LastFile");
    const QString value = config.ctiCestu(kData, key).value_or(QStringLiteral("100000001"));
    QString cislo = value;
    if (cislo.size() > 8)
        cislo = cislo.left(8);
    else if (cislo.size() < 8)
        cislo = doplnCislo(cislo);
    out.posledniCislo = cislo;
    if (cislo != value) {
        if (Status st = config.zapis(kData, key, cislo); !st)
            out.chyby.append(QStringLiteral("%1 = „%2“: %3").arg(keyName(kData, key), cislo, st.message()));
    }
}

void nactiPort(AppState& state, Loader& l, Nacteni& out) {
    if (!NactiNastaveniPortu(state)) {
        out.chyby.append(QStringLiteral("[Comm]: Num: 60002, descr.: ") +
                         state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("ChybaPortuSekce")));
        return;
    }
    const PortSettings& p = state.port;
    out.portNacten = true;
    if (p.gPort >= 1 && p.gPort <= 6)
        out.port = QStringLiteral("COM%1").arg(p.gPort);
    else
        l.chyba(kComm, QStringLiteral("Port"), l.read(kComm, QStringLiteral("Port")).value_or(QString()),
                QStringLiteral("port musí být COM1 až COM6"));
    out.baud = baudIndex(p.gBaudRate);
    if (!out.baud)
        l.chyba(kComm, QStringLiteral("BaudRate"), p.gBaudRate,
                QStringLiteral("tuto přenosovou rychlost nelze zvolit"));
    if (const std::optional<qint64> bits = toInteger(p.gDataBits); bits && *bits >= 6 && *bits <= 8)
        out.dataBits = static_cast<int>(*bits);
    else
        l.chyba(kComm, QStringLiteral("Data bits"), p.gDataBits, QStringLiteral("datové bity musí být 6, 7 nebo 8"));
    if (const qsizetype i = kStopBits.indexOf(p.gStopBits); i >= 0)
        out.stopBits = static_cast<int>(i);
    else
        l.chyba(kComm, QStringLiteral("Stop bits"), p.gStopBits, QStringLiteral("stop bity musí být 1, 1.5 nebo 2"));
    if (const qsizetype i = QStringLiteral("EONMS").indexOf(p.gParity); !p.gParity.isEmpty() && i >= 0)
        out.parity = static_cast<int>(i);
    else
        l.chyba(kComm, QStringLiteral("Parity"), l.read(kComm, QStringLiteral("Parity")).value_or(QString()),
                QStringLiteral("parita musí být Even, Odd, None, Mark nebo Space"));
    const QString hs = l.read(kComm, QStringLiteral("HShaking")).value_or(QString());
    if (const qsizetype i = kHandshakes.indexOf(hs); i >= 0)
        out.handshake = static_cast<int>(i);
    else
        l.chyba(kComm, QStringLiteral("HShaking"), hs,
                QStringLiteral("řízení toku musí být None, XOn/XOff, RTS/CTS nebo RTS XOn/XOff"));
}

} // namespace

QString baudText(int index) {
    for (const int i : kBaudIndexes) {
        if (i == index) {
            // Rates past 19200 have a button numbered by the rate divided by 100.
            const bool divided = index == 384 || index == 560 || index == 1280 || index == 2560;
            return QString::number(divided ? static_cast<qint64>(index) * 100 : index);
        }
    }
    return {};
}

std::optional<int> baudIndex(const QString& rate) {
    for (const int i : kBaudIndexes) {
        if (baudText(i) == rate.trimmed())
            return i;
    }
    return std::nullopt;
}

QString doplnCislo(const QString& cislo) {
    QString out = cislo;
    while (out.size() < 8)
        out.append(u'0');
    return out;
}

Nacteni nacti(AppState& state, bool& softwZastavovani) {
    Nacteni out;
    Loader l(state, out);
    const Config& config = state.config;

    nactiPosledniCislo(config, out);

    out.dir = l.slozka(QStringLiteral("Dir"), true);
    out.expDir = l.slozka(QStringLiteral("ExpDir"), false);
    out.expSpolDir = l.slozka(QStringLiteral("ExpSpolDir"), false);
    const std::optional<QString> zkraceny = l.read(kData, QStringLiteral("ExpSpolZkraceny"));
    state.gExpSpolZkraceny = zkraceny && zkraceny->left(4) == QLatin1String("True");

    const std::optional<QString> mode = l.read(kUser, QStringLiteral("Mode"));
    state.gMode = mode ? mode->left(3) : QStringLiteral("STD");
    out.dorovn = l.booleanText(QStringLiteral("AutoDorovn"), state.gAutoDorovn);
    out.dup = l.booleanText(QStringLiteral("AutoDupl"), state.gAutoDupl);
    state.gAS400 = l.boolean5(kUser, QStringLiteral("AS400"));
    softwZastavovani = l.boolean5(kUser, QStringLiteral("SoftwZastavovani"));
    const QString autoPoc = l.read(kUser, QStringLiteral("AutoPoc")).value_or(QStringLiteral("false"));
    if (const std::optional<bool> b = storedBoolean(autoPoc)) {
        state.gAutoPoc = *b;
    } else {
        state.gAutoPoc = false;
        l.chyba(kUser, QStringLiteral("AutoPoc"), autoPoc, QStringLiteral("není logická hodnota (True nebo False)"));
    }

    state.gKontrolovat = l.boolean5(kPlatnost, QStringLiteral("Kontrolovat"));
    for (int i = 0; i < 5; ++i) {
        const QString n = QString::number(i + 1);
        const QString rokKey = QStringLiteral("PovolitRok") + n;
        const QString rok = l.read(kPlatnost, rokKey).value_or(QStringLiteral("2004"));
        const std::optional<qint64> y = toInteger(rok);
        if (y && *y >= std::numeric_limits<qint32>::min() && *y <= std::numeric_limits<qint32>::max()) {
            state.gPovolitRok[i] = static_cast<qint32>(*y);
        } else {
            state.gPovolitRok[i] = 2004;
            l.chyba(kPlatnost, rokKey, rok, QStringLiteral("není celé číslo"));
        }
        const QString doKey = QStringLiteral("PovolitDo") + n;
        const QString datum = l.read(kPlatnost, doKey).value_or(QStringLiteral("1.1.2004"));
        if (const std::optional<QDate> d = parseDate(datum)) {
            state.gPovolitDo[i] = *d;
        } else {
            state.gPovolitDo[i] = QDate(2004, 1, 1);
            l.chyba(kPlatnost, doKey, datum, QStringLiteral("není datum"));
        }
    }
    state.gKontrolovatCisla = l.boolean5(kPlatnost, QStringLiteral("KontrolovatCisla"));
    const QString od = QStringLiteral("000000000");
    const QString po = QStringLiteral("999999999");
    state.gBlokovatCisloOd = l.read(kPlatnost, QStringLiteral("BlokovatCisloOd")).value_or(od);
    state.gBlokovatCisloOd1 = l.read(kPlatnost, QStringLiteral("BlokovatCisloOd1")).value_or(od);
    state.gBlokovatCisloOd2 = l.read(kPlatnost, QStringLiteral("BlokovatCisloOd2")).value_or(od);
    state.gBlokovatCisloDo = l.read(kPlatnost, QStringLiteral("BlokovatCisloDo")).value_or(po);
    state.gBlokovatCisloDo1 = l.read(kPlatnost, QStringLiteral("BlokovatCisloDo1")).value_or(po);
    state.gBlokovatCisloDo2 = l.read(kPlatnost, QStringLiteral("BlokovatCisloDo2")).value_or(po);
    state.gPovDarkove = l.boolean5(kPlatnost, QStringLiteral("PovDarkove"));
    out.nazevFirmy = l.read(kFirma, QStringLiteral("Nazev")).value_or(QString());
    out.hlavicka = l.read(kFirma, QStringLiteral("Hlavicka")).value_or(QString());

    nactiPort(state, l, out);

    for (quint8 n = 1; n <= 4; ++n) {
        Maska& m = out.masky[n - 1];
        QString nazev;
        QString maska;
        m.zapnuta = NactiTlacitko(config, n, nazev, maska);
        if (m.zapnuta) {
            m.nazev = nazev;
            m.maska = maska;
            state.gMaskaNazev = nazev;
            state.gMaska = maska;
        }
    }
    return out;
}

Status uloz(const AppState& state, const Ulozeni& h, bool softwZastavovani) {
    const Config& config = state.config;
    bool failed = false;
    const auto write = [&](const QString& section, const char* key, const QString& value) {
        if (!config.zapis(section, QString::fromLatin1(key), value))
            failed = true;
    };
    const auto writeUnlessEmpty = [&](const QString& section, const char* key, const QString& value) {
        // An empty box stands for a key the load could not show; writing it would lose the stored value.
        if (!value.isEmpty())
            write(section, key, value);
    };

    writeUnlessEmpty(kData, "Dir", h.dir);
    writeUnlessEmpty(kData, "ExpDir", h.expDir);
    writeUnlessEmpty(kData, "ExpSpolDir", h.expSpolDir);
    write(kData, "ExpSpolZkraceny", boolText(state.gExpSpolZkraceny));
    write(kData, "LastFile", doplnCislo(h.posledniCislo));
    writeUnlessEmpty(kComm, "Port", h.port);
    writeUnlessEmpty(kComm, "HShaking", h.hShaking);
    writeUnlessEmpty(kComm, "BaudRate", h.baudRate);
    writeUnlessEmpty(kComm, "Data bits", h.dataBits);
    writeUnlessEmpty(kComm, "Stop bits", h.stopBits);
    writeUnlessEmpty(kComm, "Parity", h.parity);
    write(kUser, "Mode", state.gMode);
    write(kUser, "AutoDorovn", state.gAutoDorovn);
    write(kUser, "AutoDupl", state.gAutoDupl);
    write(kUser, "AS400", boolText(state.gAS400));
    write(kUser, "AutoPoc", boolText(state.gAutoPoc));
    write(kFirma, "Nazev", h.nazevFirmy);
    write(kFirma, "Hlavicka", h.hlavicka);
    write(kPlatnost, "Kontrolovat", boolText(state.gKontrolovat));
    for (int i = 0; i < 5; ++i)
        write(kPlatnost, QStringLiteral("PovolitRok%1").arg(i + 1).toLatin1().constData(),
              QString::number(state.gPovolitRok[i]));
    for (int i = 0; i < 5; ++i)
        write(kPlatnost, QStringLiteral("PovolitDo%1").arg(i + 1).toLatin1().constData(),
              dateShort(state.gPovolitDo[i]));
    write(kPlatnost, "KontrolovatCisla", boolText(state.gKontrolovatCisla));
    write(kPlatnost, "BlokovatCisloOd", state.gBlokovatCisloOd);
    write(kPlatnost, "BlokovatCisloDo", state.gBlokovatCisloDo);
    write(kPlatnost, "BlokovatCisloOd1", state.gBlokovatCisloOd1);
    write(kPlatnost, "BlokovatCisloDo1", state.gBlokovatCisloDo1);
    write(kPlatnost, "BlokovatCisloOd2", state.gBlokovatCisloOd2);
    write(kPlatnost, "BlokovatCisloDo2", state.gBlokovatCisloDo2);
    write(kPlatnost, "PovDarkove", boolText(state.gPovDarkove));

    for (quint8 n = 1; n <= 4; ++n) {
        const Maska& m = h.masky[n - 1];
        if (!UlozTlacitko(config, n, m.nazev, DoplnMasku(m.maska)))
            failed = true;
    }
    write(kUser, "SoftwZastavovani", boolText(softwZastavovani));

    if (failed)
        return Status::fail(config.DejText(kServis, QStringLiteral("NastalaChyba")) +
                            TextFiles::toQString(config.gIniSoubor()));
    return Status::success();
}

} // namespace trv::ServisSettings

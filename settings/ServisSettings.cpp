#include "settings/ServisSettings.h"

#include "core/AppState.h"
#include "core/SettingsLoader.h"
#include "core/SharedHelpers.h"
#include "platform/Conventions.h"
#include "platform/TextFiles.h"

#include <algorithm>

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
        std::error_code ec;
        if (value->isEmpty() || !std::filesystem::is_directory(configuredFolder(m_config, *value), ec)) {
            m_out.chybejiciSlozky.append(m_config.DejText(kServis, QStringLiteral("AdresarNeexistuje")) + u'\n' +
                                         QStringLiteral("%1 = %2").arg(keyName(kData, key), *value));
        }
        return value;
    }

    AppState& m_state;
    const Config& m_config;
    Nacteni& m_out;
};

void nactiPosledniCislo(const Config& config, Nacteni& out) {
    const QString key = QStringLiteral("LastFile");
    const std::optional<QString> stored = config.ctiCestu(kData, key);
    const QString value = stored.value_or(QStringLiteral("10000000"));
    // A receipt stores the whole name of its day file here ("261211101_1"): a longer value is kept whole, or
    // merely opening this window would change the number the next receipt and its step back work from.
    QString cislo = value;
    if (cislo.size() < 8)
        cislo = doplnCislo(cislo);
    out.posledniCislo = cislo;
    if (!stored || cislo != value) {
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
    // The port reader's rule: the four names, any other text is no handshake.
    out.handshake = p.gHShaking.toInt();
}

// The clean-up switches kept as text: the box is ticked for "True", cleared for "False", and left alone for
// anything else, whose first four characters the program keeps.
std::optional<bool> booleanBox(const QString& text) {
    if (text == QLatin1String("True"))
        return true;
    if (text == QLatin1String("False"))
        return false;
    return std::nullopt;
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

std::optional<ChybnaPlatnost> prevezmiPlatnost(AppState& state, const std::array<QString, 5>& roky,
                                               const std::array<QString, 5>& data) {
    const auto chyba = [](bool datum, int i, const QString& text) {
        const QString pole = datum ? QStringLiteral("Umožnit načtení do") : QStringLiteral("Povolit pro rok");
        const QString ocekavano = datum ? QStringLiteral("datum (d.m.rrrr)") : QStringLiteral("rok (celé číslo)");
        return ChybnaPlatnost{datum, i + 1,
                              QStringLiteral("Pole „%1“ na %2. řádku obsahuje „%3“, což není %4. Nastavení nebylo "
                                             "uloženo.")
                                  .arg(pole, QString::number(i + 1), text, ocekavano)};
    };
    std::array<qint32, 5> years{};
    std::array<QDate, 5> dates{};
    for (int i = 0; i < 5; ++i) {
        const std::optional<qint32> y = storedYear(roky[i]);
        if (!y)
            return chyba(false, i, roky[i]);
        const std::optional<QDate> d = parseDate(data[i].trimmed());
        if (!d)
            return chyba(true, i, data[i]);
        years[i] = *y;
        dates[i] = *d;
    }
    for (int i = 0; i < 5; ++i) {
        state.gPovolitRok[i] = years[i];
        state.gPovolitDo[i] = dates[i];
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> chybejiciSlozka(const Config& config, const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    const std::filesystem::path folder = configuredFolder(config, text);
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec))
        return std::nullopt;
    return folder;
}

QString otazkaSlozky(const Config& config, const QString& key, const std::filesystem::path& folder) {
    // The window's texts come from the language file; the folder and its key are put between them.
    return config.DejText(kServis, QStringLiteral("SlozkaNeexistuje")) + QStringLiteral("\n") +
           TextFiles::toQString(folder) + QStringLiteral(" (") + keyName(kData, key) + QStringLiteral(")\n") +
           config.DejText(kServis, QStringLiteral("VytvoritSlozku"));
}

QString otazkaZmen(const Config& config) {
    return config.DejText(kServis, QStringLiteral("UlozitZmeny"));
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
    state.gExpSpolZkraceny = nactiExpSpolZkraceny(config);
    QList<UnreadableSetting> unreadable;
    loadUserSettings(state, &unreadable);
    out.dorovn = booleanBox(state.gAutoDorovn);
    out.dup = booleanBox(state.gAutoDupl);
    state.gAS400 = nactiAS400(config);
    softwZastavovani = nactiSoftwZastavovani(config, &unreadable);
    loadValiditySettings(state, &unreadable);
    loadCompanyTexts(state);
    out.nazevFirmy = state.gFirmaNazev;
    out.hlavicka = state.gFirmaHlavicka;
    for (const UnreadableSetting& u : unreadable)
        l.chyba(u.section, u.key, u.value, u.reason);

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

QList<Zapis> zapisy(const AppState& state, const Ulozeni& h, bool softwZastavovani) {
    QList<Zapis> out;
    const auto write = [&](const QString& section, const QString& key, const QString& value, int skupina = 0) {
        out.append(Zapis{section, key, value, skupina});
    };
    const auto writeUnlessEmpty = [&](const QString& section, const char* key, const QString& value) {
        // An empty box stands for a key the load could not show; writing it would lose the stored value.
        if (!value.isEmpty())
            write(section, QString::fromLatin1(key), value);
    };
    const auto put = [&](const QString& section, const char* key, const QString& value) {
        write(section, QString::fromLatin1(key), value);
    };

    writeUnlessEmpty(kData, "Dir", h.dir);
    writeUnlessEmpty(kData, "ExpDir", h.expDir);
    writeUnlessEmpty(kData, "ExpSpolDir", h.expSpolDir);
    put(kData, "ExpSpolZkraceny", boolText(state.gExpSpolZkraceny));
    put(kData, "LastFile", doplnCislo(h.posledniCislo));
    writeUnlessEmpty(kComm, "Port", h.port);
    writeUnlessEmpty(kComm, "HShaking", h.hShaking);
    writeUnlessEmpty(kComm, "BaudRate", h.baudRate);
    writeUnlessEmpty(kComm, "Data bits", h.dataBits);
    writeUnlessEmpty(kComm, "Stop bits", h.stopBits);
    writeUnlessEmpty(kComm, "Parity", h.parity);
    put(kUser, "Mode", state.gMode);
    put(kUser, "AutoDorovn", state.gAutoDorovn);
    put(kUser, "AutoDupl", state.gAutoDupl);
    put(kUser, "AS400", boolText(state.gAS400));
    put(kUser, "AutoPoc", boolText(state.gAutoPoc));
    put(kFirma, "Nazev", h.nazevFirmy);
    put(kFirma, "Hlavicka", h.hlavicka);
    put(kPlatnost, "Kontrolovat", boolText(state.gKontrolovat));
    for (int i = 0; i < 5; ++i)
        write(kPlatnost, QStringLiteral("PovolitRok%1").arg(i + 1), QString::number(state.gPovolitRok[i]));
    for (int i = 0; i < 5; ++i)
        write(kPlatnost, QStringLiteral("PovolitDo%1").arg(i + 1), dateShort(state.gPovolitDo[i]));
    put(kPlatnost, "KontrolovatCisla", boolText(state.gKontrolovatCisla));
    put(kPlatnost, "BlokovatCisloOd", state.gBlokovatCisloOd);
    put(kPlatnost, "BlokovatCisloDo", state.gBlokovatCisloDo);
    put(kPlatnost, "BlokovatCisloOd1", state.gBlokovatCisloOd1);
    put(kPlatnost, "BlokovatCisloDo1", state.gBlokovatCisloDo1);
    put(kPlatnost, "BlokovatCisloOd2", state.gBlokovatCisloOd2);
    put(kPlatnost, "BlokovatCisloDo2", state.gBlokovatCisloDo2);
    put(kPlatnost, "PovDarkove", boolText(state.gPovDarkove));
    for (int n = 1; n <= 4; ++n) {
        // A mask is written as a pair: the quick menu shows a button only when both keys are there.
        const QString section = QStringLiteral("Button%1").arg(n);
        const Maska& m = h.masky[n - 1];
        write(section, QStringLiteral("Name"), m.nazev, n);
        write(section, QStringLiteral("Mask"), DoplnMasku(m.maska), n);
    }
    put(kUser, "SoftwZastavovani", boolText(softwZastavovani));
    return out;
}

QList<Zapis> zmeny(const QList<Zapis>& puvodni, const QList<Zapis>& nove) {
    const auto stejny = [&](const Zapis& z) {
        return std::any_of(puvodni.cbegin(), puvodni.cend(), [&](const Zapis& p) {
            return p.section == z.section && p.key == z.key && p.value == z.value;
        });
    };
    QList<int> zmeneneSkupiny;
    for (const Zapis& z : nove) {
        if (z.skupina != 0 && !stejny(z))
            zmeneneSkupiny.append(z.skupina);
    }
    QList<Zapis> out;
    for (const Zapis& z : nove) {
        if (!stejny(z) || (z.skupina != 0 && zmeneneSkupiny.contains(z.skupina)))
            out.append(z);
    }
    return out;
}

Status uloz(const Config& config, const QList<Zapis>& zapisy) {
    bool failed = false;
    for (const Zapis& z : zapisy) {
        if (!config.zapis(z.section, z.key, z.value))
            failed = true;
    }
    if (failed)
        return Status::fail(config.DejText(kServis, QStringLiteral("NastalaChyba")) +
                            TextFiles::toQString(config.gIniSoubor()));
    return Status::success();
}

} // namespace trv::ServisSettings

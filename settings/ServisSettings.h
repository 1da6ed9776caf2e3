#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>

#include <array>
#include <filesystem>
#include <optional>

namespace trv {

struct AppState;
class Config;

// The settings window's work: reading the configuration into the running program and into the values its
// controls show, and writing the controls and the running program's settings back to the configuration.
namespace ServisSettings {

// The option-button values of the port page. A stored value that has no button is an error of the load.
inline constexpr std::array<int, 12> kBaudIndexes{110, 300, 600, 1200, 2400, 4800, 9600, 19200, 384, 560, 1280, 2560};
// The rate of a baud button ("38400" for 384); empty for an index without a button.
QString baudText(int index);
// The button of a stored rate (384 for "38400"); nullopt when no button has it.
std::optional<int> baudIndex(const QString& rate);
inline const QStringList kStopBits{QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")};
inline const QStringList kParity{QStringLiteral("Even"), QStringLiteral("Odd"), QStringLiteral("None"),
                                 QStringLiteral("Mark"), QStringLiteral("Space")};
inline const QStringList kHandshakes{QStringLiteral("None"), QStringLiteral("XOn/XOff"), QStringLiteral("RTS/CTS"),
                                     QStringLiteral("RTS XOn/XOff")};

// One of the four mask buttons.
struct Maska {
    bool zapnuta = false;
    QString nazev;
    QString maska;
};

// What the controls show after the load, beside the settings the load put into AppState.
struct Nacteni {
    // The folders as configured (a relative folder stays relative); nullopt when the key is missing.
    std::optional<QString> dir, expDir, expSpolDir;
    QString posledniCislo; // [Data] LastFile, brought to 8 characters
    // chkDorovn and chkDup: ticked, cleared, or nullopt when the stored text is neither (the box stays as it was)
    std::optional<bool> dorovn, dup;
    // Port page: the port and the option buttons to set; nullopt when the configuration has no such button.
    bool portNacten = false;
    QString port;
    std::optional<int> baud, dataBits, stopBits, parity, handshake;
    std::array<Maska, 4> masky;
    QString nazevFirmy, hlavicka;
    // The operator's messages: a folder that does not exist (one each), and the keys that could not be read
    // (their controls show the default). The window stays usable either way.
    QStringList chybejiciSlozky;
    QStringList chyby;
};

// Reads the window's keys in the window's order into AppState (mode, clean-up switches, AS400, counters,
// validity years and dates, blocked ranges, gift vouchers, the export switch), the port settings into
// AppState::port and the rest into the result. [Data] LastFile is brought to 8 characters and written back
// when it changed. `softwZastavovani` receives [User] SoftwZastavovani (the reader's own setting).
Nacteni nacti(AppState& state, bool& softwZastavovani);

// What the controls hold when the operator saves.
struct Ulozeni {
    QString dir, expDir, expSpolDir; // an empty folder box leaves its key as it is
    QString posledniCislo;
    QString port, hShaking, baudRate, dataBits, stopBits, parity; // an empty value leaves its key as it is
    QString nazevFirmy, hlavicka;
    std::array<Maska, 4> masky;
};

// One key as the window writes it. Keys of the same group (a mask's name and mask) are written together.
struct Zapis {
    QString section, key, value;
    int skupina = 0;
};

// Every key the window writes, in the window's order, with the text it writes: the folders and port keys that
// are not empty, the window's keys, the four masks and [User] SoftwZastavovani.
QList<Zapis> zapisy(const AppState& state, const Ulozeni& hodnoty, bool softwZastavovani);

// The keys of `nove` whose text differs from `puvodni` (what the window would have written right after its
// load), with the rest of their group. A control nobody changed thus leaves its key exactly as it was read,
// and a page never shown writes nothing.
QList<Zapis> zmeny(const QList<Zapis>& puvodni, const QList<Zapis>& nove);

// Writes the keys in their order. Every key is attempted; the result is the operator's message naming the
// configuration file when a key could not be written.
Status uloz(const Config& config, const QList<Zapis>& zapisy);

// A year or date box of the validity page whose text is no valid value.
struct ChybnaPlatnost {
    bool datum = false; // a date box (txtPovolitDo), else a year box (txtRok)
    int radek = 0;      // 1 to 5
    QString zprava;     // the operator's message naming the box and its text
};
// Checks the five year and the five date boxes; when all hold valid values they go into AppState, else
// nothing changes and the first box at fault is returned.
std::optional<ChybnaPlatnost> prevezmiPlatnost(AppState& state, const std::array<QString, 5>& roky,
                                               const std::array<QString, 5>& data);

// The folder a folder box names when it does not exist (a relative folder is taken from the program folder);
// nullopt for an empty box or a folder that exists.
std::optional<std::filesystem::path> chybejiciSlozka(const Config& config, const QString& text);
// The question put on saving for a folder that does not exist: create it, or keep editing.
QString otazkaSlozky(const Config& config, const QString& key, const std::filesystem::path& folder);
// The question put when the window is left with Escape after a change.
QString otazkaZmen(const Config& config);

// The next document number as saved: filled up with "0" on the right to 8 characters.
QString doplnCislo(const QString& cislo);

} // namespace ServisSettings
} // namespace trv

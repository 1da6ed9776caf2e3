#pragma once

#include "core/ConfigAccess.h"
#include "core/CustomerSwitches.h"
#include "core/PortSettings.h"
#include "core/VoucherContext.h"

#include <QDate>
#include <QString>

#include <array>
#include <filesystem>
#include <map>
#include <utility>
#include <vector>

namespace trv {

// The program's global state, one object for the whole run, under the names the rest of the program
// knows it by. Each group belongs to the configuration section or the part of the program that writes it.
// Windows and logic receive it in their constructors; tests build their own over a temporary folder.
struct AppState {
    AppState() = default;
    // State over a program folder: its configuration file and the default language file.
    explicit AppState(const std::filesystem::path& folder)
        : programFolder(folder),
          config(folder / kConfigFileName.toStdU16String(), folder / kDefaultLanguageFileName.toStdU16String()) {}

    // --- Program folder, configuration and language files
    std::filesystem::path programFolder;
    Config config;

    // --- Settings loader: [Comm] NOREAD and the customer switches of [Firma] FirmaID
    QString gNoRead = QStringLiteral("NOREAD");
    CustomerSwitches sw;

    // --- The reader's serial port ([Comm])
    PortSettings port;

    // --- Document kind of the current receipt, chosen at receipt start
    bool gTypDobropis = false;
    bool gTypDovolena = false;
    bool gTypDarkove = false;
    bool gTypUni = false;

    // --- Working mode (the working-mode window) and the validity check (Ctrl+E)
    bool gSafeBag = false;
    bool gDennySafeBag = false;
    bool gKontrolaPlatnostiZap = true;

    // --- Settings access: set by the maintenance password prompt, read by the commands it guards
    bool gServisLogin = false;

    // --- Main-window settings of the configuration, read at start-up
    bool gDebug = false;                                             // [Data] Debug
    QString gFirmaNazev;                                             // [Firma] Nazev
    QString gFirmaHlavicka;                                          // [Firma] Hlavicka
    QString gAutoDorovn = QStringLiteral("False");                   // [User] AutoDorovn, kept as text
    QString gAutoDupl = QStringLiteral("False");                     // [User] AutoDupl, kept as text
    QString gMode = QStringLiteral("STD");                           // [User] Mode: "STD" or "AUT"
    std::filesystem::path gDatovyAdresar;                            // current data folder
    std::filesystem::path gDirAS400;                                 // folder of the AS400 files
    bool gHideRightPanel = false;                                    // [User] HideRightPanel
    bool gKontrolovat = false;                                       // [Platnost] Kontrolovat
    bool gAutoPoc = false;                                           // [User] AutoPoc
    std::array<qint32, 5> gPovolitRok{2004, 2004, 2004, 2004, 2004}; // [Platnost] PovolitRok1..5
    std::array<QDate, 5> gPovolitDo{QDate(2004, 1, 1), QDate(2004, 1, 1), QDate(2004, 1, 1), QDate(2004, 1, 1),
                                    QDate(2004, 1, 1)}; // [Platnost] PovolitDo1..5
    bool gKontrolovatCisla = false;                     // [Platnost] KontrolovatCisla
    QString gBlokovatCisloOd = QStringLiteral("000000000");
    QString gBlokovatCisloDo = QStringLiteral("000000000");
    QString gBlokovatCisloOd1 = QStringLiteral("000000000");
    QString gBlokovatCisloDo1 = QStringLiteral("000000000");
    QString gBlokovatCisloOd2 = QStringLiteral("000000000");
    QString gBlokovatCisloDo2 = QStringLiteral("000000000");
    bool gPovDarkove = false;      // [Platnost] PovDarkove
    bool gAutoPrijem = false;      // [User] AutoPrijem
    bool gAS400 = false;           // [User] AS400
    bool gExpSpolZkraceny = false; // [Data] ExpSpolZkraceny
    double gMezBalicku = 200;      // [Balickovani] MezBalicku: codes per package
    qint64 gCisloBaliku = 1;       // [Balickovani] DalsiCisloBaliku
    qint64 gDTRSleep = 2000;       // [Comm] DTRSleep, milliseconds

    // --- Mask buttons ([Button1] to [Button4]), written by NactiTlacitko
    QString gMaskaNazev;
    QString gMaska;

    // --- Code checks and booking: what the checks tell the code processor, and the package limits of
    //     package/week mode (set by the receipt-with-SM dialog when it opens)
    bool gNehlasitDarkove = false;   // the blocked-gift check has shown its own message: no second one
    bool bNeplatnaEmise = false;     // the validity check has reported an invalid issue itself
    bool gHlasitMaxVycetku = false;  // the first exceeding of a maximum statement sum is still to be announced
    QString gMaxVycetkaDatumBaliku1; // [Data] MaxVycetkaDatumBaliku1, YYMMDD: the day of the first package
    std::shared_ptr<class CColStrav> gColStravBalik; // the codes of the month's last package

    // --- Voucher types: the collection of the current receipt, created and loaded from TypStrav.ini at
    //     start-up, and the codes whose value-table entry is missing, each reported to the operator once a run
    std::shared_ptr<class CColStrav> gColStrav;

    // --- Period summary in package mode: the package counts of the last computed period, per voucher-type
    //     position (1, 2, ...) as nominal value text -> count. The closing statement by product group takes them
    //     off; empty until a period has been computed in this run.
    std::map<qint64, std::vector<std::pair<QString, qint64>>> gBalikyObdobi;
    MissingValueReports missingValueReports;

    // --- Receipt start: whether the current receipt's file was created new and empty by its start (a new day
    //     file, or Barcode.txt emptied), false when the receipt appends to a file that held earlier readings.
    //     Leaving a receipt without saving deletes its file only when this is set.
    bool gSouborVytvorenNovy = false;

    // --- The receipt being read, recorded by its start: the receipt date (YYMMDD), the SM or cash desk and the
    //     order of the reading that day, as the day file's name carries them. The closing windows' statements
    //     show them; a start whose file name does not carry them leaves the date at the day of the start and
    //     the others empty.
    QString gDatumPrijmu;
    QString gSM;
    QString gPoradi;

    // --- Receipt start with SM (statement mode): the receipt's operator, hand-over date and depot entries, the
    //     settings the start dialog reads when it opens, the first date entered in the run, and the customer
    //     chosen in the customer window (customer mode), which the statements print.
    QString gOperator;
    QDate gDatumOdvodu; // hand-over date, the first field of the statement file
    QString gDepo;      // depot mode: depot, envelope and invoice ids
    QString gIdentObalky;
    QString gIdentFA;
    bool gNemazatSoubor = false;  // appended file: kept when the receipt is left without saving
    QString gDatumSouboru;        // the date field of the first start in the run
    QString gSeznamSM;            // [Data] SM, whole
    qint32 gDelkaSM = 3;          // [Data] DelkaSM
    QString gMaxVycetkaPoslBalik; // [Data] MaxVycetkaPoslBalik: one package digit per voucher type
    qint32 gMaxVycetkaTyden = 1;  // [Data] MaxVycetkaTyden
    QString gZakCislo;
    QString gZakIC;
    QString gZakNazev;
    QString gZakAdresa;
    QString gZakOdpovida;
    QString gZakTelefon;
    std::array<QString, 9> gZakCisloSpol; // element k (1 to 8): partner code at the company in position k
};

} // namespace trv

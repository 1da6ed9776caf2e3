#pragma once

#include "platform/Currency.h"
#include "platform/Prompts.h"
#include "platform/Result.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <filesystem>

namespace trv {

struct AppState;
class Clock;
class ReceiptHost;

// What the operator entered in the start dialog of statement mode, as the controls hold it (nothing trimmed).
struct SmReceiptInput {
    enum class Mode {
        None,    // no mode chosen: the dialog only closes
        NewFile, // a new day data file (in package mode a new package file)
        Append,  // an existing day data file (in package mode a package file) chosen from the list
        Barcode, // Barcode.txt, emptied first
    };
    Mode mode = Mode::NewFile;
    bool sorting = false; // the sorting-mode box is checked
    QString soubor;       // date part of the name (YYMMDD; in customer mode any text, by default YYYYMMDD)
    QString sm;
    QString operator_;
    QString poradi;
    QString balik; // package digits of package/week mode
    QString tyden; // week of package/week mode
    QDate dtDek;   // hand-over date
    QString depo;
    QString identObalky;
    QString typSeku;
    QString chosenFile; // the file chosen for appending
};

// The start of a receipt in statement mode (customer switch 10): what the dialog shows when it opens, the checks
// of the entries, the day data file's name built from date, SM, operator, order, package and week or hand-over
// date, and the five ways to start (Barcode.txt, new file, append, new package file, append to a package file)
// plus the sorting mode, each ending with the reader on and the port open through the main window.
//
// Every check runs before anything is switched on or created: a refused start leaves the reader off, the files
// and the receipt in memory as they were, and the dialog open. A chosen name is parsed by its form, so the
// receipt's SM and operator are those of the name whatever its form.
class SmReceiptStart {
public:
    SmReceiptStart(AppState& state, Prompts& prompts, const Clock& clock, ReceiptHost& host);

    // What the dialog shows when it opens.
    struct View {
        QString datum; // the date field: today (YYMMDD, customer mode YYYYMMDD) or the run's first date
        int datumMaxLength = 6;
        QString datumPriNacteni; // the date field and the SM field as the set-up left them (kind "Faktura")
        std::filesystem::path folder;
        bool folderExists = false;
        QStringList files; // day data files (package files in package mode), the last name first
        QDate dtDek;       // the proposed hand-over date
        QString sm;        // first free SM (switch 17), else empty
        QString operator_; // switch 17: "1"; switch 28 and 38: [Data] Operator
        QString poradi = QStringLiteral("1");
        QString depo;           // switch 28: [Data] Depo
        QString balik;          // switch 19: the package digits
        QString tyden;          // switch 19: the week
        QStringList typyBaliku; // switch 19: the first word of each voucher type's name
    };
    // Reads the settings, sets the globals the set-up owns (gSeznamSM, gDelkaSM, gHlasitMaxVycetku, the package
    // and week state with the month's last packages in package/week mode) and proposes the entries. An error
    // ends the opening of the dialog; loadFailureText() is its message.
    Result<View> load();
    QString loadFailureText(const Error& error) const;
    // The message for a data folder that does not exist, naming it (the list stays empty).
    QString missingFolderText(const std::filesystem::path& folder) const;

    // The proposed hand-over date: today with customer switch 34; else the 15th of this month after the 15th,
    // and the last day of the previous month up to the 15th.
    static QDate VypocitejPerioduDelvity(const QDate& today, bool datumOdvodu);

    struct Outcome {
        enum class Kind {
            Started, // the reader is receiving; the dialog closes
            Refused, // an entry is wrong: `message` with `icon` is shown, the dialog stays open
            Failed,  // the start failed: `message` is shown, the reader stays off, the dialog closes
            Closed,  // no mode was chosen: the dialog closes, nothing started
        };
        Kind kind = Kind::Failed;
        QString message;
        Prompts::Icon icon = Prompts::Icon::Critical;
        bool focusPoradi = false; // the name exists already: the order is to be raised
        Error error;
    };
    Outcome start(const SmReceiptInput& input);

    // The sorting-mode box changed: the main window's caption tells the mode, and while it is on the ends of
    // receipts keep the closing window hidden.
    void sortingMode(bool on);

    // The name of a new day data file under the current customer switches; an error naming a part that cannot
    // stand in a name.
    Result<QString> fileName(const SmReceiptInput& input) const;

    // A language text of the dialog.
    QString text(const char* key) const;

private:
    Result<std::filesystem::path> dataFolder() const;
    Outcome checkDepot(const SmReceiptInput& input);
    Outcome startSorting();
    Outcome startBarcode(const std::filesystem::path& folder, const SmReceiptInput& input);
    Outcome startNewFile(const std::filesystem::path& folder, const SmReceiptInput& input);
    Outcome startAppend(const std::filesystem::path& folder, const SmReceiptInput& input);
    Outcome startNewPackageFile(const std::filesystem::path& folder, const SmReceiptInput& input);
    Outcome startAppendPackageFile(const std::filesystem::path& folder, const SmReceiptInput& input);

    struct PackageFileContents {
        qint64 packages = 0; // lines that begin with "#"
        Currency value;      // the value of every code
    };
    Result<PackageFileContents> readPackageFile(const std::filesystem::path& file) const;

    // Switches the reader on and opens the port; the failed start when the port does not open.
    std::optional<Outcome> switchOn();
    Outcome failed(const Error& error) const;
    Outcome failed(int number, const QString& description) const;
    Outcome refused(const QString& message, Prompts::Icon icon = Prompts::Icon::Critical) const;

    AppState& m_state;
    Prompts& m_prompts;
    const Clock& m_clock;
    ReceiptHost& m_host;
};

} // namespace trv

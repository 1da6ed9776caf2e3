#pragma once

#include "core/DayFileName.h"
#include "platform/Result.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>

namespace trv {

struct AppState;
class Prompts;
class ReceiptHost;
class ReceiptPort;

// The steps the receipt starts take alike: the file chosen for appending read by its name and its lines, its
// stored lines booked, the reader switched on and the port opened, and a port that does not open reported with
// the port, its device and the system's reason. One implementation, so that no start books or reports
// differently: the two dialogs, mode "AUT", the safe bag and the resume after the package dialog.
class ReceiptStartSteps {
public:
    ReceiptStartSteps(AppState& state, Prompts& prompts, ReceiptHost& host);

    // The file chosen for appending: its name's parts and its lines, read before anything is switched on so
    // that a refused or unreadable file changes nothing. A receipt appends only to a day file of a known form
    // (the receipt's date, SM or cash desk, operator and order come from it); any other name is refused with
    // `unknownForm` naming it, an unreadable file with the system's reason. A file whose codes already carry the
    // receipt's sums past the money type's range fails as an unreadable one does, naming the file: refused one by
    // one they would be dropped from the file at the save.
    struct Chosen {
        DayFileName name;
        QStringList lines;
    };
    enum class ChooseFailure { UnknownForm, Unreadable, OutOfRange };
    struct ChooseError {
        ChooseFailure kind = ChooseFailure::UnknownForm;
        Error error;
    };
    std::optional<ChooseError> choose(const std::filesystem::path& folder, const QString& fileName,
                                      Chosen& chosen) const;
    static QString unknownFormText(const QString& fileName);

    // Books the stored lines of `file` into the emptied receipt through the stored-code booking, which keeps
    // every code of a known type whatever its value table says: a code the receipt box shows is a code the
    // save writes. Lines of no known type are reported once for the file. The cash-desk start shows every line
    // in the box and books with no package value. The SM start shows the lines that are not empty and, in
    // package/week mode, counts every code in its type's running package value, warning at its thresholds.
    enum class Start { CashDesk, Sm };
    struct Booked {
        qint64 count = 0; // lines handed to the booking: every line that is not empty, whatever became of it
        QString box;
    };
    Booked bookStoredLines(const QStringList& lines, const std::filesystem::path& file, Start start);

    // Switches the reader on and opens the port for receiving. A port that does not open fails the start
    // (nothing is left receiving); a reader that could not be switched on while the port opened leaves the
    // receipt started (codes can still be typed) and is told to the operator, naming the port and the reason.
    // Every start of receiving takes these steps: the dialogs' starts here, mode "AUT" and the safe bag through
    // the static form with the main window's port.
    struct PortError {
        QString portLine; // "Port čtečky COMn nelze otevřít: odpovídá mu zařízení …"; empty when not known
        Error error;      // 60003 with the system's reason (`fallback` when the host cannot tell)
        // What failed and why, on one line: the port line and the system's reason, or the fallback alone.
        QString description() const;
    };
    std::optional<PortError> switchOn(const QString& fallback);
    static std::optional<PortError> switchOn(ReceiptPort& port, Prompts& prompts, const QString& fallback);
    // Opens the port again for a receipt that runs (after the package dialog closed it); the reader is left as
    // it is. Fails as switchOn does.
    static std::optional<PortError> reopen(ReceiptPort& port, const QString& fallback);

    // Empties Barcode.txt in `folder` for a receipt that reads into it; codes it still holds (a receipt killed
    // while reading into it) are kept in a file of their own first, and the operator is told its name.
    Status emptyBarcode(const std::filesystem::path& folder, const QString& fileName, const QDateTime& now);

    // Sets the receipt's date, SM (or cash desk), operator and order from the parts of its file's name.
    void rememberReceipt(const DayFileName& name);

private:
    AppState& m_state;
    Prompts& m_prompts;
    ReceiptHost& m_host;
};

} // namespace trv

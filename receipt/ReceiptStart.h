#pragma once

#include "platform/Result.h"
#include "receipt/ReceiptStartSteps.h"

#include <QString>
#include <QStringList>

#include <filesystem>

namespace trv {

struct AppState;
class Clock;
class Prompts;
class ReceiptHost;

// The system's error numbers of a failed receipt start.
inline constexpr int kErrNeexistujiciCesta = 60001; // the data folder does not exist
inline constexpr int kErrKonfiguracePortu = 60002;  // the port settings of [Comm] cannot be read
inline constexpr int kErrOtevreniPortu = 60003;     // the port cannot be opened

inline const QString kBarcodeFileName = QStringLiteral("Barcode.txt");
// The first line of a start that failed for a reason of no folder, file or port.
inline const QString kStartImpossible = QStringLiteral("Příjem dat nelze zahájit.");

// How the cash-desk dialog starts a receipt.
enum class ReceiptStartMode {
    NewFile, // a new, empty day data file named by date, cash desk and order
    Append,  // an existing day data file, its lines booked again
    Barcode, // Barcode.txt, emptied first
};

// What the operator entered in the cash-desk dialog.
struct ReceiptStartInput {
    ReceiptStartMode mode = ReceiptStartMode::NewFile;
    QString datum;      // YYMMDD, first part of a new file's name
    QString pokladni;   // cash desk, three digits
    QString poradi;     // order of the reading, after the underscore
    QString chosenFile; // the file name chosen for appending
    QString typSeku;    // document kind
};

// The start of a receipt by cash desk: the data folder, the name and the creation or reloading of the day data
// file, the document kind, and switching the reader on and the port open through the main window. The file
// becomes the receipt's file on the main window only once the port is receiving, so a start that fails never
// leaves the main window pointing at a file it would later overwrite.
class ReceiptStart {
public:
    ReceiptStart(AppState& state, Prompts& prompts, const Clock& clock, ReceiptHost& host);

    // What the dialog shows when it opens.
    struct View {
        QString datum;                // today, YYMMDD
        std::filesystem::path folder; // the data folder (of daily safe-bag mode when that is on)
        bool folderExists = false;
        QStringList files; // the .txt files of the folder, the last name first, so the newest day stands on top
    };
    // An error (60000) when the configuration lacks the folder's key.
    Result<View> load() const;

    struct Outcome {
        enum class Kind {
            Started, // the reader is receiving into the receipt's file
            Refused, // an entry is wrong: `message` tells which; nothing was started or created
            Failed,  // `message` is the system's message with the error's number and description
        };
        Kind kind = Kind::Failed;
        QString message;
        Error error;
    };
    Outcome start(const ReceiptStartInput& input);

    // The name of a new day data file: date, cash desk, "_", order, ".txt".
    static QString newFileName(const QString& datum, const QString& pokladni, const QString& poradi);
    // The operator's messages for a failed opening of the dialog and a failed start: the start's names `what`
    // failed (the configuration, the port with its device, the data folder), then the error's number (none when
    // it has none) and the reason.
    static QString loadFailureText(const Error& error);
    static QString startFailureText(const QString& what, const Error& error);

private:
    Result<std::filesystem::path> dataFolder() const;
    Outcome startBarcode(const std::filesystem::path& folder);
    Outcome startNewFile(const std::filesystem::path& folder, const ReceiptStartInput& input);
    Outcome startAppend(const std::filesystem::path& folder, const ReceiptStartInput& input);
    // Switches the reader on and opens the port through the main window; why the port did not open.
    std::optional<ReceiptStartSteps::PortError> switchOn();
    // The receipt date, cash desk and order the closing windows show, set once the receipt has started.
    void rememberReceipt(const QString& datum, const QString& pokladni, const QString& poradi);

    AppState& m_state;
    Prompts& m_prompts;
    const Clock& m_clock;
    ReceiptHost& m_host;
};

} // namespace trv

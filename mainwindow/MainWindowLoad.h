#pragma once

#include "core/ReceiptRecord.h"
#include "platform/Result.h"

#include <QString>

#include <filesystem>
#include <optional>
#include <vector>

namespace trv {

class MainWindowLogic;

// The main window's load, after the start-up procedure has read the configuration and the window has put
// its captions up: menus by customer switch, the voucher-type buttons, the port description, the blanked and
// the mask items of the vertical menus, then the working mode. "AUT" starts receiving at once into
// Barcode.txt; "STD" runs the receipt start of the vertical menu; with any other mode the window only shows,
// so that the settings can be put right. The receiving settings are read after the first receipt start.
class MainWindowLoad {
public:
    static inline const QString kBarcodeFile = QStringLiteral("Barcode.txt");

    explicit MainWindowLoad(MainWindowLogic& logic) : m_logic(logic) {}

    // False when the window was closed during the load (mode "AUT" could not start receiving; the operator
    // has been told).
    bool Form_Load();

    // Mode "AUT": an empty Barcode.txt in the data folder, receiving into it. A Barcode.txt that holds codes (the last
    // receipt's, or a receipt killed before it ended) is first moved aside under a name with the date and time; a
    // move that fails empties nothing and fails the start.
    Status startAutomatic();
    // The file the last startAutomatic() kept Barcode.txt's codes in; empty when there was nothing to keep.
    const std::filesystem::path& keptBarcode() const { return m_keptBarcode; }
    // The operator's message when mode "AUT" cannot start: the text of "NeexCestaKDatum", "Num: ", the error
    // number, ", descr: " and the description (the port, its device and the reason; the file in the data folder
    // and the reason); an error without a number shows "descr: " and the description alone.
    QString automaticStartFailedText(const Error& error) const;

private:
    // What a crash left unfinished (the record read at the start, the kept Barcode.txt): the day-file receipts
    // told in one message, each safe-bag receipt asked about on its own. With `offerAppend` the operator may take
    // a day-file receipt up at once: the next receipt start then starts appending to its file. True when the
    // operator asked for that.
    bool tellUnfinishedWork(const std::vector<ReceiptRecord::Entry>& left, bool offerAppend);
    // A safe-bag receipt a crash cut short: "Ano" writes its list as the closing window would have and its file
    // and entry go; "Ne" leaves both, told again at the next start.
    void tellSafeBag(const ReceiptRecord::Entry& entry);
    // The safe-bag list of the codes of a safe-bag receipt's file, named by the moment it is written.
    Result<std::filesystem::path> zapisSeznam(const std::filesystem::path& file) const;
    // A file the receipt start can append to: a day file listed in the data folder.
    bool offerable(const std::filesystem::path& file) const;

    MainWindowLogic& m_logic;
    std::filesystem::path m_keptBarcode;
    bool m_keptUnfinished = false;
};

} // namespace trv

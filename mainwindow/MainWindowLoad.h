#pragma once

#include "platform/Result.h"

#include <QString>

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

    // Mode "AUT": an empty Barcode.txt in the data folder, receiving into it.
    Status startAutomatic();
    // The operator's message when mode "AUT" cannot start: the text of "NeexCestaKDatum", the error number,
    // ", descr: " and the description.
    QString automaticStartFailedText(const Error& error) const;

private:
    MainWindowLogic& m_logic;
};

} // namespace trv

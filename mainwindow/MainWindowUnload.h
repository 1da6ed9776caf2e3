#pragma once

#include <QString>

namespace trv {

class MainWindowLogic;

// The main window's unload: leaves the reader in a known state (the default voucher type sent, the port
// closed) and keeps the work of the receipt. Mode "AUT" cleans the display box up ([User] AutoDorovn and
// AutoDupl) and saves it as the receipt file; mode "STD" remembers the document number of a running receipt
// and hands an unfinished one to the package dialog or the closing window.
//
// An open package is never lost on the way out: the package dialog is asked first, and closing it without
// an answer cancels the exit; a package that cannot be written cancels it too, after the operator was told.
class MainWindowUnload {
public:
    enum class Result { Closed, Cancelled };

    static inline const QString kWorkingText = QStringLiteral("Probíhá zpracování dat ...");

    explicit MainWindowUnload(MainWindowLogic& logic) : m_logic(logic) {}

    Result Form_Unload();

    // [User] AutoDupl's pass: every line that is the NOREAD text leaves, then repeated lines.
    void vyhodNoReadADupl();

private:
    void sendDefaultType();
    void reportSaveError(const QString& description, int number = 0);

    MainWindowLogic& m_logic;
};

} // namespace trv

#pragma once

class QLineEdit;
class QString;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace trv {

// The choice both "Příjem dat" dialogs share: a new file named in the file field, appending to a file chosen in
// the list, or reading into Barcode.txt. It enables the controls of the chosen way and the start button.
struct ReceiptFileChoice {
    QRadioButton* optNovy = nullptr;
    QLineEdit* txtSoubor = nullptr;
    QListWidget* flbDataS = nullptr;
    QListWidget* listDataS = nullptr;
    QPushButton* btnPrijem = nullptr;

    void showList(bool active) const;
    void chooseNew() const;
    void chooseAppend() const;
    void chooseBarcode() const;
    void fileTextChanged() const;
    // Selects the list's item of this name; false when none has it.
    bool selectFile(const QString& fileName) const;
};

} // namespace trv

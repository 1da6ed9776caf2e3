#include "receipt/ui/ReceiptFileChoice.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

namespace trv {

void ReceiptFileChoice::showList(bool active) const {
    // An inactive list has the colour of a button face, so that it does not look like a place to choose.
    QPalette palette = listDataS->palette();
    palette.setColor(QPalette::Base, active ? QGuiApplication::palette().color(QPalette::Base)
                                            : QGuiApplication::palette().color(QPalette::Button));
    listDataS->setPalette(palette);
}

void ReceiptFileChoice::chooseNew() const {
    txtSoubor->setEnabled(true);
    flbDataS->setEnabled(false);
    listDataS->setEnabled(false);
    showList(false);
    btnPrijem->setEnabled(!txtSoubor->text().isEmpty());
}

void ReceiptFileChoice::chooseAppend() const {
    flbDataS->setEnabled(true);
    listDataS->setEnabled(true);
    txtSoubor->setEnabled(false);
    showList(true);
    btnPrijem->setEnabled(!listDataS->selectedItems().isEmpty());
}

void ReceiptFileChoice::chooseBarcode() const {
    txtSoubor->setEnabled(false);
    flbDataS->setEnabled(false);
    btnPrijem->setEnabled(true);
}

void ReceiptFileChoice::fileTextChanged() const {
    // The file field names only a new file. "Faktura" chosen in the kind list refills it in the other modes as
    // well, and that must not enable a start of appending with no file chosen: it would fail on the folder.
    if (!optNovy->isChecked())
        return;
    btnPrijem->setEnabled(!txtSoubor->text().isEmpty());
}

bool ReceiptFileChoice::selectFile(const QString& fileName) const {
    const QList<QListWidgetItem*> found = listDataS->findItems(fileName, Qt::MatchFixedString);
    if (found.isEmpty())
        return false;
    listDataS->setCurrentItem(found.front());
    listDataS->scrollToItem(found.front());
    return true;
}

} // namespace trv

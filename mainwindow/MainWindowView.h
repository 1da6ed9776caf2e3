#pragma once

#include "mainwindow/TypeButtons.h"

#include <QString>

#include <vector>

namespace trv {

// What the main window's logic asks of the window itself: menu items, the voucher-type buttons, the
// counter window, the busy pointer, showing and closing the window, and the package dialog. The window
// implements it; logic tests record the calls.
class MainWindowView {
public:
    enum class MenuItem { mnuRucne, soubory, mnuVyc, mnuSoucVycDen, mnuSoucVycObd, mnuOdvody };
    enum class Menu { vmnNab, vmnFast };

    virtual ~MainWindowView() = default;

    virtual void setMenuEnabled(MenuItem item, bool enabled) = 0;
    virtual void setMenuVisible(MenuItem item, bool visible) = 0;

    // An item (1 to 6) of a vertical menu; an empty caption leaves the item blank.
    virtual void setVerticalItemCaption(Menu menu, int item, const QString& caption) = 0;
    virtual void setFastMenuVisible(bool visible) = 0;
    // The cheque scanner's button btnScan.
    virtual void setScanButtonVisible(bool visible) = 0;
    // Panel 5 of the status bar.
    virtual void setPortDescription(const QString& text) = 0;

    // The voucher-type buttons optT: button i shows buttons[i]; buttons beyond keep what they showed.
    virtual void showTypeButtons(const std::vector<TypeButton>& buttons) = 0;
    // The button's value set, without running its handler again.
    virtual void checkTypeButton(int index) = 0;

    // The counter window of the current mode, placed at the window's top right corner, modeless.
    virtual void showCounterWindow() = 0;
    virtual void hideCounterWindow() = 0;
    virtual bool counterWindowShown() const = 0;

    // The hourglass pointer over the window while the end of a receipt runs.
    virtual void setBusy(bool busy) = 0;

    // The caption of lblSoubor: the full path of the current receipt file.
    virtual void setFileLabel(const QString& path) = 0;

    virtual void showWindow() = 0;
    // Closes the window as the operator would; its unload decides whether it really closes.
    virtual void closeWindow() = 0;
    // The display box before the clean-up at exit, which must not be watched line by line.
    virtual void hideDisplayBox() = 0;

    // The package dialog dlgNextPackage, modal: 1 "Další balík", 2 "Storno balíku", 3 "Konec balíčkování",
    // 0 when closed otherwise. An empty caption keeps the dialog's own.
    virtual int dlgNextPackage(const QString& caption, const QString& okCaption) = 0;
};

} // namespace trv

#pragma once

#include "platform/Result.h"

#include <QString>

namespace trv {

// What the settings window needs of the main window and its reader: whether a receipt is running, the reader
// commands, the reader's own stop setting, and the places of the main window the window refreshes as it
// closes (the mask captions of the quick menu, the port description).
class ServisHost {
public:
    virtual ~ServisHost() = default;

    virtual bool prijemBezi() const = 0;
    // PrepniSkener: true when the command went out; lastError names the port and the reason otherwise.
    virtual bool PrepniSkener(bool on) = 0;
    virtual QString chybaCtecky() const = 0;
    // Sends "<Zp>": on the open port, or on the port opened for it and closed again after the bytes left.
    virtual Status ulozKonfiguraciCtecky() = 0;
    // [User] SoftwZastavovani as the reader holds it.
    virtual bool softwZastavovani() const = 0;
    virtual void setSoftwZastavovani(bool on) = 0;
    // Item 3 to 6 of the quick vertical menu.
    virtual void setPopisekRychleNabidky(int item, const QString& caption) = 0;
    virtual void PopisPortu() = 0;
};

} // namespace trv

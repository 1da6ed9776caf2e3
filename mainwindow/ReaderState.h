#pragma once

#include <QtGlobal>

namespace trv {

class Config;

// The reader settings and main-window state that the reader commands and the code processor share.
struct ReaderState {
    qint32 gTypScaneru = -1;        // [Comm] TypScaneru, read again before every command that picks a dialect
    bool gSoftwZastavovani = false; // [User] SoftwZastavovani: a NOREAD that passed the checks stops the reader
    qint32 gMinDelka = 0;           // shortest code length over all voucher types (set with the type buttons)
    qint32 gMaxDelka = 0;           // longest code length over all voucher types
    qint32 ZvolenyTyp = 0;          // index of the voucher-type button clicked last
};

// [Comm] TypScaneru as the profile integer reader gives it: the leading whole number of the value, -1 when
// the key is missing, 0 when the value does not start with a number.
qint32 nactiTypScaneru(const Config& config);

} // namespace trv

#pragma once

#include <QString>
#include <QtGlobal>

namespace trv {

// The reader's serial-port settings of section [Comm], as NactiNastaveniPortu leaves them.
struct PortSettings {
    quint8 gPort = 0;  // 1 to 6 for "COM1" to "COM6", 0 for any other text
    QString gHShaking; // handshake code "0" to "3"
    QString gBaudRate; // as stored, e.g. "38400"
    QString gDataBits; // as stored, e.g. "8"
    QString gStopBits; // as stored, e.g. "1"
    QString gParity;   // "E", "O", "N", "M", "S", or empty for an unknown parity
    QString gInBufferSize = QStringLiteral("4096");
    QString gOutBufferSize = QStringLiteral("512");
};

} // namespace trv

#pragma once

#include "platform/Result.h"

#include <QString>

#include <functional>

namespace trv {

/// Parity of a serial line, from the letters N, E, O, M and S of a settings text.
enum class Parity { None, Even, Odd, Mark, Space };

/// Stop bits of a serial line: "1", "1.5" or "2" in a settings text.
enum class StopBits { One, OneAndHalf, Two };

/// Flow control by its configured number 0 to 3.
enum class Handshake { None = 0, XOnXOff = 1, RtsCts = 2, RtsXOnXOff = 3 };

/// The line settings of a serial port as written in a settings text such as "9600,n,8,1":
/// baud rate, parity letter, data bits and stop bits joined by commas.
struct SerialLineSettings {
    qint32 baudRate = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;

    friend bool operator==(const SerialLineSettings&, const SerialLineSettings&) = default;
};

/// Reads a settings text "baud,parity,data bits,stop bits" (blanks around a field are allowed, the parity letter
/// in any case). Baud rates are positive numbers, data bits 5 to 8, stop bits 1, 1.5 or 2. A bad text gives an
/// error that quotes the text and names the field at fault.
Result<SerialLineSettings> parseSerialSettings(const QString& text);

/// The flow control for a configured handshake number 0 to 3; any other number is an error.
Result<Handshake> handshakeFromNumber(int number);

/// Looks up an environment variable by name; an empty text means the variable is not set.
using EnvironmentLookup = std::function<QString(const QString& name)>;

/// The process's real environment.
EnvironmentLookup systemEnvironment();

/// The device that port "COMn" opens: the value of the environment variable TRV7300_COMn when it is set and not
/// empty, else "/dev/ttyS<n-1>" on Linux and "COMn" on Windows. So a USB adapter or a test's pseudo-terminal
/// takes any COM number without the program's settings changing.
QString serialDeviceName(int portNumber, const EnvironmentLookup& environment = systemEnvironment());

} // namespace trv

#pragma once

#include <QFileDevice>
#include <QSerialPort>
#include <QString>

#include <system_error>

namespace trv::SystemErrors {

/// The reason of a failed system call as the operator reads it: a Czech text for the common causes (disk
/// full, no permission, read-only disk, missing file or folder, input/output error), followed by the
/// system's own text as a detail in parentheses; the system's text alone for any other cause.
QString describe(int errnoValue, const QString& systemText = {});
QString describe(const std::error_code& ec);
/// A failed file operation: the errno saved right after it tells the cause best (a write cut short leaves
/// no error on the device); without one, the device's error kind.
QString describe(const QFileDevice& file, int savedErrno);
/// A serial port's error: always a Czech text (the cause the system's text names, else the kind of the error),
/// with the system's text as a detail in parentheses.
QString describe(QSerialPort::SerialPortError error, const QString& systemText);

} // namespace trv::SystemErrors

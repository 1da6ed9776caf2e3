#include "platform/SystemErrors.h"

#include <cerrno>

namespace trv::SystemErrors {

namespace {

// The Czech text of a common cause; empty for any other.
QString czech(int errnoValue) {
    switch (errnoValue) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("na disku není volné místo");
    case EACCES:
    case EPERM:
        return QStringLiteral("chybí oprávnění");
    case EROFS:
        return QStringLiteral("disk je jen pro čtení");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("soubor nebo složka neexistuje");
    case EIO:
        return QStringLiteral("chyba vstupu/výstupu");
    default:
        return {};
    }
}

QString withDetail(const QString& czechText, const QString& systemText) {
    if (czechText.isEmpty())
        return systemText;
    if (systemText.isEmpty())
        return czechText;
    return czechText + QStringLiteral(" (") + systemText + u')';
}

QString systemTextOf(int errnoValue) {
    return QString::fromLocal8Bit(std::generic_category().message(errnoValue));
}

} // namespace

QString describe(int errnoValue, const QString& systemText) {
    return withDetail(czech(errnoValue), systemText.isEmpty() ? systemTextOf(errnoValue) : systemText);
}

QString describe(const std::error_code& ec) {
    const QString systemText = QString::fromLocal8Bit(ec.message());
    if (ec.category() != std::generic_category() && ec.category() != std::system_category())
        return systemText;
    return describe(ec.value(), systemText);
}

QString describe(const QFileDevice& file, int savedErrno) {
    const bool deviceError = file.error() != QFileDevice::NoError;
    if (savedErrno != 0 && !czech(savedErrno).isEmpty())
        return describe(savedErrno);
    if (!deviceError)
        return describe(savedErrno != 0 ? savedErrno : EIO);
    if (file.error() == QFileDevice::PermissionsError)
        return withDetail(czech(EACCES), file.errorString());
    return file.errorString();
}

QString describe(QSerialPort::SerialPortError error, const QString& systemText) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return withDetail(QStringLiteral("zařízení neexistuje"), systemText);
    case QSerialPort::PermissionError:
        return withDetail(QStringLiteral("zařízení je používáno jiným programem nebo chybí oprávnění"), systemText);
    case QSerialPort::ResourceError:
        return withDetail(QStringLiteral("zařízení přestalo odpovídat nebo bylo odpojeno"), systemText);
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        return withDetail(QStringLiteral("chyba vstupu/výstupu"), systemText);
    case QSerialPort::TimeoutError:
        return withDetail(QStringLiteral("zařízení neodpovědělo včas"), systemText);
    default:
        return systemText;
    }
}

} // namespace trv::SystemErrors

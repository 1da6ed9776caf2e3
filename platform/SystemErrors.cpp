#include "platform/SystemErrors.h"

#include <QHash>

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

// QSerialPort keeps the system's words of a failure but not its number: the words lead back to the number, so
// that the cause is told as for any other system call. 0 for words that no number has (QSerialPort's own).
int errnoOfSystemText(const QString& systemText) {
    static const QHash<QString, int> numbers = [] {
        QHash<QString, int> byText;
        for (int number = 1; number < 256; ++number) {
            const QString text = qt_error_string(number);
            if (!text.isEmpty() && !byText.contains(text))
                byText.insert(text, number);
        }
        return byText;
    }();
    return numbers.value(systemText.trimmed(), 0);
}

// A serial device's own causes, said as the operator of a reader understands them; empty for any other.
QString czechForSerialDevice(int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return QStringLiteral("zařízení neexistuje");
    case EACCES:
    case EPERM:
        return QStringLiteral("chybí oprávnění k zařízení");
    case EBUSY:
        return QStringLiteral("zařízení je používáno jiným programem");
    case EISDIR:
        return QStringLiteral("jde o složku, ne o sériové zařízení");
    case ENOTTY:
        return QStringLiteral("nejde o sériové zařízení");
    case EINVAL:
        return QStringLiteral("zařízení nepřijalo nastavení portu");
    case EAGAIN:
        return QStringLiteral("zařízení je dočasně nedostupné");
    default:
        return {};
    }
}

// The kind of a serial failure in Czech, for failures whose system words name no known cause.
QString czechForSerialKind(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("zařízení neexistuje");
    case QSerialPort::PermissionError:
        return QStringLiteral("zařízení je používáno jiným programem nebo chybí oprávnění");
    case QSerialPort::OpenError:
        return QStringLiteral("port je již otevřen");
    case QSerialPort::NotOpenError:
        return QStringLiteral("port není otevřen");
    case QSerialPort::ResourceError:
        return QStringLiteral("zařízení přestalo odpovídat nebo bylo odpojeno");
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        return QStringLiteral("chyba vstupu/výstupu");
    case QSerialPort::TimeoutError:
        return QStringLiteral("zařízení neodpovědělo včas");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("zařízení tuto operaci nepodporuje");
    case QSerialPort::NoError:
    case QSerialPort::UnknownError:
        break;
    }
    return QStringLiteral("neznámá chyba systému");
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
    const int errnoValue = errnoOfSystemText(systemText);
    QString czechText = czechForSerialDevice(errnoValue);
    if (czechText.isEmpty())
        czechText = czech(errnoValue);
    if (czechText.isEmpty())
        czechText = czechForSerialKind(error);
    return withDetail(czechText, systemText);
}

} // namespace trv::SystemErrors

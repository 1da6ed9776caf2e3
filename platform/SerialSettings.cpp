#include "platform/SerialSettings.h"

#include <QStringList>

namespace trv {

namespace {

Result<SerialLineSettings> badSettings(const QString& text, const QString& reason) {
    return Result<SerialLineSettings>::fail(
        QStringLiteral("Neplatné nastavení sériového portu „%1“: %2.").arg(text, reason));
}

} // namespace

Result<SerialLineSettings> parseSerialSettings(const QString& text) {
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 4)
        return badSettings(text, QStringLiteral("očekávána rychlost, parita, datové bity a stop bity oddělené čárkou"));

    SerialLineSettings settings;
    const QString baud = fields[0].trimmed();
    bool ok = false;
    settings.baudRate = baud.toInt(&ok);
    if (!ok || settings.baudRate <= 0)
        return badSettings(text, QStringLiteral("chybná rychlost „%1“").arg(baud));

    const QString parity = fields[1].trimmed().toUpper();
    if (parity == QLatin1String("N"))
        settings.parity = Parity::None;
    else if (parity == QLatin1String("E"))
        settings.parity = Parity::Even;
    else if (parity == QLatin1String("O"))
        settings.parity = Parity::Odd;
    else if (parity == QLatin1String("M"))
        settings.parity = Parity::Mark;
    else if (parity == QLatin1String("S"))
        settings.parity = Parity::Space;
    else
        return badSettings(text,
                           QStringLiteral("chybná parita „%1“ (povoleno N, E, O, M, S)").arg(fields[1].trimmed()));

    const QString dataBits = fields[2].trimmed();
    settings.dataBits = dataBits.toInt(&ok);
    if (!ok || settings.dataBits < 5 || settings.dataBits > 8)
        return badSettings(text, QStringLiteral("chybný počet datových bitů „%1“ (povoleno 5 až 8)").arg(dataBits));

    const QString stopBits = fields[3].trimmed();
    if (stopBits == QLatin1String("1"))
        settings.stopBits = StopBits::One;
    else if (stopBits == QLatin1String("1.5"))
        settings.stopBits = StopBits::OneAndHalf;
    else if (stopBits == QLatin1String("2"))
        settings.stopBits = StopBits::Two;
    else
        return badSettings(text, QStringLiteral("chybný počet stop bitů „%1“ (povoleno 1, 1.5, 2)").arg(stopBits));

    return settings;
}

Result<Handshake> handshakeFromNumber(int number) {
    if (number < 0 || number > 3)
        return Result<Handshake>::fail(
            QStringLiteral("Neplatný způsob řízení toku sériového portu %1 (povoleno 0 až 3).").arg(number));
    return static_cast<Handshake>(number);
}

EnvironmentLookup systemEnvironment() {
    return [](const QString& name) { return qEnvironmentVariable(name.toLatin1().constData()); };
}

QString serialDeviceName(int portNumber, const EnvironmentLookup& environment) {
    const QString configured = environment ? environment(QStringLiteral("TRV7300_COM%1").arg(portNumber)) : QString();
    if (!configured.isEmpty())
        return configured;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

} // namespace trv

#include "mainwindow/ReaderCommandTexts.h"

#include "core/CStrav.h"
#include "platform/SerialPort.h"

namespace trv::ReaderCommandTexts {

namespace {

const QString kCr = QStringLiteral("\r");
const QString kCrLf = QStringLiteral("\r\n");

ReaderWrite write(const QString& text, qint64 pauseBeforeMs = 0) {
    return ReaderWrite{pauseBeforeMs, encodeSerialText(text)};
}

// "SSET", the lines, "SAVE", then "SEND" with CR LF after an optional pause.
ReaderScript lineCommand(const QStringList& lines, qint64 pauseBeforeSend) {
    ReaderScript script;
    script.append(write(QStringLiteral("SSET") + kCr));
    for (const QString& line : lines)
        script.append(write(line + kCr));
    script.append(write(QStringLiteral("SAVE") + kCr));
    script.append(write(QStringLiteral("SEND") + kCrLf, pauseBeforeSend));
    return script;
}

QString n(qint64 value) {
    return QString::number(value);
}

} // namespace

bool lineDialect(qint32 typScaneru) {
    return typScaneru >= 3;
}

ReaderScript prepni(bool on, qint32 typScaneru) {
    if (!lineDialect(typScaneru))
        return {write(on ? QStringLiteral("<Kv0,,,>") : QStringLiteral("<Kv2,,,>"))};
    return lineCommand({on ? QStringLiteral("WO2000004") : QStringLiteral("WO2000000")}, kPauseMs);
}

ReaderScript crlf(qint32 typScaneru) {
    if (!lineDialect(typScaneru))
        return {write(QStringLiteral("<K142,1,") + kCrLf + QStringLiteral("><Z>"))};
    // The sixth line starts with W and the digit zero, the fifth with W and the letter O.
    return lineCommand({QStringLiteral("WP520D0A"), QStringLiteral("WS0001"), QStringLiteral("WS0103"),
                        QStringLiteral("WS020000007D0"), QStringLiteral("WO1100200"), QStringLiteral("W02100200")},
                       0);
}

QString rozvinExtCmd(QString command) {
    command.replace(QStringLiteral("<CR>"), kCr);
    command.replace(QStringLiteral("<LF>"), QStringLiteral("\n"));
    return command;
}

ReaderScript extCommand(const QString& command, qint32 typScaneru) {
    if (!lineDialect(typScaneru))
        return {write(command + QStringLiteral("<Z>"))};
    return lineCommand({command}, kPauseMs);
}

ReaderScript noRead() {
    return {write(QStringLiteral("<K714,1,NOREAD><Z>"))};
}

LengthParameters allTypesParameters(std::span<const std::shared_ptr<CStrav>> types) {
    qint32 minimum = 0;
    qint32 maximum = 0;
    qint32 check = 1;
    bool first = true;
    for (const auto& type : types) {
        if (!type)
            continue;
        if (first) {
            minimum = maximum = type->Delka;
            first = false;
        }
        for (const qint32 length : {type->Delka, type->Delka2}) {
            if (length <= 0)
                continue;
            if (length > maximum)
                maximum = length;
            if (length < minimum)
                minimum = length;
        }
        if (type->CheckIL == 0)
            check = 0;
    }
    return {check, check, minimum, maximum};
}

LengthParameters chosenTypeParameters(const CStrav& chosen) {
    return {chosen.CheckIL, chosen.CheckIL, chosen.Delka, chosen.Delka2 != 0 ? chosen.Delka2 : chosen.Delka};
}

ReaderScript typeButton(qint32 typScaneru, const CStrav& chosen, std::span<const std::shared_ptr<CStrav>> types,
                        bool gF39, bool trideni, qint32 minDelka, qint32 maxDelka) {
    const LengthParameters all = allTypesParameters(types);
    const LengthParameters p = gF39 ? all : chosenTypeParameters(chosen);

    switch (typScaneru) {
    case 1:
        return {write(QStringLiteral("<Kr1,%1,%2,%3,%4>").arg(n(p.A), n(p.B), n(p.C), n(p.D)) + QStringLiteral("<Z>"))};
    case 2: {
        const qint32 c = trideni && !gF39 ? minDelka : p.C;
        const qint32 d = trideni && !gF39 ? maxDelka : p.D;
        const QString base = QStringLiteral("<K472,1,%1,%2,%3,%4").arg(n(p.A), n(p.B), n(c), n(d)) +
                             (trideni ? QStringLiteral(",,1>") : QStringLiteral(",,0>"));
        QString full = base;
        if (chosen.GainLevel != -1)
            full += QStringLiteral("<K504,") + n(chosen.GainLevel) + QStringLiteral(",,,>");
        if (chosen.ScanSpeed != -1)
            full += QStringLiteral("<K500,") + n(chosen.ScanSpeed) + QStringLiteral(">");
        if (chosen.LaserPower != -1)
            full += QStringLiteral("<K700,,,,,") + n(chosen.LaserPower) + QStringLiteral(">");
        full += QStringLiteral("<Z>");
        return {write(base), write(full)};
    }
    case 3: {
        QStringList lines;
        if (trideni) {
            const qint32 x = gF39 ? all.A : 0;
            const qint32 c = gF39 ? all.C : minDelka;
            const qint32 d = gF39 ? all.D : maxDelka;
            lines << QStringLiteral("WC010") + n(x) << QStringLiteral("WC011") + n(x) << QStringLiteral("MIN0=") + n(c)
                  << QStringLiteral("MAX0=") + n(d);
            return lineCommand(lines, 0);
        }
        if (chosen.TypCK.toUpper() != QLatin1String("CODE128"))
            lines << QStringLiteral("WC010") + n(p.A) << QStringLiteral("WC011") + n(p.A);
        lines << QStringLiteral("MIN0=") + n(p.C) << QStringLiteral("MAX0=") + n(p.D);
        return lineCommand(lines, kPauseMs);
    }
    default:
        return {};
    }
}

} // namespace trv::ReaderCommandTexts

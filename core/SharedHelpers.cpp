#include "core/SharedHelpers.h"

#include "platform/Conventions.h"

#include <cmath>

namespace trv {

namespace {

QString replaceFirst(const QString& text, QChar from, QChar to) {
    QString result = text;
    const qsizetype pos = result.indexOf(from);
    if (pos >= 0)
        result[pos] = to;
    return result;
}

// The number written as the platform's number-to-text conversion did it: at most 15 significant digits,
// a point as the decimal separator, no exponent, no trailing zeros.
QString numberText(double value) {
    if (value == 0)
        return QStringLiteral("0");
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::max(0, 14 - exponent);
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

} // namespace

QString CarkaNaTecku(const QString& text) {
    return replaceFirst(text, u',', u'.');
}

QString TeckaNaCarku(const QString& text) {
    return replaceFirst(text, u'.', u',');
}

QString DoplnMasku(const QString& mask) {
    const qsizetype length = mask.size();
    if (length > 255)
        return {};
    if (length <= 16)
        return mask + QString(16 - length, u'*');
    return mask.left(16);
}

bool UlozTlacitko(const Config& config, quint8 button, const QString& name, const QString& mask) {
    const QString section = QStringLiteral("Button") + QString::number(button);
    if (!config.zapis(section, QStringLiteral("Name"), name).ok())
        return false;
    return config.zapis(section, QStringLiteral("Mask"), mask).ok();
}

bool NactiTlacitko(const Config& config, quint8 button, QString& gMaskaNazev, QString& gMaska) {
    const QString section = QStringLiteral("Button") + QString::number(button);
    bool ok = true;
    // Read whole: the settings window writes both back, and a cut name would be saved cut.
    if (const std::optional<QString> name = config.ctiCele(section, QStringLiteral("Name")))
        gMaskaNazev = *name;
    else
        ok = false;
    if (const std::optional<QString> mask = config.ctiCele(section, QStringLiteral("Mask")))
        gMaska = *mask;
    else
        ok = false;
    return ok;
}

bool NactiTlacitko(AppState& state, quint8 button) {
    return NactiTlacitko(state.config, button, state.gMaskaNazev, state.gMaska);
}

QString VyjmiZnaky(const QString& text, qint64 start, qint64 count) {
    const qint64 length = text.size();
    if (length == 0 || start < 1 || count < 0 || start > length || count > length || start + count > length + 1)
        return {};
    return text.left(start - 1) + text.right(length + 1 - (start + count));
}

RadekTextu ZjistiRadekTextu(const QString& text, qint64 line) {
    if (line < 0)
        return {};
    qint64 start = 0;
    for (qint64 n = 0; n < line; ++n) {
        const qsizetype cr = text.indexOf(u'\r', start);
        const qsizetype lf = text.indexOf(u'\n', start);
        if (cr < 0 && lf < 0)
            return {};
        if (cr >= 0 && (lf < 0 || cr < lf))
            start = (cr + 1 < text.size() && text.at(cr + 1) == u'\n') ? cr + 2 : cr + 1;
        else
            start = lf + 1;
    }
    qint64 end = start;
    while (end < text.size() && text.at(end) != u'\r' && text.at(end) != u'\n')
        ++end;
    return {start, end - start};
}

Status SetridPole(QStringList& pole) {
    std::vector<std::pair<double, QString>> keyed;
    keyed.reserve(static_cast<size_t>(pole.size()));
    for (const QString& element : pole) {
        const std::optional<double> number = toNumber(element);
        if (!number)
            return Status::fail(QStringLiteral("Hodnotu \"%1\" nelze seřadit jako číslo.").arg(element));
        keyed.emplace_back(*number, element);
    }
    SetridPole(keyed, [](const std::pair<double, QString>& e) { return e.first; });
    for (size_t i = 0; i < keyed.size(); ++i)
        pole[static_cast<qsizetype>(i)] = keyed[i].second;
    return Status::success();
}

void SetridPole(std::vector<double>& pole) {
    SetridPole(pole, [](double v) { return v; });
}

double ZaokrouhliText(double value, int decimals) {
    if (!std::isfinite(value) || decimals < 0)
        return value;
    const QString text = numberText(value);
    const qsizetype point = text.indexOf(u'.');
    if (point < 0 || text.size() - point - 1 <= decimals)
        return value;
    const QString kept = text.left(point + 1 + decimals);
    double result = kept.toDouble();
    const QChar next = text.at(point + 1 + decimals);
    if (next >= u'5' && next <= u'9') {
        // Half away from zero on both sides: a negative value moves further below zero.
        const double step = 1.0 / std::pow(10.0, decimals);
        result += value < 0 ? -step : step;
    }
    return result;
}

QString sumOutOfRangeText(const QString& where) {
    return QStringLiteral("Součet částek se nevejde do rozsahu peněžního typu (%1, nejvýše %2). Operace byla "
                          "ukončena, nic nebylo zapsáno.")
        .arg(where, formatCurrency(Currency::max()));
}

QString sumOutOfRangeText(const QString& where, const QString& table, Currency bound) {
    return QStringLiteral("Součet částek se nevejde do rozsahu sloupce tabulky %1 (%2, více než %3). Operace byla "
                          "ukončena, nic nebylo zapsáno.")
        .arg(table, where, formatCurrency(bound));
}

Currency ZaokrouhliText(Currency value, int decimals) {
    return value.roundedHalfAwayFromZero(decimals);
}

qint64 PocetVyskytu(const QString& text, const QString& searched) {
    if (searched.isEmpty())
        return 0;
    qint64 count = 0;
    for (qsizetype pos = text.indexOf(searched); pos >= 0; pos = text.indexOf(searched, pos + 1))
        ++count;
    return count;
}

} // namespace trv

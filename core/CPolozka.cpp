#include "core/CPolozka.h"

#include "core/AppState.h"
#include "core/CStrav.h"
#include "core/CodeParts.h"
#include "platform/Prompts.h"

#include <limits>

namespace trv {

namespace {

// The system's error number for a configuration key the operation cannot do without.
constexpr int kErrConfigKeyMissing = 60002;

// Values beyond this cannot be held as an amount.
constexpr qint64 kMaxWhole = std::numeric_limits<qint64>::max() / Currency::kUnitsPerWhole;

std::optional<qint64> digitsOnly(const QString& s, qint64 pos, qint64 len)
{
    const QString part = codePart(s, pos, len);
    if (part.size() != len)
        return std::nullopt;
    qint64 v = 0;
    for (QChar c : part) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

Error notANumber(const QString& kod, const QString& part, qint64 pos)
{
    return Error{0, QStringLiteral("Kód %1: hodnota \"%2\" na pozici %3 není číslo.").arg(kod, part).arg(pos)};
}

// n times the coefficient, or n divided by its size when it is negative (so -10 turns 123 into 12.30).
Result<Currency> withCoefficient(qint32 n, qint32 koef, const QString& kod)
{
    if (koef < 0)
        return Currency::fromInt(n).dividedBy(-static_cast<qint64>(koef));
    const qint64 product = static_cast<qint64>(n) * koef;
    if (product > kMaxWhole || product < -kMaxWhole)
        return Error{0, QStringLiteral("Kód %1: hodnota %2 je mimo rozsah částky.").arg(kod).arg(product)};
    return Currency::fromInt(product);
}

// The nominal values of the EUR vouchers of 14 characters, by the number in their value field.
std::optional<Currency> euroNominal(qint32 field)
{
    switch (field) {
    case 981: return Currency::fromCents(50);
    case 982: return Currency::fromCents(66);
    case 983: return Currency::fromInt(1);
    case 970: return Currency::fromCents(270);
    case 16: return Currency::fromInt(5);
    case 17: return Currency::fromInt(10);
    case 18: return Currency::fromInt(15);
    case 19: return Currency::fromInt(20);
    case 20: return Currency::fromInt(2);
    case 301: return Currency::fromInt(3);
    default: return std::nullopt;
    }
}

} // namespace

Status CPolozka::NactiAS400(const QString& line)
{
    const auto kind = digitsOnly(line, line.size(), 1);
    const auto a = digitsOnly(line, 13, 5);
    const auto b = digitsOnly(line, 18, 1);
    const auto c = digitsOnly(line, 19, 1);
    const auto d = digitsOnly(line, 21, 1);
    if (!kind || !a || !b || !c || !d)
        return Status::fail(QStringLiteral("Řádek souboru AS400 \"%1\" nemá tvar kódu stravenky.").arg(line));
    TypNacteni = static_cast<qint32>(*kind);
    const qint64 check = (100 * (*b + *c + *d) + *a) % 97;
    Kod = QStringLiteral("0") + codePart(line, 1, 11) + codePart(line, 13, 7) +
          QStringLiteral("%1").arg(check, 2, 10, QChar(u'0')) + codePart(line, 21, 1);
    return Status::success();
}

Result<Currency> CPolozka::DejHodnotu(Report report) const
{
    const auto t = TypS();
    if (!t)
        return Error{0, QStringLiteral("Kód %1 nemá přiřazený typ stravenky.").arg(Kod)};
    const quint64 stamp = t->valuationStamp();
    if (m_known.stamp == stamp && m_known.type == t.get() && m_known.kod.constData() == Kod.constData() &&
        m_known.kod.size() == Kod.size()) {
        // EUR mode asks for the configured rate at every valuation: a value is no value without it.
        if (t->context()->state.sw.gFEuro && !t->context()->state.config.maKurzEuro())
            return Error{kErrConfigKeyMissing, QStringLiteral("V konfiguraci chybí klíč kurzEuro v sekci Data.")};
        return m_known.value;
    }
    m_known = KnownValue{};
    return valueOf(*t, stamp, report);
}

Result<Currency> CPolozka::valueOf(const CStrav& type, quint64 stamp, Report report) const
{
    const CStrav* t = &type;
    // Remembered only when worked out without an error or a message: a code missing from its value table is
    // offered to the operator's one report again until it has been told.
    const auto remember = [&](Currency value) -> Result<Currency> {
        m_known = KnownValue{t, stamp, Kod, value};
        return value;
    };
    const VoucherContext* ctx = t->context();
    if (!ctx)
        return Error{0, QStringLiteral("Typ stravenky %1 nepatří do žádného seznamu typů.").arg(t->Nazev)};
    AppState& state = ctx->state;

    if (!t->TabulkaHodnot.isEmpty()) {
        const QString part = codePart(Kod, t->PozCastka, t->DelkaCastka);
        const auto entry = t->TabulkaHodnotDict ? t->TabulkaHodnotDict->value(part) : std::nullopt;
        if (entry) {
            const auto value = Currency::parse(*entry);
            if (!value) {
                return Error{0, QStringLiteral("Tabulka hodnot %1: hodnota \"%2\" pro %3 není číslo.")
                                    .arg(t->TabulkaHodnot, *entry, part)};
            }
            return remember(*value);
        }
        // The code stays booked at 0; saying so at every valuation of it would bury the operator in messages.
        if (report == Report::Operator && state.missingValueReports.firstReport(t->Nazev, Kod)) {
            ctx->prompts.message(QStringLiteral("Nebyla definována hodnota v tabulce hodnot pro ") + t->Nazev +
                                     QStringLiteral(" hodnota ") + part,
                                 Prompts::Buttons::Ok, Prompts::Icon::Critical);
        }
        return Currency();
    }

    const QString upperName = t->Nazev.toUpper();
    qint32 pos = t->PozCastka;
    qint32 len = t->DelkaCastka;
    qint32 koef = t->KoefCastka;
    bool secondSet = Kod.size() == t->Delka2;
    if (t->Delka == t->Delka2 && upperName.contains(QLatin1String("CHE")))
        secondSet = !Kod.startsWith(u'0');
    if (secondSet) {
        pos = t->PozCastka2;
        len = t->DelkaCastka2;
        koef = t->KoefCastka2;
    }
    const QString part = codePart(Kod, pos, len);
    const auto n = asLong(part);
    if (!n)
        return notANumber(Kod, part, pos);
    auto computed = withCoefficient(*n, koef, Kod);
    if (!computed.ok())
        return computed;
    Currency value = computed.value();

    if (upperName.contains(QLatin1String("AVE")) && Kod.size() == 13 && !state.sw.gFEuro && *n == 0)
        value = Currency::fromInt(50);

    if ((state.gTypDovolena || state.gTypDarkove || state.gTypUni) && codePart(Kod, 13, 1) == QLatin1String("0") &&
        codePart(Kod, 14, 1) == QLatin1String("0")) {
        const QString digit = codePart(Kod, 15, 1);
        const auto thousands = asLong(digit);
        if (!thousands)
            return notANumber(Kod, digit, 15);
        value = Currency::fromInt(static_cast<qint64>(*thousands) * 1000);
    }

    if (!state.sw.gFEuro)
        return remember(value);

    // EUR mode: the value comes from the code alone; the rate must be configured all the same.
    if (!state.config.maKurzEuro())
        return Error{kErrConfigKeyMissing, QStringLiteral("V konfiguraci chybí klíč kurzEuro v sekci Data.")};
    value = Currency();
    const QString part1 = codePart(Kod, t->PozCastka, t->DelkaCastka);
    if (Kod.size() == 14) {
        const auto field = asLong(part1);
        if (!field)
            return notANumber(Kod, part1, t->PozCastka);
        if (const auto nominal = euroNominal(*field))
            value = *nominal;
    }
    if (value.isZero()) {
        const auto n1 = asLong(part1);
        if (!n1)
            return notANumber(Kod, part1, t->PozCastka);
        auto scaled = withCoefficient(*n1, t->KoefCastka, Kod);
        return scaled.ok() ? remember(scaled.value()) : scaled;
    }
    return remember(value);
}

} // namespace trv

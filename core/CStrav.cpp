#include "core/CStrav.h"

#include "core/AppState.h"
#include "core/SharedHelpers.h"
#include "platform/Conventions.h"

#include <atomic>

namespace trv {

CStrav::CStrav() : DuplPol(std::make_shared<CColPolozky>()), Polozky(std::make_shared<CColPolozky>()) {}

namespace {
std::atomic<quint64> g_lastValuationStamp{0};

// Asked at every valuation and weighing: a text kept from the one compared with is mostly still the same text.
bool sameText(const QString& kept, const QString& now)
{
    return (kept.constData() == now.constData() && kept.size() == now.size()) || kept == now;
}
}

quint64 CStrav::valuationStamp() const
{
    // Asked at every valuation of every code: compared in place, copied only when something changed.
    const std::array<qint32, 8> layout{PozCastka, DelkaCastka, KoefCastka, PozCastka2, DelkaCastka2, KoefCastka2,
                                       Delka, Delka2};
    std::array<bool, 4> switches{};
    if (const VoucherContext* ctx = context()) {
        const AppState& state = ctx->state;
        switches = {state.sw.gFEuro, state.gTypDovolena, state.gTypDarkove, state.gTypUni};
    }
    const ValueTable* table = TabulkaHodnotDict.get();
    const quint64 tableRevision = table ? table->revision() : 0;
    const ValuationInputs& was = m_valuationInputs;
    if (m_valuationStamp != 0 && was.layout == layout && was.switches == switches && was.table == table &&
        was.tableRevision == tableRevision && was.context == context() && sameText(was.nazev, Nazev) &&
        sameText(was.tabulkaHodnot, TabulkaHodnot))
        return m_valuationStamp;
    m_valuationInputs = ValuationInputs{Nazev, TabulkaHodnot, table, tableRevision, layout, switches, context()};
    m_valuationStamp = ++g_lastValuationStamp;
    return m_valuationStamp;
}

Result<Currency> CStrav::soucet() const
{
    const QString noRead = m_context ? m_context->state.gNoRead : QString();
    Currency sum;
    for (const auto& code : *Polozky) {
        if (code->Kod == noRead)
            continue;
        const auto value = code->DejHodnotu();
        if (!value.ok())
            return value.error();
        // A sum stopped at the end of the range would be shown and saved as if it were the receipt's.
        const std::optional<Currency> next = sum.plus(value.value());
        if (!next)
            return Error{0, QStringLiteral("Součet kódů typu %1 je mimo rozsah částky.").arg(Nazev)};
        sum = *next;
    }
    return sum;
}

Result<Currency> CStrav::nactiSoucetStravenek()
{
    auto sum = soucet();
    if (sum.ok())
        sumaStravenek = sum.value();
    return sum;
}

Result<QString> CStrav::hodnotaStravenek() const
{
    const auto sum = soucet();
    if (!sum.ok())
        return sum.error();
    // Read back by programs that expect a decimal point, whatever the regional settings say.
    return CarkaNaTecku(formatNumber(sum.value(), u"########0.00"));
}

std::optional<Currency> CStrav::vahaKodu() const
{
    const qint32 count = Polozky->count();
    if (count == 0)
        return Currency();
    static const QString none;
    const QString& noRead = m_context ? m_context->state.gNoRead : none;
    const quint64 stamp = valuationStamp();
    const auto codes = Polozky->begin();
    // Codes are only ever appended while a receipt is read: the weight known of the first items still holds
    // while it was found for this very collection (its control block stays while the weak reference holds it, so
    // no other takes it) and the item it ended with stands where it stood.
    auto& known = m_knownWeight;
    const bool holds = known && !known->codes.owner_before(Polozky) && !Polozky.owner_before(known->codes) &&
                       known->stamp == stamp && sameText(known->noRead, noRead) && known->count <= count &&
                       (known->count == 0 || codes[known->count - 1] == known->last);
    if (holds && known->count == count)
        return known->weight;
    qint32 from = holds ? known->count : 0;
    std::optional<Currency> weight = holds ? known->weight : Currency();
    for (; from < count && weight; ++from) {
        const CPolozka& code = *codes[from];
        if (code.Kod == noRead)
            continue;
        if (const auto value = code.DejHodnotu(CPolozka::Report::Silent); value.ok())
            weight = weight->plus(value.value().abs());
    }
    known = KnownWeight{Polozky, count, codes[count - 1], stamp, noRead, weight};
    return weight;
}

void CStrav::VratDupl()
{
    for (const auto& code : *DuplPol)
        Polozky->Add(code);
    DuplPol = std::make_shared<CColPolozky>();
}

} // namespace trv

#include "core/CStrav.h"

#include "core/AppState.h"
#include "core/SharedHelpers.h"
#include "platform/Conventions.h"

#include <atomic>

namespace trv {

CStrav::CStrav() : DuplPol(std::make_shared<CColPolozky>()), Polozky(std::make_shared<CColPolozky>()) {}

namespace {
std::atomic<quint64> g_lastValuationStamp{0};
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
        was.tableRevision == tableRevision && was.context == context() && was.nazev == Nazev &&
        was.tabulkaHodnot == TabulkaHodnot)
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
        sum += value.value();
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

void CStrav::VratDupl()
{
    for (const auto& code : *DuplPol)
        Polozky->Add(code);
    DuplPol = std::make_shared<CColPolozky>();
}

} // namespace trv

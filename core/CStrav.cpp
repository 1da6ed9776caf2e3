#include "core/CStrav.h"

#include "core/AppState.h"
#include "core/SharedHelpers.h"
#include "platform/Conventions.h"

namespace trv {

CStrav::CStrav() : DuplPol(std::make_shared<CColPolozky>()), Polozky(std::make_shared<CColPolozky>()) {}

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

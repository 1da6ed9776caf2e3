#include "closing/CheckStatementLogic.h"

#include "closing/CheckStatement.h"
#include "closing/CheckStatementPrint.h"
#include "closing/ClosingWindowLogic.h"
#include "closing/PackageSums.h"
#include "closing/PrintJob.h"
#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Clock.h"
#include "platform/Printer.h"
#include "platform/Prompts.h"

namespace trv {

KontrolniVycetka::KontrolniVycetka(AppState& state, const ReceiptInfo& receipt, Prompts& prompts, const Clock& clock,
                                   Printer& printer, ClosingHooks hooks)
    : m_state(state), m_receipt(receipt), m_prompts(prompts), m_clock(clock), m_printer(printer),
      m_hooks(std::move(hooks)) {}

CColStrav& KontrolniVycetka::types() const {
    return *m_state.gColStrav;
}

QString KontrolniVycetka::text(const char* key) const {
    return m_state.config.DejText(QStringLiteral("frmKontrVyc"), QString::fromLatin1(key));
}

std::optional<QString> KontrolniVycetka::vyhodNoread() {
    if (m_state.gAutoDupl.toUpper() == QLatin1String("FALSE"))
        return std::nullopt;
    const qint64 removed = odstranNoread(types(), m_state.gNoRead, true);
    return QString::number(removed) + text("DuplicitSmazano");
}

void KontrolniVycetka::souctyBaliku() {
    trv::souctyBaliku(m_state, m_prompts, m_hooks);
}

std::vector<CompanyEntry> KontrolniVycetka::polozkyVyberu() const {
    return seznamSpolecnosti(types(), text("VsechnyTypy"));
}

Result<QString> KontrolniVycetka::vycetka() const {
    return zobrazKontrolniVycetku(m_state, types());
}

void KontrolniVycetka::smazStravenku() {
    const auto kod = m_prompts.input(text("ZadejteKodStrav"), text("SmazStrav"));
    if (!kod || kod->isEmpty())
        return;
    if (types().SmazStravenku(*kod))
        m_prompts.info(text("StravSmazana"));
    else
        m_prompts.error(text("StravNenalez"));
}

void KontrolniVycetka::smazNominal(const QString& cmbText) {
    const auto nominal = m_prompts.input(text("ZadejteNominal"), text("SmazatNominal"));
    if (!nominal || nominal->isEmpty())
        return;
    if (cmbText == text("VsechnyTypy")) {
        m_prompts.error(text("MusVybratStravSpol"));
        return;
    }
    const bool all = m_prompts.message(text("ChceteSmazat"), Prompts::Buttons::YesNo) == Prompts::Answer::Yes;
    const auto removed = all ? types().SmazNominal(*nominal, cmbText) : types().SmazJedenNominal(*nominal, cmbText);
    if (!removed.ok())
        m_prompts.error(removed.message());
    else if (removed.value())
        m_prompts.info(all ? text("StravSmazany") : text("StravSmazana"));
    else
        m_prompts.error(all ? text("StravNenalezeny") : text("StravNenalez"));
}

void KontrolniVycetka::tisk() {
    if (Status built = tiskniKontrolniVycetku(m_printer, m_state, types(), m_receipt, m_clock.today()); !built.ok()) {
        m_printer.killDoc();
        m_prompts.error(text("ChybaTisku") + QStringLiteral("\r\n") + built.message());
        return;
    }
    const auto outcome = dokonciTisk(m_printer, 1, m_state.config, m_prompts, QStringLiteral("frmKontrVyc"));
    if (outcome && outcome->pdfFile.empty())
        m_prompts.info(text("ProbehlTisk"));
}

} // namespace trv

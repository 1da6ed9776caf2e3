#include "closing/ReceiptSave.h"

#include "core/CashDeskFileName.h"
#include "closing/ClosingExports.h"
#include "closing/ReceiptDayTotals.h"
#include "closing/ReceiptFiles.h"
#include "closing/TicketsExport.h"
#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/SettingsLoader.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

namespace trv {

UlozeniPrijmu::UlozeniPrijmu(AppState& state, ReceiptInfo& receipt, Prompts& prompts, const Clock& clock)
    : m_state(state), m_receipt(receipt), m_prompts(prompts), m_clock(clock) {}

QString UlozeniPrijmu::text(const char* key) const {
    return m_state.config.DejText(QStringLiteral("frmUkonceniPr"), QString::fromLatin1(key));
}

void UlozeniPrijmu::hlasChybu(const char* key, const Error& error) {
    m_prompts.error(text(key) + QStringLiteral("\r\nNum: ") + QString::number(error.number) +
                    QStringLiteral(", descr: ") + error.message);
}

void UlozeniPrijmu::hlasChybuUlozeni(const Error& error) {
    m_prompts.error(QStringLiteral("frmUkonc.btnUlozClick(): ") + text("ChybaUklad") + QStringLiteral("\r\nNum: ") +
                    QString::number(error.number) + QStringLiteral(", descr: ") + error.message);
}

bool UlozeniPrijmu::uloz(const std::filesystem::path& dayFile) {
    CColStrav& types = *m_state.gColStrav;
    // The codes are on disk before any export runs: an export that fails can never cost the receipt its codes.
    if (Status written = zapisDenniSoubor(dayFile, types); !written.ok()) {
        hlasChybuUlozeni(written.error());
        return false;
    }
    for (const auto& t : types) {
        if (t->Export != 1)
            continue;
        if (Status exported = exportujSpolecnost(*t, dayFile, m_state.gNoRead, m_state.config, m_prompts);
            !exported.ok())
            hlasChybuUlozeni(exported.error());
    }

    bool result = false;
    if (m_state.sw.gFVycetky)
        result = ulozVycetkuADatabazi(dayFile);
    else
        ulozExpData(dayFile);

    if (!m_state.sw.gFDepo)
        m_prompts.message(text("Soubor") + TextFiles::toQString(dayFile) + text("Ulozen"));
    else if (result)
        m_prompts.message(text("ExpProveden"));
    return true;
}

bool UlozeniPrijmu::ulozVycetkuADatabazi(const std::filesystem::path& dayFile) {
    const CColStrav& types = *m_state.gColStrav;
    bool result = true;
    const QString separator = DejOddelovacExportu(m_state.config);
    m_receipt.gDatumVycetky = dateYYMMDD(m_receipt.gDatumOdvodu);

    const std::filesystem::path statementFile = cestaVycetky(dayFile);
    const auto records = zaznamyVycetky(m_state, types, m_receipt, separator);
    const Status written =
        records.ok() ? TextFiles::writeLines(statementFile, records.value()) : Status(records.error());
    if (!written.ok()) {
        hlasChybu("ChybaGen", written.error());
        result = false;
    }
    if (!m_state.sw.gFDepo) {
        if (result)
            m_prompts.message(text("SouborVyc") + TextFiles::toQString(statementFile) + text("Ulozen"));
        return result;
    }

    const auto rows = radkyTickets(m_state, types, m_receipt, m_clock.today());
    const Status inserted = rows.ok() ? zapisTickets(m_state.config, rows.value()) : Status(rows.error());
    if (!inserted.ok()) {
        hlasChybu("ChybaDat", inserted.error());
        return false;
    }
    return result;
}

void UlozeniPrijmu::ulozExpData(const std::filesystem::path& dayFile) {
    const QString fileName = TextFiles::toQString(dayFile.filename());
    const auto name = CashDeskFileName::parse(fileName);
    if (!name) {
        // Only a receipt started by cash desk names its cash desk and day; a guess would add the totals to a
        // row of another cash desk or day.
        m_prompts.message(text("ExpDataPreskoceno") + fileName, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return;
    }
    const auto folder = DejCestuExportu(m_state.config);
    if (!folder.ok()) {
        m_prompts.error(folderErrorText(m_state.config, DataFolder::Exportu, folder.error()));
        return;
    }
    const auto totals = DayTotals::soucty(*m_state.gColStrav, name->pokladna.toLongLong(), name->den);
    const Status added = totals.ok() ? pridejDoExpData(folder.value(), totals.value()) : Status(totals.error());
    if (!added.ok())
        hlasChybuUlozeni(added.error());
}

bool UlozeniPrijmu::ulozSafeBag() {
    const auto folder = DejCestuSFB(m_state.config);
    if (!folder.ok()) {
        hlasChybuUlozeni(folder.error());
        return false;
    }
    const auto written = zapisSafeBag(folder.value(), *m_state.gColStrav, m_clock.now());
    if (!written.ok()) {
        hlasChybuUlozeni(written.error());
        return false;
    }
    return true;
}

} // namespace trv

#include "closing/ReceiptSave.h"

#include "closing/ClosingExports.h"
#include "closing/ReceiptDayTotals.h"
#include "closing/ReceiptFiles.h"
#include "closing/TicketsExport.h"
#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CashDeskFileName.h"
#include "core/ErrorText.h"
#include "core/ReaderControl.h"
#include "core/ReceiptRecord.h"
#include "core/SafeBagList.h"
#include "core/SettingsLoader.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

#include <QLoggingCategory>

#include <algorithm>

namespace trv {

namespace {
Q_LOGGING_CATEGORY(lcSave, "trv.save")

// The receipt read without a cash desk (the receipt start's Barcode.txt mode).
const QString kBarcodeSoubor = QStringLiteral("Barcode.txt");
} // namespace

UlozeniPrijmu::UlozeniPrijmu(AppState& state, ReceiptInfo& receipt, Prompts& prompts, const Clock& clock)
    : m_state(state), m_receipt(receipt), m_prompts(prompts), m_clock(clock) {}

QString UlozeniPrijmu::text(const char* key) const {
    return m_state.config.DejText(QStringLiteral("frmUkonceniPr"), QString::fromLatin1(key));
}

void UlozeniPrijmu::hlasChybu(const char* key, const Error& error, const QString& what) {
    m_prompts.error(text(key) + what + QStringLiteral("\r\n") +
                    errorNumberAndDescription(error, QStringLiteral("Num"), QStringLiteral("descr")));
}

void UlozeniPrijmu::hlasChybuUlozeni(const Error& error) {
    // The procedure's name is for whoever reads the program's log, not for the operator.
    qCWarning(lcSave).noquote() << "frmUkonc.btnUlozClick():" << error.message;
    m_prompts.error(text("ChybaUklad") + QStringLiteral("\r\n") +
                    errorNumberAndDescription(error, QStringLiteral("Num"), QStringLiteral("descr")));
}

QStringList UlozeniPrijmu::vystupy(const std::filesystem::path& dayFile) const {
    QStringList outputs{text("CastDenniSoubor") + u' ' + TextFiles::toQString(dayFile)};
    for (const auto& t : *m_state.gColStrav)
        if (t->Export == 1)
            outputs << text("CastExport") + t->Nazev;
    if (m_state.sw.gFVycetky) {
        outputs << text("CastVycetka") + u' ' + TextFiles::toQString(cestaVycetky(dayFile));
        if (m_state.sw.gFDepo)
            outputs << QStringLiteral("řádky tabulky tickets");
    } else if (TextFiles::toQString(dayFile.filename()).compare(kBarcodeSoubor, Qt::CaseInsensitive) != 0) {
        // Barcode.txt has no cash desk and so no row.
        outputs << text("CastExpData");
    }
    return outputs;
}

bool UlozeniPrijmu::uloz(const std::filesystem::path& dayFile) {
    const std::filesystem::path programFolder = m_state.config.programFolder();
    const ReceiptRecord::Ids ids{m_receipt.gDepo, m_receipt.gIdentObalky, m_receipt.gIdentFA};
    // What the record said of this receipt before: a save that writes nothing leaves it so.
    const ReceiptRecord::Entry before =
        ReceiptRecord::find(programFolder, dayFile)
            .value_or(ReceiptRecord::Entry{dayFile, ReceiptRecord::Kind::DayFile, ids, std::nullopt, {}, {}});
    if (const Status recorded = ReceiptRecord::saveStarted(programFolder, dayFile, ids, vystupy(dayFile)); !recorded)
        m_prompts.error(recorded.message());
    const bool saved = ulozVse(dayFile);
    // Not saved, the receipt runs on, unsaved as before; saved, only its own entry goes.
    const Status recorded =
        saved ? ReceiptRecord::ended(programFolder, dayFile) : ReceiptRecord::put(programFolder, before);
    if (!recorded)
        m_prompts.error(recorded.message());
    return saved;
}

bool UlozeniPrijmu::ulozVse(const std::filesystem::path& dayFile) {
    CColStrav& types = *m_state.gColStrav;
    // The codes are on disk before any export runs: an export that fails can never cost the receipt its codes.
    if (Status written = zapisDenniSoubor(dayFile, types); !written.ok()) {
        hlasChybuUlozeni(written.error());
        return false;
    }
    Casti casti;
    casti.ulozeno.append(text("CastDenniSoubor"));
    for (const auto& t : types) {
        if (t->Export != 1)
            continue;
        const QString part = text("CastExport") + t->Nazev;
        if (Status exported = exportujSpolecnost(*t, dayFile, m_state.gNoRead, m_state.config, m_prompts);
            !exported.ok()) {
            hlasChybu("ChybaExportSpol", exported.error(), t->Nazev);
            casti.nezdarilo.append(part);
        } else {
            casti.ulozeno.append(part);
        }
    }

    if (m_state.sw.gFVycetky) {
        const bool result = ulozVycetkuADatabazi(dayFile);
        if (m_state.sw.gFDepo) {
            // Depot mode confirms the export only; its failures have said which file or table failed.
            if (result)
                m_prompts.message(text("ExpProveden"));
            return true;
        }
        (result ? casti.ulozeno : casti.nezdarilo).append(text("CastVycetka"));
    } else {
        ulozExpData(dayFile, casti);
    }

    const QString saved = text("Soubor") + TextFiles::toQString(dayFile) + text("Ulozen");
    if (casti.nezdarilo.isEmpty()) {
        m_prompts.message(saved);
        return true;
    }
    // The day file is safe, but the operator must know which of the rest is behind.
    m_prompts.message(saved + QStringLiteral("\r\n") + text("CastiUlozeny") + casti.ulozeno.join(QStringLiteral(", ")) +
                          QStringLiteral(".\r\n") + text("CastiNeulozeny") +
                          casti.nezdarilo.join(QStringLiteral(", ")) + u'.',
                      Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    return true;
}

bool UlozeniPrijmu::ulozVycetkuADatabazi(const std::filesystem::path& dayFile) {
    const CColStrav& types = *m_state.gColStrav;
    bool result = true;
    const QString separator = DejOddelovacExportu(m_state.config);
    m_receipt.gDatumVycetky = dateYYMMDD(m_receipt.gDatumOdvodu);

    const std::filesystem::path statementFile = cestaVycetky(dayFile);
    // The records are written as they are made; a code that cannot be valued leaves no statement file behind.
    Status valued = Status::success();
    Status written = TextFiles::writeLines(statementFile, [&](const TextFiles::LineSink& record) {
        valued = zaznamyVycetky(m_state, types, m_receipt, separator, record);
        return valued.ok();
    });
    if (!valued.ok())
        written = valued;
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

void UlozeniPrijmu::ulozExpData(const std::filesystem::path& dayFile, Casti& casti) {
    const QString fileName = TextFiles::toQString(dayFile.filename());
    const auto name = CashDeskFileName::parse(fileName);
    if (!name) {
        // A Barcode.txt receipt has no cash desk: there is no row to write, and nothing to warn of.
        if (fileName.compare(kBarcodeSoubor, Qt::CaseInsensitive) == 0)
            return;
        // Only a receipt started by cash desk names its cash desk and day; a guess would write the totals to a
        // row of another cash desk or day.
        m_prompts.message(text("ExpDataPreskoceno") + fileName, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        casti.nezdarilo.append(text("CastExpData"));
        return;
    }
    const auto folder = DejCestuExportu(m_state.config);
    if (!folder.ok()) {
        m_prompts.error(text("ChybaExpData") + QStringLiteral("\r\n") +
                        folderErrorText(m_state.config, DataFolder::Exportu, folder.error()));
        casti.nezdarilo.append(text("CastExpData"));
        return;
    }
    // The row is computed from every day file of that day and cash desk on disk, this one just written among
    // them: a receipt appended to an earlier file, or saved twice, is never counted twice.
    const qint64 pokladna = name->pokladna.toLongLong();
    NullReaderControl noReader;
    const auto rows = DayTotals(m_state, m_prompts, m_clock, noReader).spoctiDen(name->datum);
    Result<DayTotals::Row> row = rows.ok() ? Result<DayTotals::Row>(Error{}) : Result<DayTotals::Row>(rows.error());
    if (rows.ok()) {
        const auto found = std::find_if(rows.value().cbegin(), rows.value().cend(),
                                        [pokladna](const DayTotals::Row& r) { return r.pokladni == pokladna; });
        // A day file outside the data folder is not among them: its own codes are the row.
        row = found != rows.value().cend() ? Result<DayTotals::Row>(*found)
                                           : DayTotals::soucty(*m_state.gColStrav, pokladna, name->den);
    }
    const Status written = row.ok() ? zapisDoExpData(folder.value(), row.value()) : Status(row.error());
    if (!written.ok()) {
        hlasChybu("ChybaExpData", written.error());
        casti.nezdarilo.append(text("CastExpData"));
        return;
    }
    casti.ulozeno.append(text("CastExpData"));
}

bool UlozeniPrijmu::ulozSafeBag() {
    const auto folder = slozkaSafeBag(m_state.config);
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

#include "closing/ClosingWindowLogic.h"

#include "closing/ClosingExports.h"
#include "closing/ClosingStatement.h"
#include "closing/PackageSums.h"
#include "closing/PrintJob.h"
#include "closing/PrintedStatement.h"
#include "closing/ProductGroupStatement.h"
#include "closing/ReceiptFiles.h"
#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/DocumentNumbering.h"
#include "core/ErrorText.h"
#include "core/ReaderControl.h"
#include "core/SettingsLoader.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/Printer.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

namespace trv {

qint64 odstranNoread(CColStrav& types, const QString& noRead, bool alsoRepeats) {
    qint64 removed = 0;
    for (const auto& t : types) {
        removed += t->Polozky->count();
        auto kept = std::make_shared<CColPolozky>();
        for (const auto& code : *t->Polozky) {
            if (code->Kod != noRead)
                kept->Add(code, alsoRepeats ? code->Kod : QString());
        }
        removed -= kept->count();
        t->Polozky = std::move(kept);
    }
    return removed;
}

UkonceniPrijmu::UkonceniPrijmu(AppState& state, ReceiptInfo& receipt, Prompts& prompts, const Clock& clock,
                               Printer& printer, ClosingHooks hooks)
    : m_state(state), m_receipt(receipt), m_prompts(prompts), m_clock(clock), m_printer(printer),
      m_hooks(std::move(hooks)), m_save(state, receipt, prompts, clock) {}

CColStrav& UkonceniPrijmu::types() const {
    return *m_state.gColStrav;
}

QString UkonceniPrijmu::text(const char* key) const {
    return m_state.config.DejText(QStringLiteral("frmUkonceniPr"), QString::fromLatin1(key));
}

std::vector<CompanyEntry> UkonceniPrijmu::polozkyVyberu() const {
    return seznamSpolecnosti(types(), text("Vsechny"));
}

StatementChoice UkonceniPrijmu::volba(int entryIndex) const {
    const auto entries = polozkyVyberu();
    if (entryIndex < 0 || entryIndex >= static_cast<int>(entries.size()) || entries[size_t(entryIndex)].itemData == 0)
        return StatementChoice::allCompanies();
    return StatementChoice::company(entries[size_t(entryIndex)].text, entryIndex);
}

qint64 UkonceniPrijmu::pocetKodu() const {
    qint64 n = 0;
    for (const auto& t : types())
        n += t->Polozky->count();
    return n;
}

ReceiptRecord::Discard UkonceniPrijmu::zahozeni() const {
    if (m_hooks.popisZahozeni)
        return m_hooks.popisZahozeni();
    ReceiptRecord::Discard discard;
    discard.file = m_dayFile;
    if (!m_dayFile.empty() && TextFiles::exists(m_dayFile) && !m_receipt.gNemazatSoubor &&
        m_state.gSouborVytvorenNovy && !jenProCteni(m_dayFile))
        discard.fate = ReceiptRecord::Discard::Fate::Removed;
    return discard;
}

qint64 UkonceniPrijmu::zahozenychKodu(const ReceiptRecord::Discard& discard) const {
    // The codes the file held before the receipt come back with it; every other code is lost.
    return ReceiptRecord::codesNotIn(types().kodyVsechTypu(), discard.codesBefore);
}

bool UkonceniPrijmu::potvrdOdchod(Odchod odchod) {
    QString what;
    qint64 kody = 0;
    if (odchod == Odchod::Storno) {
        const ReceiptRecord::Discard discard = zahozeni();
        kody = zahozenychKodu(discard);
        using Fate = ReceiptRecord::Discard::Fate;
        if (!discard.file.empty()) {
            what = text(discard.fate == Fate::Removed   ? "ZahodSmaze"
                        : discard.fate == Fate::PutBack ? "ZahodVrati"
                                                        : "ZahodPonecha") +
                   TextFiles::toQString(discard.file);
        }
        if (!discard.outputs.isEmpty())
            what += QStringLiteral("\r\n") + text("ZahodVystupy") + discard.outputs.join(QStringLiteral(", "));
    } else {
        kody = pocetKodu();
        what = text(odchod == Odchod::Zavrit ? "DotazZavrit" : "DotazSmazObs");
    }
    if (kody == 0)
        return true;
    const char* back = odchod == Odchod::Zavrit   ? "ZpetZavrit"
                       : odchod == Odchod::Storno ? "ZpetStorno"
                                                  : "ZpetSmazObs";
    // The message box makes its first button the default and answers Cancel to Escape: the question is put
    // so that "Ano" and "Storno" are the safe answers and only "Ne" goes on.
    QString question = text("NeulozenoKodu") + QString::number(kody) + QStringLiteral("\r\n");
    if (!what.isEmpty())
        question += what + QStringLiteral("\r\n");
    question += QStringLiteral("\r\n") + text(back);
    return m_prompts.message(question, Prompts::Buttons::YesNoCancel, Prompts::Icon::Exclamation) ==
           Prompts::Answer::No;
}

qint64 UkonceniPrijmu::pocetNoRead() const {
    qint64 n = 0;
    for (const auto& t : types()) {
        for (const auto& code : *t->Polozky) {
            if (code->Kod == m_state.gNoRead)
                ++n;
        }
    }
    return n;
}

std::optional<QString> UkonceniPrijmu::odstran(bool alsoRepeats, const char* suffixKey) {
    if (m_state.gAutoDupl.toUpper() == QLatin1String("FALSE"))
        return std::nullopt;
    const qint64 removed = odstranNoread(types(), m_state.gNoRead, alsoRepeats);
    return text("Odstran") + QString::number(removed) + text(suffixKey);
}

std::optional<QString> UkonceniPrijmu::vyhodNoread() {
    return odstran(false, "PolNOREAD");
}

std::optional<QString> UkonceniPrijmu::vyhodNoreadPriNacteni() {
    return odstran(true, "DuplPol");
}

QString UkonceniPrijmu::odstraneniVypnuto() const {
    return text("OdstraneniVypnuto");
}

void UkonceniPrijmu::souctyBaliku() {
    trv::souctyBaliku(m_state, m_prompts, m_hooks);
}

bool UkonceniPrijmu::ulozSafeBag() {
    if (!m_save.ulozSafeBag())
        return false;
    // The list is the receipt's saved form: what kept its codes until now is no longer needed.
    if (m_hooks.seznamSafeBagZapsan)
        m_hooks.seznamSafeBagZapsan();
    return true;
}

Result<QString> UkonceniPrijmu::vycetka(const StatementChoice& choice) const {
    const bool prvni = std::exchange(m_prvniVycetka, false);
    if (prvni && m_state.sw.gFSkupiny) {
        auto groups = sectiSkupiny(m_state, m_prompts, m_clock, types(), choice.all ? QString() : choice.typeName,
                                   m_hooks.obdobiBaliky, m_hooks.logujChybu);
        if (!groups.ok())
            return groups.error();
        return zobrazVycetkuSkupin(m_state, groups.value());
    }
    return zobrazVycetku(m_state, types(), m_receipt.zakaznik, choice);
}

void UkonceniPrijmu::smazObsah() {
    NullReaderControl noReader;
    Booking(m_state, types(), m_prompts, noReader).VymazBuf();
}

UkonceniPrijmu::Sestaveni UkonceniPrijmu::sestavTisk(const StatementChoice& choice) {
    const auto printed = tiskniVycetku(m_printer, m_state, types(), m_receipt, choice, m_clock.today());
    if (printed.ok() && printed.value())
        return Sestaveni::Hotovo;
    m_printer.killDoc();
    if (printed.ok())
        return Sestaveni::Nic;
    m_prompts.error(text("ChybaTisku") + QStringLiteral("\r\n") + printed.message());
    return Sestaveni::Chyba;
}

void UkonceniPrijmu::tiskSouctu(const StatementChoice& choice) {
    if (m_state.sw.gFSkupiny) {
        // By product group: the product named by the company shown at the moment of printing.
        auto groups = sectiSkupiny(m_state, m_prompts, m_clock, types(), choice.all ? QString() : choice.typeName,
                                   m_hooks.obdobiBaliky, m_hooks.logujChybu);
        if (!groups.ok()) {
            m_prompts.error(text("ChybaTisku") + QStringLiteral("\r\n") + groups.message());
            return;
        }
        tiskniVycetkuSkupin(m_printer, m_state, groups.value(), m_clock.today());
    } else if (sestavTisk(choice) != Sestaveni::Hotovo) {
        return;
    }
    const auto outcome = dokonciTisk(m_printer, 1, m_state.config, m_prompts, QStringLiteral("frmUkonceniPr"));
    if (outcome && outcome->pdfFile.empty() && !m_state.sw.gFZakaznik)
        m_prompts.info(text(m_state.sw.gFSkupiny && m_state.sw.gFEuro ? "ProbTiskSoucEURO" : "ProbTiskSouc"));
}

bool UkonceniPrijmu::uloz() {
    return m_save.uloz(m_dayFile);
}

int UkonceniPrijmu::pocetKopii() const {
    const QString value =
        m_state.config.CtiKonfig(QStringLiteral("User"), QStringLiteral("PocetKopii"), QStringLiteral("1"));
    return static_cast<int>(std::max<qint64>(0, static_cast<qint64>(val(value))));
}

bool UkonceniPrijmu::ulozATiskni(const std::function<void(int entryIndex)>& vybrano) {
    const int copies = pocetKopii();
    if (!m_save.uloz(m_dayFile))
        return false;
    const bool single = types().count() == 1;
    bool allSent = true;
    int entry = single ? 0 : 1;
    for (const auto& t : types()) {
        const StatementChoice choice =
            single ? StatementChoice::allCompanies() : StatementChoice::company(t->Nazev, entry);
        if (vybrano)
            vybrano(entry);
        ++entry;
        if (copies <= 0)
            continue;
        const Sestaveni built = sestavTisk(choice);
        if (built == Sestaveni::Chyba) {
            allSent = false;
            break;
        }
        if (built == Sestaveni::Nic)
            continue;
        const auto outcome = dokonciTisk(m_printer, copies, m_state.config, m_prompts, QStringLiteral("frmUkonceniPr"));
        if (!outcome) {
            allSent = false;
            break;
        }
        if (!outcome->pdfFile.empty())
            allSent = false;
    }
    if (allSent)
        m_prompts.info(text("ProbTiskSouc"));
    return true;
}

Status UkonceniPrijmu::exportAS400() {
    std::filesystem::path folder = m_state.gDirAS400;
    if (folder.empty())
        folder = DejCestuAS400(m_state.config);
    if (folder.empty()) {
        const auto data = DejCestuDat(m_state.config);
        if (!data.ok())
            return Status(data.error());
        folder = data.value();
    }
    return exportujAS400(m_dayFile, folder, types(), m_state.gNoRead);
}

QString UkonceniPrijmu::chybaAS400(const Error& error) const {
    return text("ChybaAS400") + QStringLiteral("\r\n") +
           errorNumberAndDescription(error, QStringLiteral("Num"), QStringLiteral("descr"));
}

void UkonceniPrijmu::storno() {
    // The main window wrote the codes to the receipt's file as they were booked: it takes them out again,
    // removing a file this receipt created and putting an appended-to file back as it was.
    if (m_hooks.zahodSoubor) {
        if (Status discarded = m_hooks.zahodSoubor(); !discarded.ok())
            m_prompts.error(text("ChybaMazani") + QStringLiteral("\r\n") + discarded.message());
    } else if (zahozeni().fate == ReceiptRecord::Discard::Fate::Removed) {
        if (Status removed = TextFiles::remove(m_dayFile); !removed.ok())
            m_prompts.error(text("ChybaMazani") + QStringLiteral("\r\n") + removed.message());
    }
    if (Status back = VratPosledniSoubor(m_state); !back.ok())
        m_prompts.error(text("ChybaCislaDokladu") + QStringLiteral("\r\n") + back.message());
}

void UkonceniPrijmu::zavreno() {
    if (m_hooks.vycistiPrijem)
        m_hooks.vycistiPrijem();
}

} // namespace trv

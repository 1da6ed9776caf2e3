#include "core/Booking.h"

#include "core/DayDataFiles.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CPolozka.h"
#include "core/CStrav.h"
#include "core/CodeParts.h"
#include "core/DayDataFiles.h"
#include "core/DayFileName.h"
#include "core/ReaderControl.h"
#include "core/SharedHelpers.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

namespace trv {

namespace {

QString packageText(const CStrav& t) {
    return QStringLiteral("Společnost ") + t.Nazev + QStringLiteral(" má v balíku načteno za ") +
           formatCurrency(t.sumaStravenek);
}

// The warning threshold moves on by a fifth of the way from the first threshold to the maximum, so the
// warning comes again at each further fifth, also past the maximum.
Currency warningStep(const CStrav& t) {
    return Currency::fromUnits((t.MaxVycetkaSum - t.VarningVycetkaSum).units() / 5);
}

} // namespace

Booking::Booking(AppState& state, CColStrav& types, Prompts& prompts, ReaderControl& reader)
    : m_state(state), m_types(types), m_prompts(prompts), m_reader(reader) {}

void Booking::refuse(QString message) {
    m_lastError = Error{0, std::move(message)};
}

std::shared_ptr<CStrav> Booking::findType(const QString& s, bool logToWindow) {
    // An empty line (a blank line of a stored file) holds no code: there is nothing to stop the reader for or
    // to tell the operator about.
    if (s.isEmpty()) {
        refuse(QStringLiteral("Prázdný řádek není kód stravenky."));
        return nullptr;
    }
    const auto found = m_types.NajdiTypKodu(s);
    if (found.ok() && found.value())
        return found.value();

    m_reader.ZastavCteni();
    const QString text = m_state.config.DejText(QStringLiteral("CColStrav"), QStringLiteral("StravCislo")) + s +
                         m_state.config.DejText(QStringLiteral("CColStrav"), QStringLiteral("NebylaRozp"));
    if (logToWindow && m_state.sw.gFChybyDoOkna)
        m_reader.LogujDoOkna(s + QStringLiteral(" ") + text);
    else
        m_prompts.message(text, Prompts::Buttons::Ok, Prompts::Icon::Critical);
    refuse(text);
    return nullptr;
}

std::shared_ptr<CPolozka> Booking::newCode(const QString& s, qint32 tn, const std::shared_ptr<CStrav>& type) const {
    auto code = std::make_shared<CPolozka>();
    code->Kod = s;
    code->TypNacteni = tn;
    code->setTypS(type);
    return code;
}

bool Booking::refuseMissingValue(const QString& s, const CStrav& type) {
    if (type.TabulkaHodnot.isEmpty())
        return false;
    const QString part = codePart(s, type.PozCastka, type.DelkaCastka);
    if (type.TabulkaHodnotDict && type.TabulkaHodnotDict->contains(part))
        return false;
    // Booked at 0 it would slip into the statement as a worthless voucher: the operator decides instead.
    stopAndRefuse(s, QStringLiteral("Nebyla definována hodnota v tabulce hodnot pro ") + type.Nazev +
                         QStringLiteral(" hodnota ") + part);
    return true;
}

void Booking::stopAndTell(const AppState& state, ReaderControl& reader, Prompts& prompts, const QString& s,
                          const QString& text) {
    reader.ZastavCteni();
    if (state.sw.gFChybyDoOkna)
        reader.LogujDoOkna(s + QStringLiteral(" ") + text);
    else
        prompts.message(text, Prompts::Buttons::Ok, Prompts::Icon::Critical);
}

void Booking::stopAndRefuse(const QString& s, const QString& text) {
    stopAndTell(m_state, m_reader, m_prompts, s, text);
    refuse(text);
}

QString Booking::kodMimoRozsahText(const QString& kod) {
    return QStringLiteral("Kód %1 nelze přijmout: součet příjmu by překročil největší částku, kterou program umí "
                          "sečíst (%2).")
        .arg(kod, formatCurrency(Currency::max()));
}

QString Booking::souborMimoRozsahText(const std::filesystem::path& soubor) {
    return QStringLiteral("Kódy souboru %1 dávají součet větší než největší částka, kterou program umí sečíst (%2).")
        .arg(TextFiles::toQString(soubor), formatCurrency(Currency::max()));
}

bool Booking::refuseOutOfRange(const QString& s, const CPolozka& code) {
    // Only the receipt is weighed: the package collection of package/week mode takes a code the receipt took.
    if (&m_types != m_state.gColStrav.get())
        return false;
    // A code that cannot be valued adds nothing to a sum; the statement tells the operator about it.
    const auto value = code.DejHodnotu(CPolozka::Report::Silent);
    if (!value.ok())
        return false;
    const std::optional<Currency> weight = m_types.vahaKodu();
    if (weight && weight->plus(value.value().abs()))
        return false;
    // Taken, the code would leave a sum stopped at the end of the range, shown, printed and saved as the receipt's.
    stopAndRefuse(s, kodMimoRozsahText(s));
    return true;
}

void Booking::warnPackage(const CStrav& type) {
    m_prompts.message(packageText(type) + QStringLiteral(". Mělo by se u této společnosti zvýšit číslo balíku. "),
                      Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
}

bool Booking::OverZvolenouSplecnost(const QString& s, int selectedIndex) {
    if (s == m_state.gNoRead || !m_state.sw.gFKontrolaSpolecnosti)
        return true;
    // A code of no known type passes here: the booking refuses it with its own message.
    const auto found = m_types.NajdiTypKodu(s);
    if (!found.ok() || !found.value())
        return true;
    return found.value()->PoradiSpolecnosti == selectedIndex + 1;
}

std::shared_ptr<CPolozka> Booking::PridejKod(const QString& s, qint32 tn, bool maxVycetkaVarning) {
    m_lastError.reset();
    const auto found = findType(s, true);
    if (!found)
        return nullptr;
    CStrav& t = *found;
    const bool noRead = s == m_state.gNoRead;
    if (!noRead && refuseMissingValue(s, t))
        return nullptr;

    auto code = newCode(s, tn, found);
    if (!noRead && refuseOutOfRange(s, *code))
        return nullptr;
    if (noRead || !maxVycetkaVarning || !m_state.sw.gFBalikyTyden) {
        t.Polozky->Add(code);
        return code;
    }

    // The value is worked out before the code is booked, so that a booked code always counts in the sum.
    const auto value = code->DejHodnotu();
    if (!value.ok()) {
        m_reader.ZastavCteni();
        m_prompts.message(value.message(), Prompts::Buttons::Ok, Prompts::Icon::Critical);
        m_lastError = value.error();
        return nullptr;
    }
    t.Polozky->Add(code);
    pripoctiDoBaliku(t, value.value());
    return code;
}

void Booking::pripoctiDoBaliku(CStrav& t, Currency value) {
    t.sumaStravenek += value;
    if (t.sumaStravenek > t.varningSumVycetkaPohyb) {
        warnPackage(t);
        t.varningSumVycetkaPohyb += warningStep(t);
    }
}

Result<std::shared_ptr<CPolozka>> Booking::PridejUlozenyKod(const QString& s, qint32 tn,
                                                            const std::filesystem::path& soubor) {
    m_lastError.reset();
    if (s.trimmed().isEmpty())
        return std::shared_ptr<CPolozka>(); // a blank line of the file holds no code
    const auto found = m_types.NajdiTypKodu(s);
    if (!found.ok() || !found.value()) {
        const QString text = m_state.config.DejText(QStringLiteral("CColStrav"), QStringLiteral("StravCislo")) + s +
                             m_state.config.DejText(QStringLiteral("CColStrav"), QStringLiteral("NebylaRozp")) +
                             QStringLiteral(" Soubor: ") + TextFiles::toQString(soubor);
        refuse(text);
        return Error{0, text};
    }
    auto code = newCode(s, tn, found.value());
    found.value()->Polozky->Add(code);
    return code;
}

void Booking::ohlasNerozpoznane(const QStringList& texty, bool zastavit) {
    if (texty.isEmpty())
        return;
    if (zastavit)
        m_reader.ZastavCteni();
    if (m_state.sw.gFChybyDoOkna) {
        for (const QString& text : texty)
            m_reader.LogujDoOkna(text);
        return;
    }
    // One box for a whole file of foreign lines; the first ones name what was refused.
    constexpr qsizetype kShown = 20;
    QStringList lines = texty.mid(0, kShown);
    if (texty.size() > kShown)
        lines.append(QStringLiteral("… a dalších %1 nerozpoznaných řádků.").arg(texty.size() - kShown));
    m_prompts.message(lines.join(u'\n'), Prompts::Buttons::Ok, Prompts::Icon::Critical);
}

std::shared_ptr<CPolozka> Booking::PridejKodDuplicityCheque(const QString& s, qint32 tn, const QString& dataFile) {
    m_lastError.reset();
    const auto found = findType(s, false);
    if (!found)
        return nullptr;
    auto code = newCode(s, tn, found);
    code->dataFile = dataFile;
    const Status logged = found->Polozky->AddDuplicityCheck(code, s, m_types.duplicityLog());
    if (!logged.ok()) {
        // The duplicate is listed all the same; the operator hears once that the log is not being kept.
        m_lastError = logged.error();
        if (!m_logFailureReported) {
            m_logFailureReported = true;
            m_prompts.message(logged.message(), Prompts::Buttons::Ok, Prompts::Icon::Critical);
        }
    }
    return code;
}

Result<std::shared_ptr<CPolozka>> Booking::pridejKodDoBaliku(const QString& s, const QString& balikMask,
                                                             const QString& balikTisk, bool hlasitPresah) {
    const auto found = findType(s, false);
    if (!found)
        return std::shared_ptr<CPolozka>();
    CStrav& t = *found;
    const qsizetype k = t.PoradiSpolecnosti;
    const QString m = mid(balikMask, k, 1);
    const QString p = balikTisk.size() > 1 ? mid(balikTisk, k, 1) : balikTisk;
    if (p != m)
        return std::shared_ptr<CPolozka>();

    auto code = newCode(s, 2, found);
    // A failed read has no value; it adds nothing to the package.
    if (!m_state.sw.gFBalikyTyden || s == m_state.gNoRead) {
        t.Polozky->Add(code);
        return code;
    }
    const auto value = code->DejHodnotu();
    if (!value.ok())
        return value.error();
    t.Polozky->Add(code);
    t.sumaStravenek += value.value();
    if (t.sumaStravenek > t.MaxVycetkaSum) {
        // Announced once per opening of the receipt dialog, for the first company that passes its maximum.
        if (m_state.gHlasitMaxVycetku) {
            if (hlasitPresah) {
                m_prompts.message(packageText(t) + QStringLiteral(". Došlo k překročení maximální výčetky . "),
                                  Prompts::Buttons::Ok, Prompts::Icon::Critical);
            }
            m_state.gHlasitMaxVycetku = false;
        }
    } else if (t.sumaStravenek > t.varningSumVycetkaPohyb) {
        if (hlasitPresah)
            warnPackage(t);
        t.varningSumVycetkaPohyb += warningStep(t);
    }
    return code;
}

std::shared_ptr<CPolozka> Booking::PridejKodDoBaliku(const QString& s, const QString& balikMask,
                                                     const QString& balikTisk, bool hlasitPresah) {
    m_lastError.reset();
    auto booked = pridejKodDoBaliku(s, balikMask, balikTisk, hlasitPresah);
    if (!booked.ok()) {
        m_prompts.message(booked.message(), Prompts::Buttons::Ok, Prompts::Icon::Critical);
        m_lastError = booked.error();
        return nullptr;
    }
    return booked.value();
}

std::shared_ptr<CPolozka> Booking::PridejKodLastDate(const QString& s, const QString& lastDate) {
    m_lastError.reset();
    const auto found = findType(s, false);
    if (!found)
        return nullptr;
    auto code = newCode(s, 1, found);
    if (found->LastVycetkaDate < lastDate)
        found->Polozky->Add(code);
    return code;
}

void Booking::VymazBuf() {
    for (const auto& t : m_types) {
        t->Polozky = std::make_shared<CColPolozky>();
        t->sumaStravenek = Currency();
    }
}

void Booking::VyhodDupl() {
    if (m_state.gAutoDupl.toUpper() == QLatin1String("FALSE"))
        return;
    for (const auto& t : m_types) {
        auto kept = std::make_shared<CColPolozky>();
        for (const auto& code : *t->Polozky) {
            if (code->Kod != m_state.gNoRead)
                kept->Add(code, code->Kod); // a repeated code is refused: the first reading stays
        }
        t->Polozky = std::move(kept);
    }
}

Status Booking::nactiPosledniBalik(const QString& balik, int tyden, bool maxVycVarn) {
    m_lastError.reset();
    if (m_state.sw.gFVycetky) {
        // Day data files only: a nominal summary <stem>.TXT beside its day file holds no codes.
        const auto files = DayDataFiles::list(m_state.gDatovyAdresar);
        if (!files.ok())
            return Status::fail(QStringLiteral("Načtení posledního balíku: %1").arg(files.message()));
        const QString week = QString::number(tyden);
        for (const auto& file : files.value()) {
            const QString name = TextFiles::toQString(file.filename());
            if (name.size() <= 10 || PocetVyskytu(name, QStringLiteral("_")) < 4)
                continue;
            // Package/week day files: date, SM, operator, order, package field and (optional) week. A name of
            // another form with four "_" is read by position all the same; only the week's first character counts.
            const DayFileName::Keys keys = DayFileName::keys(name);
            const QString packageField = keys.balik.value_or(QString());
            const QString fileWeek = keys.tyden.value_or(QString()).left(1);
            if (keys.datum.value_or(QString()) < m_state.gMaxVycetkaDatumBaliku1 || fileWeek != week)
                continue;

            const auto lines = TextFiles::readLines(file);
            if (!lines.ok())
                return Status::fail(QStringLiteral("Načtení posledního balíku: %1").arg(lines.message()));
            for (const QString& raw : lines.value()) {
                const QString line = raw.trimmed();
                if (line.isEmpty())
                    continue;
                const auto booked = pridejKodDoBaliku(line, packageField, balik, maxVycVarn);
                if (!booked.ok()) {
                    m_lastError = booked.error();
                    return Status::fail(QStringLiteral("Načtení posledního balíku ze souboru %1: %2")
                                            .arg(TextFiles::toQString(file), booked.message()));
                }
            }
        }
    }
    VyhodDupl();
    return m_types.nactiSouctyStravenek();
}

} // namespace trv

#include "mainwindow/CodeProcessor.h"

#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/CPolozka.h"
#include "core/CheckDigits.h"
#include "core/Kontrola.h"
#include "core/ReaderControl.h"
#include "mainwindow/CodeBuffer.h"
#include "mainwindow/PackageFile.h"
#include "mainwindow/PackageState.h"
#include "mainwindow/ReadCounters.h"
#include "mainwindow/ReaderState.h"
#include "mainwindow/ReceiptJournal.h"
#include "platform/Prompts.h"

#include <exception>

namespace trv {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Takes a booked code out of its type again (the last one of that object).
void unbook(const std::shared_ptr<CPolozka>& item) {
    const std::shared_ptr<CStrav> type = item->TypS();
    if (!type || !type->Polozky)
        return;
    for (qint64 i = type->Polozky->count(); i >= 1; --i) {
        if (type->Polozky->Item(i) == item) {
            type->Polozky->Remove(i);
            return;
        }
    }
}

} // namespace

CodeProcessor::CodeProcessor(AppState& state, ReaderState& reader, CodeBuffer& buffer, ReaderControl& readerControl,
                             Prompts& prompts, ReadCounters& counters, PackageState& package, Window window,
                             QObject* parent)
    : QObject(parent), m_state(state), m_reader(reader), m_buffer(buffer), m_readerControl(readerControl),
      m_prompts(prompts), m_counters(counters), m_package(package), m_window(std::move(window)) {}

CodeProcessor::~CodeProcessor() = default;

QString CodeProcessor::text(const QString& key) const {
    return m_state.config.DejText(QStringLiteral("frmHlavni"), key);
}

void CodeProcessor::ZpracujKod() {
    if (m_running) {
        // Called from an event that ran while a line is being processed: the running call takes the new
        // text before it returns, so lines are processed in the order they came and one at a time.
        m_again = true;
        return;
    }
    m_running = true;
    struct Release {
        bool& running;
        ~Release() { running = false; }
    } release{m_running};
    do {
        m_again = false;
        runPasses();
    } while (m_again);
}

void CodeProcessor::runPasses() {
    for (;;) {
        const qsizetype end = m_buffer.findLineEnd();
        if (end < 0)
            return;
        m_kodPrecten = true;
        if (end == 0) {
            m_buffer.removeFront(2);
            continue;
        }
        const QChar first = m_buffer.text().at(0);
        if (first == u'\r' || first == u'\n') {
            m_buffer.removeFront(1);
            continue;
        }
        const QString line = m_buffer.text().first(end).toString();
        const bool noRead = line == m_state.gNoRead;
        if (!isDigit(first) && !noRead) {
            // Not a code: dropped up to the first CR; an LF left in front goes in the next pass.
            m_buffer.removeFront(m_buffer.indexOfCr() + 1);
            continue;
        }
        m_buffer.removeFront(end + 2);
        if (noRead && m_reader.gTypScaneru == 4)
            m_readerControl.ZastavCteni();

        Next next = Next::Pass;
        try {
            next = processLine(line);
        } catch (const std::exception& e) {
            reportError(line, QString::fromLocal8Bit(e.what()));
        } catch (...) {
            reportError(line, QStringLiteral("neznámá chyba"));
        }
        if (next == Next::EndRun)
            return;
    }
}

CodeProcessor::Next CodeProcessor::processLine(const QString& line) {
    const std::shared_ptr<CColStrav> types = m_state.gColStrav;
    if (!types) {
        reportError(line, QStringLiteral("typy stravenek nejsou načteny"));
        return Next::Pass;
    }
    Kontrola kontrola(m_state, *types, m_prompts, m_readerControl);
    if (!kontrola.OverZnaky(line)) {
        reject(line, QStringLiteral("NepovZnaky"));
        return Next::Pass;
    }
    if (!OverInterleave(*types, line)) {
        reject(line, QStringLiteral("ChybaInterleave"));
        return Next::Pass;
    }
    if (!kontrola.OverDelku(line)) {
        reject(line, QStringLiteral("ChybnaDelka"));
        return Next::Pass;
    }
    m_state.bNeplatnaEmise = false;
    if (!kontrola.OverPlatnost(line)) {
        // An invalid issue has been reported by the check itself.
        if (!m_state.bNeplatnaEmise)
            reject(line, QStringLiteral("PlatnostStravVyprsela"));
        return Next::Pass;
    }
    // The flag says whether the check reported this very code as a blocked gift voucher itself; one left over
    // from an earlier code (or from the manual entry) must not silence this one.
    m_state.gNehlasitDarkove = false;
    if (!kontrola.OverDarkove(line)) {
        if (!m_state.gNehlasitDarkove)
            reject(line, QStringLiteral("NepovDarkKup"));
        return Next::Pass;
    }
    if (m_reader.gSoftwZastavovani && line == m_state.gNoRead)
        m_readerControl.ZastavCteni();

    Booking booking(m_state, *types, m_prompts, m_readerControl);
    if (!booking.OverZvolenouSplecnost(line, m_reader.ZvolenyTyp)) {
        reject(line, QStringLiteral("NeodpTypStrav"));
        return Next::Pass;
    }

    if (m_state.sw.gFBalicky)
        return bookInPackage(line);

    // A code booking refuses has been reported by it (the reader stopped): it is neither counted nor
    // booked into the package collection, which would only report it a second time.
    if (!book(booking, line))
        return Next::Pass;
    if (m_state.sw.gFBalikyTyden) {
        if (const std::shared_ptr<CColStrav> balik = m_state.gColStravBalik) {
            Booking(m_state, *balik, m_prompts, m_readerControl).PridejKod(line, 1, true);
            Q_EMIT packageWeekSums(balik->GetStrSum());
        }
    }
    m_counters.ZapocitejCteni(line);
    return Next::Pass;
}

CodeProcessor::Next CodeProcessor::bookInPackage(const QString& line) {
    const Currency limit = Currency::fromDoubleRounded(m_state.gMezBalicku);
    if (m_package.gSumaBalik > limit) {
        // The package was left open above its limit: nothing more goes in until the operator closes it.
        m_readerControl.ZastavCteni();
        m_prompts.message(text(QStringLiteral("StravCislo")) + line + text(QStringLiteral("PrekrMezBaliku")),
                          Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return Next::EndRun;
    }
    if (line == m_state.gNoRead)
        return Next::Pass;
    if (m_package.gColKodyPoslBaliku.contains(line)) {
        m_readerControl.ZastavCteni();
        m_prompts.message(text(QStringLiteral("PozorStravCislo")) + line + text(QStringLiteral("VJinemBalicku")),
                          Prompts::Buttons::Ok, Prompts::Icon::Critical);
        Booking(m_state, *m_state.gColStrav, m_prompts, m_readerControl).VymazBuf();
        m_package.dropCurrent();
        codesLeftMemory();
        m_package.notifyChanged(false);
        reportUnbooked(emptyBuffer());
        return Next::EndRun;
    }

    // The code is recognised once, by booking, and only a booked code adds to the package values: a code
    // booking refuses (reported by it) changes nothing.
    Booking booking(m_state, *m_state.gColStrav, m_prompts, m_readerControl);
    const std::shared_ptr<CPolozka> item = book(booking, line);
    if (!item)
        return Next::Pass;
    const Result<Currency> value = item->DejHodnotu();
    if (!value) {
        unbook(item);
        codesLeftMemory();
        reportError(line, value.message());
        return Next::Pass;
    }
    // A code read twice in one package counts once in its value.
    if (!m_package.gColKodyBaliku.contains(line)) {
        // The value of all packages spans packages no longer in memory: it is weighed here, as booking weighs
        // the package in memory.
        const std::optional<Currency> balik = m_package.gSumaBalik.plus(value.value());
        const std::optional<Currency> vse = m_package.gSumaVse.plus(value.value());
        if (!balik || !vse) {
            unbook(item);
            codesLeftMemory();
            refuseOutOfRange(line);
            return Next::Pass;
        }
        m_package.gSumaBalik = *balik;
        m_package.gSumaVse = *vse;
    }
    m_package.gColKodyBaliku.append(line);
    m_package.notifyChanged();

    if (m_package.gSumaBalik > limit) {
        m_readerControl.ZastavCteni();
        const int result = m_window.dlgNextPackage ? m_window.dlgNextPackage() : 0;
        const Next next = closePackage(result);
        m_package.notifyChanged();
        return next;
    }
    return Next::Pass;
}

CodeProcessor::Next CodeProcessor::closePackage(int result) {
    Booking booking(m_state, *m_state.gColStrav, m_prompts, m_readerControl);
    const std::filesystem::path file = m_window.lblSoubor ? m_window.lblSoubor() : std::filesystem::path();
    switch (result) {
    case 1:
    case 3: {
        if (Status saved = UlozBalik(file, m_state.gCisloBaliku, *m_state.gColStrav, m_package); !saved) {
            // The package stays open and whole: the next code meets its limit, and the end of the receipt
            // offers to save it again.
            m_prompts.error(saved.message());
            return Next::Pass;
        }
        booking.VymazBuf();
        codesLeftMemory();
        const QStringList unbooked = emptyBuffer();
        ++m_state.gCisloBaliku;
        zapisDalsiCisloBaliku(m_state, m_prompts);
        m_package.gSumaBalik = Currency();
        reportUnbooked(unbooked);
        if (result == 3) {
            // The file gets the header of the next number with no codes, and the stored next number stays one
            // above the number in memory.
            if (Status saved = UlozBalik(file, m_state.gCisloBaliku, *m_state.gColStrav, m_package); !saved) {
                m_prompts.error(saved.message());
            } else {
                booking.VymazBuf();
                const QStringList unbookedLater = emptyBuffer();
                ++m_state.gCisloBaliku;
                zapisDalsiCisloBaliku(m_state, m_prompts);
                m_package.gSumaBalik = Currency();
                --m_state.gCisloBaliku;
                reportUnbooked(unbookedLater);
            }
            if (m_window.konecpr)
                m_window.konecpr();
        }
        return Next::Pass;
    }
    case 2:
        booking.VymazBuf();
        m_package.dropCurrent();
        codesLeftMemory();
        return Next::Pass;
    default:
        // Left above its limit: the next code meets the limit.
        return Next::Pass;
    }
}

std::shared_ptr<CPolozka> CodeProcessor::book(Booking& booking, const QString& line) {
    if (m_window.journal)
        return m_window.journal->PridejKod(booking, line, 1);
    return booking.PridejKod(line, 1, false);
}

void CodeProcessor::codesLeftMemory() {
    if (m_window.journal && m_state.gColStrav)
        m_window.journal->obnov(*m_state.gColStrav);
}

void CodeProcessor::reject(const QString& line, const QString& key) {
    m_readerControl.ZastavCteni();
    const QString message = text(key);
    if (m_state.sw.gFChybyDoOkna) {
        m_readerControl.LogujDoOkna(line + QStringLiteral(" ") + message);
        return;
    }
    QString shown;
    if (key == QLatin1String("NepovZnaky") || key == QLatin1String("PlatnostStravVyprsela"))
        shown = message + kCrLf + line;
    else if (key == QLatin1String("ChybaInterleave") || key == QLatin1String("ChybnaDelka"))
        shown = message + line;
    else
        shown = message;
    // The rejection boxes of the reader have an empty title bar, not the program's name.
    m_prompts.messageWithoutTitle(shown, Prompts::Buttons::Ok, Prompts::Icon::Critical);
}

void CodeProcessor::refuseOutOfRange(const QString& line) {
    Booking::stopAndTell(m_state, m_readerControl, m_prompts, line, Booking::kodMimoRozsahText(line));
}

void CodeProcessor::reportError(const QString& line, const QString& message) {
    // The code is not booked: the reader stops as for a rejected code, so the operator reads it again.
    Booking::stopAndTell(m_state, m_readerControl, m_prompts, line,
                         QStringLiteral("Kód %1 nebyl zpracován: %2").arg(line, message));
}

QStringList CodeProcessor::emptyBuffer() {
    QStringList codes;
    QStringView rest = m_buffer.text();
    for (qsizetype end = rest.indexOf(kCrLf); end >= 0; end = rest.indexOf(kCrLf)) {
        const QStringView line = rest.first(end);
        if (!line.isEmpty() && isDigit(line.at(0)) && line != m_state.gNoRead)
            codes.append(line.toString());
        rest = rest.mid(end + 2);
    }
    m_buffer.clear();
    return codes;
}

void CodeProcessor::reportUnbooked(const QStringList& codes) {
    // The package boundary empties the buffer; codes that were waiting in it are named, never dropped unseen.
    if (codes.isEmpty())
        return;
    m_readerControl.ZastavCteni();
    m_prompts.message(QStringLiteral("Tyto kódy nebyly zaúčtovány, načtěte je znovu:") + kCrLf + codes.join(kCrLf),
                      Prompts::Buttons::Ok, Prompts::Icon::Critical);
}

} // namespace trv

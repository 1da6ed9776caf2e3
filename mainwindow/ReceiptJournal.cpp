#include "mainwindow/ReceiptJournal.h"

#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/ReceiptRecord.h"
#include "platform/Prompts.h"
#include "platform/SystemErrors.h"
#include "platform/TextFiles.h"

#include <cerrno>

namespace trv {

ReceiptJournal::ReceiptJournal(AppState& state, Prompts& prompts) : m_state(state), m_prompts(prompts) {}

void ReceiptJournal::begin(const std::filesystem::path& file) {
    start(file, ReceiptRecord::Kind::DayFile);
}

void ReceiptJournal::beginSafeBag(const QDateTime& now) {
    start(ReceiptRecord::safeBagFile(m_state.config.programFolder(), now), ReceiptRecord::Kind::SafeBag);
}

void ReceiptJournal::start(const std::filesystem::path& file, ReceiptRecord::Kind kind) {
    closeFile();
    m_file = file;
    m_kind = kind;
    m_reported = false;
    const bool existed = TextFiles::exists(file);
    QByteArray now;
    if (existed) {
        if (Result<QByteArray> bytes = TextFiles::readBytes(file); bytes.ok())
            now = bytes.value();
    }
    // A start that creates or empties the file leaves it empty: there is nothing of earlier receipts to put back.
    m_created = !existed || now.isEmpty();
    m_before = m_created ? QByteArray() : now;
    // An appended-to file whose last line has no line end would glue the first code to it.
    m_needsBreak = !now.isEmpty() && !now.endsWith('\n');
    // Its codes are safe in the file, but its statement and exports come only with the save: a crash before it
    // must be told at the next start. A mode without a closing save (neither STD nor AUT) has nothing to take up:
    // its day file, written code by code, is the receipt's whole output, and a record another mode left stays for
    // that mode to tell. A safe-bag receipt's file is read by nothing but the record's notice.
    m_recorded = false;
    if (kind == ReceiptRecord::Kind::DayFile && !closingMode())
        return;
    const std::filesystem::path folder = m_state.config.programFolder();
    const ReceiptRecord::Ids ids = m_state.sw.gFDepo
                                       ? ReceiptRecord::Ids{m_state.gDepo, m_state.gIdentObalky, m_state.gIdentFA}
                                       : ReceiptRecord::Ids{};
    // A receipt a crash cut short, taken up again: its file still holds what it read, and what the file was
    // before it first began is the record's, not what the file holds now.
    std::optional<ReceiptRecord::Entry> left;
    if (!now.isEmpty())
        left = ReceiptRecord::find(folder, file);
    Status recorded;
    if (left && left->created) {
        const Result<QByteArray> earlier = ReceiptRecord::earlierBytes(*left);
        if (earlier.ok()) {
            m_created = *left->created;
            m_before = m_created ? QByteArray() : earlier.value();
            left->kind = kind;
            left->ids = ids;
            recorded = ReceiptRecord::put(folder, *left);
        } else {
            m_prompts.error(QStringLiteral("Co soubor %1 obsahoval před přerušeným příjmem, nelze zjistit: %2\r\n"
                                           "Zahození příjmu vrátí soubor do stavu při tomto zahájení.")
                                .arg(TextFiles::toQString(file), earlier.message()));
            left.reset();
        }
    }
    if (!left || !left->created) {
        ReceiptRecord::Entry entry{file, kind, ids, m_created, {}, {}};
        // An earlier save of the receipt that did not end is still to be told.
        if (left)
            entry.outputs = left->outputs;
        recorded = ReceiptRecord::receiptStarted(folder, entry, m_before);
    }
    if (!recorded)
        m_prompts.error(recorded.message());
    else
        m_recorded = true;
}

bool ReceiptJournal::closingMode() const {
    return m_state.gMode == QLatin1String("STD") || m_state.gMode == QLatin1String("AUT");
}

void ReceiptJournal::end() {
    stop(false);
}

void ReceiptJournal::listWritten() {
    if (!active() || m_kind != ReceiptRecord::Kind::SafeBag)
        return;
    stop(true);
}

void ReceiptJournal::stop(bool forget) {
    const bool recorded = active() && m_recorded;
    const std::filesystem::path file = m_file;
    const bool safeBag = m_kind == ReceiptRecord::Kind::SafeBag;
    // Its codes are in its file and nowhere else until its list is written: told again at the next start.
    const bool keep = safeBag && !forget && ReceiptRecord::codeCount(file) > 0;
    closeFile();
    m_file.clear();
    m_before.clear();
    m_needsBreak = false;
    m_recorded = false;
    m_kind = ReceiptRecord::Kind::DayFile;
    // A record this receipt did not write (a receipt a crash left, not taken up; one another mode left) stays to
    // be told again.
    if (keep)
        return;
    // A safe-bag receipt's file holds nothing that is not elsewhere now (or nothing at all).
    if (safeBag && TextFiles::exists(file))
        if (const Status removed = TextFiles::remove(file); !removed)
            m_prompts.error(removed.message());
    if (!recorded)
        return;
    if (const Status removed = ReceiptRecord::ended(m_state.config.programFolder(), file); !removed)
        m_prompts.error(removed.message());
}

std::shared_ptr<CPolozka> ReceiptJournal::PridejKod(Booking& booking, const QString& kod, qint32 druh) {
    std::shared_ptr<CPolozka> item = booking.PridejKod(kod, druh, false);
    if (item)
        zapis(kod);
    return item;
}

void ReceiptJournal::zapis(const QString& kod) {
    if (!active())
        return;
    const QString line = m_needsBreak ? QStringLiteral("\r\n") + kod : kod;
    const Status written = appendLine(line);
    if (written.ok())
        m_needsBreak = false;
    report(written);
}

void ReceiptJournal::obnov(const CColStrav& types) {
    if (!active())
        return;
    // The rewrite replaces the file: the open one would be the old one.
    closeFile();
    report(TextFiles::writeLines(m_file, types.kodyVsechTypu()));
    m_needsBreak = false;
}

ReceiptRecord::Discard ReceiptJournal::zahozeni() const {
    ReceiptRecord::Discard discard;
    if (!active())
        return discard;
    discard.file = m_file;
    discard.fate = m_created ? ReceiptRecord::Discard::Fate::Removed : ReceiptRecord::Discard::Fate::PutBack;
    discard.codesBefore = ReceiptRecord::codes(m_before);
    if (m_recorded)
        if (const auto entry = ReceiptRecord::find(m_state.config.programFolder(), m_file))
            discard.outputs = entry->outputs;
    return discard;
}

Status ReceiptJournal::zahod() {
    if (!active())
        return Status::success();
    closeFile();
    const Status restored = m_created ? (TextFiles::exists(m_file) ? TextFiles::remove(m_file) : Status::success())
                                      : TextFiles::writeBytes(m_file, m_before);
    // The record goes only once the file is as it was: a file that could not be put back stays told.
    if (!restored.ok())
        m_recorded = false;
    stop(true);
    return restored;
}

Status ReceiptJournal::appendLine(const QString& line) {
    const auto failed = [this](const QString& reason) {
        return Status::fail(
            QStringLiteral("Nelze připsat řádek do souboru %1: %2").arg(TextFiles::toQString(m_file), reason));
    };
    if (!m_out.isOpen()) {
        m_out.setFileName(TextFiles::toQString(m_file));
        errno = 0;
        if (!m_out.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
            const int savedErrno = errno;
            return failed(SystemErrors::describe(m_out, savedErrno));
        }
    }
    QByteArray bytes = m_encoder.encode(line);
    bytes.append("\r\n");
    const qint64 before = m_out.pos();
    errno = 0;
    if (m_out.write(bytes) != bytes.size()) {
        // Taken before anything else can change it: a write cut short by a full disk leaves no error on the
        // device, only in errno.
        const int savedErrno = errno;
        const QString reason = SystemErrors::describe(m_out, savedErrno);
        // No half line left for the reader of the file after a crash.
        m_out.resize(before);
        closeFile();
        return failed(reason);
    }
    return Status::success();
}

void ReceiptJournal::closeFile() {
    if (m_out.isOpen())
        m_out.close();
}

void ReceiptJournal::report(const Status& status) {
    if (status.ok()) {
        m_reported = false;
        return;
    }
    // Told once until a write succeeds again: the reader keeps going and the closing save writes the whole file.
    if (m_reported)
        return;
    m_reported = true;
    m_prompts.error(QStringLiteral("Průběžný zápis příjmu do souboru se nezdařil; příjem pokračuje a celý soubor "
                                   "se zapíše při uložení.\r\n") +
                    status.message());
}

} // namespace trv

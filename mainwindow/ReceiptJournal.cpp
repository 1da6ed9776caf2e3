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
    closeFile();
    m_file = file;
    m_reported = false;
    m_existedBefore = TextFiles::exists(file);
    m_before.clear();
    if (m_existedBefore) {
        if (Result<QByteArray> bytes = TextFiles::readBytes(file); bytes.ok())
            m_before = bytes.value();
    }
    // An appended-to file whose last line has no line end would glue the first code to it.
    m_needsBreak = !m_before.isEmpty() && !m_before.endsWith('\n');
    // Its codes are safe in the file, but its statement and exports come only with the save: a crash before it
    // must be told at the next start. A mode without a closing save (neither STD nor AUT) has nothing to take up:
    // its day file, written code by code, is the receipt's whole output, and a record another mode left stays for
    // that mode to tell.
    m_recorded = false;
    if (!closingMode())
        return;
    const ReceiptRecord::Ids ids = m_state.sw.gFDepo
                                       ? ReceiptRecord::Ids{m_state.gDepo, m_state.gIdentObalky, m_state.gIdentFA}
                                       : ReceiptRecord::Ids{};
    if (const Status recorded = ReceiptRecord::receiptStarted(m_state.config.programFolder(), file, ids); !recorded)
        m_prompts.error(recorded.message());
    else
        m_recorded = true;
}

bool ReceiptJournal::closingMode() const {
    return m_state.gMode == QLatin1String("STD") || m_state.gMode == QLatin1String("AUT");
}

void ReceiptJournal::end() {
    const bool recorded = active() && m_recorded;
    closeFile();
    m_file.clear();
    m_before.clear();
    m_needsBreak = false;
    m_recorded = false;
    // A record this receipt did not write (a receipt a crash left, not taken up; one another mode left) stays to
    // be told again.
    if (!recorded)
        return;
    if (const Status removed = ReceiptRecord::ended(m_state.config.programFolder()); !removed)
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

Status ReceiptJournal::zahod() {
    if (!active())
        return Status::success();
    const std::filesystem::path file = m_file;
    const bool created = !m_existedBefore || m_state.gSouborVytvorenNovy;
    const QByteArray before = m_before;
    end();
    if (created)
        return TextFiles::exists(file) ? TextFiles::remove(file) : Status::success();
    return TextFiles::writeBytes(file, before);
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

#include "mainwindow/InputLog.h"

#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/TextFiles.h"

#include <QLoggingCategory>

namespace trv {

namespace {
Q_LOGGING_CATEGORY(lcInputLog, "trv.inputlog")
}

InputLog::InputLog(std::filesystem::path programFolder, const Clock& clock)
    : m_folder(std::move(programFolder)), m_clock(clock) {}

void InputLog::start() {
    m_open = write(QStringLiteral("Start prijmu "));
}

void InputLog::end() {
    if (!m_open)
        return;
    write(QStringLiteral("Konec prijmu "));
    m_open = false;
}

bool InputLog::write(const QString& prefix) {
    const QDateTime now = m_clock.now();
    const QString line = prefix + dateShort(now.date()) + QLatin1Char(' ') + timeHms(now.time());
    const Status written = TextFiles::appendLine(file(), line);
    if (!written)
        qCWarning(lcInputLog).noquote() << written.message();
    return written.ok();
}

} // namespace trv

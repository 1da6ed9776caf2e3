#include "mainwindow/SingleInstance.h"

#include "platform/Prompts.h"
#include "platform/TextFiles.h"

namespace trv {

SingleInstance::SingleInstance(const std::filesystem::path& programFolder)
    : m_path(programFolder / TextFiles::toPath(kLockFileName)), m_lock(TextFiles::toQString(m_path)) {
    // Never time out a lock by age: a copy that runs for weeks still holds it. A crashed copy is recognised
    // by its process being gone, which QLockFile checks by itself.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::acquire() {
    if (m_lock.isLocked())
        return Outcome::Acquired;
    m_reason.clear();
    if (m_lock.tryLock(0))
        return Outcome::Acquired;
    // QLockFile takes anything of the lock's name for another copy's lock: only a file can be one.
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(m_path, ec);
    if (status.type() == std::filesystem::file_type::directory) {
        m_reason = QStringLiteral("na jeho místě je složka stejného jména");
        return Outcome::Unavailable;
    }
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        m_reason = QStringLiteral("na jeho místě je něco jiného než soubor");
        return Outcome::Unavailable;
    }
    switch (m_lock.error()) {
    case QLockFile::LockFailedError:
        return Outcome::AlreadyRunning;
    case QLockFile::PermissionError:
        m_reason = QStringLiteral("do složky nelze zapisovat (chybí oprávnění nebo je jen pro čtení)");
        break;
    default:
        m_reason = QStringLiteral("neznámá chyba");
        break;
    }
    return Outcome::Unavailable;
}

bool SingleInstance::held() const {
    return m_lock.isLocked();
}

bool SingleInstance::claim(Prompts& prompts) {
    switch (acquire()) {
    case Outcome::Acquired:
        return true;
    case Outcome::Unavailable:
        prompts.message(unavailableMessage(), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return true;
    case Outcome::AlreadyRunning:
        break;
    }
    prompts.message(alreadyRunningMessage(), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    return false;
}

QString SingleInstance::unavailableMessage() const {
    return QStringLiteral("Zámek %1, který brání druhému spuštění programu, nelze vytvořit: %2. Program poběží bez "
                          "této ochrany; nespouštějte ho proto podruhé.")
        .arg(TextFiles::toQString(m_path), m_reason);
}

QString SingleInstance::alreadyRunningMessage() {
    return QStringLiteral("Aplikace je již jednou spuštěna!");
}

} // namespace trv

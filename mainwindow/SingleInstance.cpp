#include "mainwindow/SingleInstance.h"

#include "platform/Prompts.h"
#include "platform/TextFiles.h"

namespace trv {

SingleInstance::SingleInstance(const std::filesystem::path& programFolder)
    : m_lock(TextFiles::toQString(programFolder / TextFiles::toPath(kLockFileName))) {
    // Never time out a lock by age: a copy that runs for weeks still holds it. A crashed copy is recognised
    // by its process being gone, which QLockFile checks by itself.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::acquire() {
    if (m_lock.isLocked())
        return Outcome::Acquired;
    if (m_lock.tryLock(0))
        return Outcome::Acquired;
    return m_lock.error() == QLockFile::LockFailedError ? Outcome::AlreadyRunning : Outcome::Unavailable;
}

bool SingleInstance::held() const {
    return m_lock.isLocked();
}

bool SingleInstance::claim(Prompts& prompts) {
    if (acquire() != Outcome::AlreadyRunning)
        return true;
    prompts.message(alreadyRunningMessage(), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    return false;
}

QString SingleInstance::alreadyRunningMessage() {
    return QStringLiteral("Aplikace je již jednou spuštěna!");
}

} // namespace trv

#pragma once

#include <QLockFile>
#include <QString>

#include <filesystem>

namespace trv {

class Prompts;

// One running copy per program folder: two copies would read the same reader port and write the same
// receipt and configuration files. The guard is a lock file in the program folder, held for the whole run;
// a lock left behind by a copy that crashed is taken over.
class SingleInstance final {
public:
    enum class Outcome {
        Acquired,       // this copy holds the lock
        AlreadyRunning, // another running copy holds it
        Unavailable,    // the lock file cannot be made (a read-only folder, a folder of its name): the guard is off
    };

    static inline const QString kLockFileName = QStringLiteral("TRV7300.lock");

    explicit SingleInstance(const std::filesystem::path& programFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Outcome acquire();
    bool held() const;

    // The start-up check: false after telling the operator that another copy runs; this copy then ends.
    // A lock that cannot be made does not stop the program: the operator is told why, and it runs unguarded.
    bool claim(Prompts& prompts);

    // Why the last acquire() gave Unavailable.
    const QString& unavailableReason() const { return m_reason; }

    static QString alreadyRunningMessage();
    QString unavailableMessage() const;

private:
    std::filesystem::path m_path;
    QLockFile m_lock;
    QString m_reason;
};

} // namespace trv

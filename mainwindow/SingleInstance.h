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
        Unavailable,    // the lock file cannot be made (a read-only folder): the guard is off for this run
    };

    static inline const QString kLockFileName = QStringLiteral("TRV7300.lock");

    explicit SingleInstance(const std::filesystem::path& programFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Outcome acquire();
    bool held() const;

    // The start-up check: false after telling the operator that another copy runs; this copy then ends.
    // A folder where no lock can be made does not stop the program.
    bool claim(Prompts& prompts);

    static QString alreadyRunningMessage();

private:
    QLockFile m_lock;
};

} // namespace trv

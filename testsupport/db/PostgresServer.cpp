#include "testsupport/db/PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QVersionNumber>

#include <pwd.h>
#include <unistd.h>

namespace trv::test {

namespace {

const QString kInstallRoot = QStringLiteral("/usr/lib/postgresql");
const QString kSuperUser = QStringLiteral("postgres");
const QString kSystemUser = QStringLiteral("postgres");
constexpr int kPort = 5432; // only names the socket file; the server listens on no TCP port

bool runningAsRoot() {
    return ::geteuid() == 0;
}

QString dataDirectory(const QString& root) {
    return root + QStringLiteral("/data");
}

} // namespace

std::optional<QString> PostgresServer::findBinaries() {
    const QDir root(kInstallRoot);
    std::optional<QString> best;
    QVersionNumber bestVersion;
    for (const QString& entry : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QVersionNumber version = QVersionNumber::fromString(entry);
        const QString bin = root.filePath(entry + QStringLiteral("/bin"));
        if (version.isNull() || !QFileInfo(bin + QStringLiteral("/initdb")).isExecutable() ||
            !QFileInfo(bin + QStringLiteral("/pg_ctl")).isExecutable() ||
            !QFileInfo(bin + QStringLiteral("/createdb")).isExecutable())
            continue;
        if (!best || version > bestVersion) {
            best = bin;
            bestVersion = version;
        }
    }
    return best;
}

std::optional<QString> PostgresServer::unavailableReason() {
    if (!findBinaries())
        return QStringLiteral("PostgreSQL server programs not found under %1").arg(kInstallRoot);
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return QStringLiteral("the Qt PostgreSQL driver (QPSQL) is not installed");
    if (runningAsRoot()) {
        if (::getpwnam(kSystemUser.toLatin1().constData()) == nullptr)
            return QStringLiteral("running as root and there is no '%1' system user to run the server")
                .arg(kSystemUser);
        if (QStandardPaths::findExecutable(QStringLiteral("runuser")).isEmpty())
            return QStringLiteral("running as root and 'runuser' is missing");
    }
    return std::nullopt;
}

PostgresServer::PostgresServer(QString binaries, QString runAs)
    : m_binaries(std::move(binaries)), m_runAs(std::move(runAs)) {}

Result<std::unique_ptr<PostgresServer>> PostgresServer::start() {
    using R = Result<std::unique_ptr<PostgresServer>>;
    if (const auto why = unavailableReason())
        return R::fail(*why);
    std::unique_ptr<PostgresServer> server(
        new PostgresServer(*findBinaries(), runningAsRoot() ? kSystemUser : QString()));
    if (!server->m_dir.isValid())
        return R::fail(QStringLiteral("no temporary folder: %1").arg(server->m_dir.errorString()));
    const QString root = server->m_dir.path();
    if (!server->m_runAs.isEmpty()) {
        const passwd* user = ::getpwnam(server->m_runAs.toLatin1().constData());
        if (::chown(QFile::encodeName(root).constData(), user->pw_uid, user->pw_gid) != 0)
            return R::fail(QStringLiteral("cannot hand %1 to the user %2").arg(root, server->m_runAs));
    }

    Result<QString> init =
        server->run(QStringLiteral("initdb"),
                    {QStringLiteral("-D"), dataDirectory(root), QStringLiteral("-A"), QStringLiteral("trust"),
                     QStringLiteral("-U"), kSuperUser, QStringLiteral("-E"), QStringLiteral("UTF8"),
                     QStringLiteral("--locale=C"), QStringLiteral("--no-sync")},
                    60000);
    if (!init)
        return R::fail(QStringLiteral("initdb failed: %1").arg(init.message()));

    // From here the destructor stops whatever did start.
    server->m_running = true;
    const QString options = QStringLiteral("-c listen_addresses='' -k '%1' -p %2 -c fsync=off "
                                           "-c synchronous_commit=off -c full_page_writes=off")
                                .arg(root)
                                .arg(kPort);
    const QString log = root + QStringLiteral("/server.log");
    Result<QString> started = server->run(QStringLiteral("pg_ctl"),
                                          {QStringLiteral("-D"), dataDirectory(root), QStringLiteral("-l"), log,
                                           QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("30"),
                                           QStringLiteral("-o"), options, QStringLiteral("start")},
                                          40000);
    if (!started) {
        QFile logFile(log);
        const QString logText = logFile.open(QIODevice::ReadOnly) ? QString::fromUtf8(logFile.readAll()) : QString();
        return R::fail(QStringLiteral("pg_ctl start failed: %1\n%2").arg(started.message(), logText));
    }
    return server;
}

PostgresServer::~PostgresServer() {
    if (m_running) {
        (void)run(QStringLiteral("pg_ctl"),
                  {QStringLiteral("-D"), dataDirectory(m_dir.path()), QStringLiteral("-m"), QStringLiteral("immediate"),
                   QStringLiteral("-w"), QStringLiteral("stop")},
                  30000);
    }
}

Result<QString> PostgresServer::run(const QString& program, const QStringList& arguments, int timeoutMs) const {
    const QString executable = m_binaries + QLatin1Char('/') + program;
    QProcess process;
    // The server user may not be allowed into the caller's working folder.
    process.setWorkingDirectory(m_dir.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (m_runAs.isEmpty())
        process.start(executable, arguments);
    else
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), m_runAs, QStringLiteral("--"), executable} + arguments);
    if (!process.waitForStarted(10000))
        return Result<QString>::fail(QStringLiteral("%1 did not start: %2").arg(program, process.errorString()));
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        return Result<QString>::fail(QStringLiteral("%1 did not finish in time").arg(program));
    }
    const QString output = QString::fromLocal8Bit(process.readAll());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return Result<QString>::fail(
            QStringLiteral("%1 ended with code %2: %3").arg(program).arg(process.exitCode()).arg(output));
    return output;
}

Result<QString> PostgresServer::createDatabase(const QString& name) {
    Result<QString> created = run(QStringLiteral("createdb"),
                                  {QStringLiteral("-h"), m_dir.path(), QStringLiteral("-p"), QString::number(kPort),
                                   QStringLiteral("-U"), kSuperUser, name},
                                  30000);
    if (!created)
        return created.error();
    return connectionString(name);
}

QString PostgresServer::connectionString(const QString& database) const {
    return QStringLiteral("host='%1' port=%2 dbname=%3 user=%4").arg(m_dir.path()).arg(kPort).arg(database, kSuperUser);
}

// ---------------------------------------------------------------------------------------------------------------

std::unique_ptr<PostgresServer>& PostgresTest::server() {
    static std::unique_ptr<PostgresServer> instance;
    return instance;
}

QString& PostgresTest::startError() {
    static QString error;
    return error;
}

void PostgresTest::SetUpTestSuite() {
    if (PostgresServer::unavailableReason())
        return;
    Result<std::unique_ptr<PostgresServer>> started = PostgresServer::start();
    if (started)
        server() = std::move(started).value();
    else
        startError() = started.message();
}

void PostgresTest::TearDownTestSuite() {
    server().reset();
    startError().clear();
}

void PostgresTest::SetUp() {
    if (const auto why = PostgresServer::unavailableReason())
        GTEST_SKIP() << "PostgreSQL tests skipped: " << why->toStdString();
    ASSERT_TRUE(server()) << "the PostgreSQL server did not start: " << startError().toStdString();
    static int counter = 0;
    Result<QString> database = server()->createDatabase(QStringLiteral("test_%1").arg(++counter));
    ASSERT_TRUE(database.ok()) << database.message().toStdString();
    m_connectionString = database.value();
}

} // namespace trv::test

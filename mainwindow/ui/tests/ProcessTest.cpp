// The program in a process of its own: killed in the middle of a receipt, and asked to end while a start-up
// message waits.

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/SingleInstance.h"
#include "mainwindow/Startup.h"
#include "mainwindow/tests/NoPause.h"
#include "mainwindow/ui/VerticalMenu.h"
#include "mainwindow/ui/WidgetReceiptWindows.h"
#include "mainwindow/ui/frmHlavni.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/FakeSerialPort.h"
#include "platform/Printer.h"
#include "platform/ProfileFile.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"
#include "testsupport/GuiTestHelpers.h"
#include "testsupport/ScriptedPromptsGtest.h"

#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

using namespace trv;
using trv::test::child;
using trv::test::NoPause;
using trv::test::onNextModal;
using trv::test::waitUntil;

namespace {

// Codes of the sample's voucher types.
const QStringList kCodes = {QStringLiteral("0321054321"), QStringLiteral("0120012345"),
                            QStringLiteral("1012342601005")};

QString sampleFolder() {
    return QStringLiteral(TRV_TEST_DATA "/../../../../sample");
}

QByteArray fileBytes(const std::filesystem::path& file) {
    QFile f(TextFiles::toQString(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ProcessTest, AReceiptKilledMidwayKeepsEveryBookedCodeInItsDayFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path folder = TextFiles::toPath(dir.path());
    std::filesystem::copy(TextFiles::toPath(sampleFolder()), folder, std::filesystem::copy_options::recursive);
    const std::filesystem::path dataFolder = folder / "data";
    const QString port = ProfileFile::read(folder / "TRV7300.ini", QStringLiteral("Comm"), QStringLiteral("Port"))
                             .value_or(QStringLiteral("COM1"))
                             .toUpper();

    int master = -1;
    int slave = -1;
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TRV7300_") + port, QString::fromLocal8Bit(name));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TRV_RECEIPT_CHILD), {dir.path()});
    ASSERT_TRUE(program.waitForStarted(10000));
    QByteArray out;
    ASSERT_TRUE(waitUntil(
        [&] {
            program.waitForReadyRead(20);
            out += program.readAllStandardOutput();
            return out.contains('\n');
        },
        20000))
        << program.readAllStandardError().toStdString();
    ASSERT_TRUE(out.startsWith("READY ")) << out.toStdString();
    const std::filesystem::path dayFile = TextFiles::toPath(QString::fromLocal8Bit(out.mid(6).trimmed()));
    EXPECT_EQ(dayFile.parent_path(), dataFolder);

    // The reader sends three codes; each is on disk once it is booked. Then the program dies without a word.
    const QByteArray sent = kCodes.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
    ASSERT_EQ(::write(master, sent.constData(), static_cast<size_t>(sent.size())), sent.size());
    EXPECT_TRUE(waitUntil([&] { return fileBytes(dayFile).count("\r\n") == kCodes.size(); }, 10000))
        << fileBytes(dayFile).toStdString();
    ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
    ASSERT_TRUE(program.waitForFinished(10000));
    ::close(master);
    ::close(slave);

    // The next start takes the receipt up in append mode and saves it.
    AppState state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime::currentDateTime()};
    FakeSerialPort fakePort;
    RecordingShell shell;
    Printer printer;
    WidgetReceiptWindows windows{state, prompts, clock, printer};
    NoPause pause;
    ASSERT_TRUE(Main(state, folder, prompts).ok());
    state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
    ASSERT_TRUE(state.gColStrav->NactiINI().ok());
    frmHlavni window(frmHlavni::Services{state, prompts, clock, fakePort, shell, windows, pause});
    windows.attach(window);
    const QString fileName = TextFiles::toQString(dayFile.filename());
    // The start tells the receipt the kill left unsaved; the operator takes it up through the start dialog.
    prompts.queueAnswer(Prompts::Answer::No);
    onNextModal([&](QWidget* start) {
        child<QRadioButton>(start, "optPrid")->click();
        auto* list = child<QListWidget>(start, "listDataS");
        const QList<QListWidgetItem*> found = list->findItems(fileName, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
        child<QPushButton>(start, "btnPrijem")->click();
    });
    ASSERT_TRUE(window.Form_Load());
    ASSERT_TRUE(window.logic().receipt().receiving());
    EXPECT_EQ(window.logic().gDatovySoubor(), fileName);

    onNextModal([](QWidget* closing) { child<QPushButton>(closing, "btnUloz")->click(); });
    child<VerticalMenu>(&window, "vmnNab")->itemButton(4)->click();

    const QString saved = QString::fromLatin1(fileBytes(dayFile));
    QStringList lines = saved.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    lines.sort();
    QStringList expected = kCodes;
    expected.sort();
    EXPECT_EQ(lines, expected) << saved.toStdString();
}

TEST(ProcessTest, TheSessionsEndWhileAStartUpMessageWaitsEndsTheProgramNormally) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path folder = TextFiles::toPath(dir.path());
    std::filesystem::copy(TextFiles::toPath(sampleFolder()), folder, std::filesystem::copy_options::recursive);
    // Another copy holds the program folder: the start-up says so in a message box and waits for the operator.
    SingleInstance first(folder);
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::Acquired);

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TRV7300_HOME"), dir.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TRV_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(10000));
    // Time for the message box to come up; the program must still be waiting in it.
    EXPECT_FALSE(program.waitForFinished(1500));

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace

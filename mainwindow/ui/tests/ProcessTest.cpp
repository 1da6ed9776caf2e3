// The program in a process of its own: killed in the middle of a receipt and in the middle of its save, each
// followed by a start; and asked to end while a start-up message waits.

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/ReceiptRecord.h"
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

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <ostream>
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

QStringList sortedLines(const std::filesystem::path& file) {
    QStringList lines = QString::fromLatin1(fileBytes(file)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

// A copy of the sample installation in `dir`; with `firmaId`, its customer switches replaced.
std::filesystem::path copySample(const QTemporaryDir& dir, const QString& firmaId = {}) {
    EXPECT_TRUE(dir.isValid());
    const std::filesystem::path folder = TextFiles::toPath(dir.path());
    std::filesystem::copy(TextFiles::toPath(sampleFolder()), folder, std::filesystem::copy_options::recursive);
    if (!firmaId.isEmpty()) {
        EXPECT_TRUE(
            ProfileFile::write(folder / "TRV7300.ini", QStringLiteral("Firma"), QStringLiteral("FirmaID"), firmaId)
                .ok());
    }
    return folder;
}

// The program in a process of its own (the receipt child), reading from a pseudo-terminal as its reader port.
class ChildProgram {
public:
    ~ChildProgram() {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(10000);
        }
        if (master >= 0)
            ::close(master);
        if (slave >= 0)
            ::close(slave);
    }

    // Started over `folder`; the receipt's day file once it receives, empty when it did not get so far.
    std::filesystem::path start(const std::filesystem::path& folder) {
        const QString port = ProfileFile::read(folder / "TRV7300.ini", QStringLiteral("Comm"), QStringLiteral("Port"))
                                 .value_or(QStringLiteral("COM1"))
                                 .toUpper();
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
            return {};
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TRV7300_") + port, QString::fromLocal8Bit(name));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TRV_RECEIPT_CHILD), {TextFiles::toQString(folder)});
        if (!program.waitForStarted(10000))
            return {};
        QByteArray out;
        const bool ready = waitUntil(
            [&] {
                program.waitForReadyRead(20);
                out += program.readAllStandardOutput();
                return out.contains('\n');
            },
            20000);
        if (!ready || !out.startsWith("READY ")) {
            ADD_FAILURE() << out.toStdString() << program.readAllStandardError().toStdString();
            return {};
        }
        return TextFiles::toPath(QString::fromLocal8Bit(out.mid(6).trimmed()));
    }

    // The reader sends the codes; each is on disk once it is booked.
    bool read(const QStringList& codes, const std::filesystem::path& dayFile) {
        const QByteArray sent = codes.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
        if (::write(master, sent.constData(), static_cast<size_t>(sent.size())) != sent.size())
            return false;
        return waitUntil([&] { return fileBytes(dayFile).count("\r\n") == codes.size(); }, 10000);
    }

    // Dies without a word.
    void kill() {
        ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
        EXPECT_TRUE(program.waitForFinished(10000));
    }

    QProcess program;
    int master = -1;
    int slave = -1;
};

// The program started again over the same folder, in this process, with real windows and a scripted operator.
struct Restart {
    explicit Restart(const std::filesystem::path& programFolder) : folder(programFolder) {}

    bool load() {
        EXPECT_TRUE(Main(state, folder, prompts).ok());
        state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
        EXPECT_TRUE(state.gColStrav->NactiINI().ok());
        window =
            std::make_unique<frmHlavni>(frmHlavni::Services{state, prompts, clock, fakePort, shell, windows, pause});
        windows.attach(*window);
        return window->Form_Load();
    }

    // Ends the receipt and saves it in the closing window.
    void save() {
        onNextModal([](QWidget* closing) { child<QPushButton>(closing, "btnUloz")->click(); });
        child<VerticalMenu>(window.get(), "vmnNab")->itemButton(4)->click();
    }

    // What the load told before any receipt started: the texts of the message boxes that name `file` as left
    // unfinished.
    QStringList notices(const std::filesystem::path& file) const {
        QStringList found;
        for (const auto& r : prompts.records())
            if (r.text.contains(TextFiles::toQString(file)) && !r.text.contains(QStringLiteral("byl uložen.")))
                found.append(r.text);
        return found;
    }

    std::filesystem::path folder;
    AppState state;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime::currentDateTime()};
    FakeSerialPort fakePort;
    RecordingShell shell;
    Printer printer;
    WidgetReceiptWindows windows{state, prompts, clock, printer};
    NoPause pause;
    std::unique_ptr<frmHlavni> window;
};

// Any start dialog that shows while `run` runs: its name; it is closed without a start.
QStringList dialogsShownDuring(const std::function<void()>& run) {
    QStringList shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&shown] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shown.append(modal->objectName());
            modal->close();
        }
    });
    closer.start(20);
    run();
    closer.stop();
    return shown;
}

struct KillCase {
    const char* name;
    QString firmaId;       // empty: the sample's switches (the cash-desk start)
    QString statementFile; // the statement file the save writes beside the day file, empty when none
};

void PrintTo(const KillCase& c, std::ostream* out) {
    *out << c.name;
}

// Starts the program on `folder`, reads the codes into the receipt's file and kills it: `file` is that file.
void killMidReceipt(const std::filesystem::path& folder, std::filesystem::path& file) {
    ChildProgram child;
    file = child.start(folder);
    ASSERT_FALSE(file.empty());
    ASSERT_TRUE(child.read(kCodes, file)) << fileBytes(file).toStdString();
    child.kill();
}

class ReceiptKilled : public ::testing::TestWithParam<KillCase> {};

// Killed mid-receipt, the program tells at its next start, in one message, the file and its number of codes, and
// offers to take it up: the operator's yes starts the append of that file at once through the receipt start,
// and its save writes what the kill left out. The record is then gone: the start after says nothing.
TEST_P(ReceiptKilled, TheNextStartTellsTheReceiptAndYesTakesItUp) {
    QTemporaryDir dir;
    const std::filesystem::path folder = copySample(dir, GetParam().firmaId);
    std::filesystem::path dayFile;
    ASSERT_NO_FATAL_FAILURE(killMidReceipt(folder, dayFile));
    EXPECT_EQ(dayFile.parent_path(), folder / "data");
    const QString fileName = TextFiles::toQString(dayFile.filename());
    {
        Restart restart(folder);
        restart.prompts.queueAnswer(Prompts::Answer::Yes);
        bool loaded = false;
        EXPECT_EQ(dialogsShownDuring([&] { loaded = restart.load(); }), QStringList());
        ASSERT_TRUE(loaded);
        const QStringList notices = restart.notices(dayFile);
        ASSERT_EQ(notices.size(), 1) << notices.join(u'\n').toStdString();
        EXPECT_EQ(notices[0], QStringLiteral("Příjem do souboru %1 (počet kódů: 3) nebyl uložen: co zapisuje až "
                                             "uložení příjmu (exporty, výčetka, denní součty), chybí.\r\nPříjem "
                                             "dokončíte, když k souboru připíšete (přidání do existujícího souboru) a "
                                             "příjem uložíte.\r\n\r\nZahájit připisování k souboru %1 nyní?")
                                  .arg(TextFiles::toQString(dayFile)));
        ASSERT_TRUE(restart.window->logic().receipt().receiving());
        EXPECT_EQ(restart.window->logic().gDatovySoubor(), fileName);

        restart.save();
        EXPECT_FALSE(restart.window->logic().receipt().receiving());
        EXPECT_EQ(sortedLines(dayFile), sorted(kCodes));
        if (!GetParam().statementFile.isEmpty()) {
            std::filesystem::path statement = dayFile;
            statement.replace_extension(TextFiles::toPath(GetParam().statementFile));
            EXPECT_EQ(sortedLines(statement).size(), kCodes.size()) << fileBytes(statement).toStdString();
        }
        EXPECT_EQ(restart.prompts.texts().last(),
                  QStringLiteral("Soubor %1 byl uložen.").arg(TextFiles::toQString(dayFile)));
    }
    Restart later(folder);
    EXPECT_EQ(dialogsShownDuring([&] { later.load(); }).size(), 1);
    EXPECT_TRUE(later.prompts.records().empty()) << later.prompts.texts().join(u'\n').toStdString();
}

// The operator's no leaves all as it was: the start dialog as always, the day file untouched, and the receipt told
// again at the start after, also when another receipt was started, read and saved in between and the program
// closed.
TEST_P(ReceiptKilled, NoLeavesTheReceiptAsItWasAndToldAgain) {
    QTemporaryDir dir;
    const std::filesystem::path folder = copySample(dir, GetParam().firmaId);
    std::filesystem::path dayFile;
    ASSERT_NO_FATAL_FAILURE(killMidReceipt(folder, dayFile));
    const QByteArray killed = fileBytes(dayFile);
    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start);
        Restart restart(folder);
        restart.prompts.queueAnswer(Prompts::Answer::No);
        bool newFileChosen = false;
        bool anyChosen = true;
        onNextModal([&](QWidget* dialog) {
            newFileChosen = child<QRadioButton>(dialog, "optNovy")->isChecked();
            anyChosen = !child<QListWidget>(dialog, "listDataS")->selectedItems().isEmpty();
            if (start > 0) {
                child<QPushButton>(dialog, "btnVen")->click();
                return;
            }
            // Another receipt, into a new file of its own.
            if (dialog->objectName() == QLatin1String("frmPrijemSec")) {
                child<QLineEdit>(dialog, "txtSM")->setText(QStringLiteral("456"));
                child<QLineEdit>(dialog, "txtOperator")->setText(QStringLiteral("Eva"));
            } else {
                child<QLineEdit>(dialog, "txtPokladni")->setText(QStringLiteral("002"));
            }
            child<QPushButton>(dialog, "btnPrijem")->click();
        });
        ASSERT_TRUE(restart.load());
        EXPECT_EQ(restart.notices(dayFile).size(), 1);
        EXPECT_TRUE(newFileChosen);
        EXPECT_FALSE(anyChosen);
        EXPECT_EQ(restart.window->logic().receipt().receiving(), start == 0);
        if (start == 0) {
            const std::filesystem::path other = TextFiles::toPath(restart.window->logic().lblSoubor());
            ASSERT_NE(other, dayFile);
            restart.fakePort.deliver((kCodes[0] + QStringLiteral("\r\n")).toLatin1());
            ASSERT_TRUE(waitUntil([&] { return fileBytes(other).contains(kCodes[0].toLatin1()); }));
            restart.save();
            EXPECT_EQ(restart.prompts.texts().last(),
                      QStringLiteral("Soubor %1 byl uložen.").arg(TextFiles::toQString(other)));
        }
        EXPECT_EQ(fileBytes(dayFile), killed);
        EXPECT_TRUE(restart.window->close());
    }
}

INSTANTIATE_TEST_SUITE_P(, ReceiptKilled,
                         ::testing::Values(KillCase{"CashDeskStart", {}, {}},
                                           KillCase{"SmStart", QStringLiteral("0000000001"), QStringLiteral(".vyc")}),
                         [](const ::testing::TestParamInfo<KillCase>& info) { return std::string(info.param.name); });

// A receipt killed, taken up again at the next start, read on and then discarded in the closing window: the
// question counts every code the discard throws away and says that the file goes; the file, which the first
// receipt created, goes, and nothing is left to tell.
TEST(ProcessTest, AResumedReceiptDiscardedRemovesTheFileItsFirstStartCreated) {
    QTemporaryDir dir;
    const std::filesystem::path folder = copySample(dir);
    std::filesystem::path dayFile;
    ASSERT_NO_FATAL_FAILURE(killMidReceipt(folder, dayFile));
    {
        Restart restart(folder);
        restart.prompts.queueAnswer(Prompts::Answer::Yes); // taken up
        bool loaded = false;
        EXPECT_EQ(dialogsShownDuring([&] { loaded = restart.load(); }), QStringList());
        ASSERT_TRUE(loaded);
        ASSERT_TRUE(restart.window->logic().receipt().receiving());
        const QString more = QStringLiteral("0220054321");
        restart.fakePort.deliver((more + QStringLiteral("\r\n")).toLatin1());
        ASSERT_TRUE(waitUntil([&] { return fileBytes(dayFile).contains(more.toLatin1()); }));

        restart.prompts.queueAnswer(Prompts::Answer::No); // the discard confirmed
        onNextModal([](QWidget* closing) { child<QPushButton>(closing, "btnVen")->click(); });
        child<VerticalMenu>(restart.window.get(), "vmnNab")->itemButton(4)->click();
        EXPECT_FALSE(restart.window->logic().receipt().receiving());
        EXPECT_EQ(restart.prompts.records().back().text,
                  QStringLiteral("Příjem není uložen. Neuložených kódů: 4\r\nZahození příjmu smaže soubor, který "
                                 "tento příjem vytvořil: %1\r\n\r\nVrátit se do okna a příjem ponechat? (Ano: zpět do "
                                 "okna. Ne: zahodit příjem. Storno: zpět do okna.)")
                      .arg(TextFiles::toQString(dayFile)));
        EXPECT_FALSE(TextFiles::exists(dayFile));
        EXPECT_FALSE(TextFiles::exists(ReceiptRecord::recordFile(folder)));
    }
    Restart later(folder);
    dialogsShownDuring([&] { later.load(); });
    EXPECT_TRUE(later.prompts.records().empty()) << later.prompts.texts().join(u'\n').toStdString();
}

// A collected safe-bag receipt killed mid-receipt: every code read is on disk, in a file of its own beside the
// record (nothing in the safe-bag folder, whose lists the period summary counts and renames), and the next start
// tells it with its number of codes. "Ne" leaves the file and the record, told again at the start after; "Ano"
// writes the receipt's list as the closing window would have, named by the moment it is written and holding every
// code read, and the file and the record go.
TEST(ProcessTest, ASafeBagReceiptKilledIsToldAtTheNextStartAndYesWritesItsList) {
    QTemporaryDir dir;
    // Switch 44: the working mode is chosen at every receipt start.
    const std::filesystem::path folder = copySample(dir, QString(43, u'0') + u'1');
    const std::filesystem::path safeBagFolder = folder / "data" / "sfb";
    const auto lists = [&] { return QDir(TextFiles::toQString(safeBagFolder)).entryList(QDir::Files); };
    std::filesystem::path codesFile;
    ASSERT_NO_FATAL_FAILURE(killMidReceipt(folder, codesFile));
    EXPECT_EQ(codesFile.parent_path(), folder);
    EXPECT_EQ(sortedLines(codesFile), sorted(kCodes));
    EXPECT_EQ(lists(), QStringList());
    const QString question =
        QStringLiteral("Příjem SafeBag nebyl dokončen: jeho seznam (.sfb) se nezapsal a jeho kódy (počet kódů: 3) jsou "
                       "jen v souboru %1.\r\n\r\nZapsat seznam nyní? (Ne: soubor zůstane a příjem se ohlásí znovu při "
                       "příštím spuštění.)")
            .arg(TextFiles::toQString(codesFile));
    for (const Prompts::Answer answer : {Prompts::Answer::No, Prompts::Answer::Yes}) {
        SCOPED_TRACE(answer == Prompts::Answer::Yes ? "Ano" : "Ne");
        Restart restart(folder);
        restart.prompts.queueAnswer(answer);
        bool loaded = false;
        // The working mode and the receipt start show as at every start; they are closed without a start.
        dialogsShownDuring([&] { loaded = restart.load(); });
        ASSERT_TRUE(loaded);
        ASSERT_FALSE(restart.prompts.records().empty());
        EXPECT_EQ(restart.prompts.records().front().text, question);
        if (answer == Prompts::Answer::No) {
            EXPECT_EQ(sortedLines(codesFile), sorted(kCodes));
            EXPECT_TRUE(TextFiles::exists(ReceiptRecord::recordFile(folder)));
            EXPECT_EQ(lists(), QStringList());
            continue;
        }
        const QString list = restart.clock.now().toString(QStringLiteral("yyMMddHHmmss")) + QStringLiteral(".sfb");
        EXPECT_EQ(lists(), QStringList{list});
        EXPECT_EQ(sortedLines(safeBagFolder / TextFiles::toPath(list)), sorted(kCodes));
        EXPECT_FALSE(TextFiles::exists(codesFile));
        EXPECT_FALSE(TextFiles::exists(ReceiptRecord::recordFile(folder)));
        EXPECT_EQ(restart.prompts.records().back().text,
                  QStringLiteral("Seznam SafeBag byl zapsán do souboru %1 (počet kódů: 3).")
                      .arg(TextFiles::toQString(safeBagFolder / TextFiles::toPath(list))));
    }
    Restart later(folder);
    dialogsShownDuring([&] { later.load(); });
    EXPECT_TRUE(later.prompts.records().empty()) << later.prompts.texts().join(u'\n').toStdString();
}

// The mode without a closing save, killed mid-receipt: its day file holds every code read, no record of unfinished
// work is left, and the next start says nothing.
TEST(ProcessTest, AReceiptKilledInTheModeWithoutAClosingLeavesEveryCodeInItsDayFileAndNoNotice) {
    QTemporaryDir dir;
    const std::filesystem::path folder = copySample(dir);
    ASSERT_TRUE(ProfileFile::write(folder / "TRV7300.ini", QStringLiteral("User"), QStringLiteral("Mode"),
                                   QStringLiteral("NIC"))
                    .ok());
    std::filesystem::path dayFile;
    {
        ChildProgram child;
        dayFile = child.start(folder);
        ASSERT_FALSE(dayFile.empty());
        ASSERT_TRUE(child.read(kCodes, dayFile)) << fileBytes(dayFile).toStdString();
        child.kill();
    }
    EXPECT_EQ(sortedLines(dayFile), sorted(kCodes));
    EXPECT_FALSE(TextFiles::exists(ReceiptRecord::recordFile(folder)));

    Restart restart(folder);
    QStringList shown;
    bool loaded = false;
    shown = dialogsShownDuring([&] { loaded = restart.load(); });
    ASSERT_TRUE(loaded);
    EXPECT_EQ(shown, QStringList());
    EXPECT_TRUE(restart.prompts.records().empty()) << restart.prompts.texts().join(u'\n').toStdString();
    EXPECT_FALSE(restart.window->logic().receipt().receiving());
    EXPECT_EQ(sortedLines(dayFile), sorted(kCodes));
}

// Killed during the closing save, between its outputs (the statement file written, the tickets table not), the
// program tells at its next start the day file and the outputs that may be missing; taken up and saved again,
// every output is right, and a further save of the same receipt adds no row to the tickets table.
TEST(ProcessTest, ASaveKilledBetweenItsOutputsIsToldAndASecondSaveCompletesIt) {
    QTemporaryDir dir;
    // The SM start in depot mode: the statement file, then the rows of the tickets table.
    const std::filesystem::path folder = copySample(dir, QStringLiteral("0000000001000000000000000001"));
    const std::filesystem::path database = folder / "data" / "tickets.sqlite";
    const QString lockName = QStringLiteral("test-lock");
    std::filesystem::path dayFile;
    {
        ChildProgram program;
        dayFile = program.start(folder);
        ASSERT_FALSE(dayFile.empty());
        ASSERT_TRUE(program.read(kCodes, dayFile));
        std::filesystem::path statement = dayFile;
        statement.replace_extension(".vyc");
        ASSERT_FALSE(TextFiles::exists(statement));
        {
            // Another program holds the database: the save waits at its table, after the statement file.
            QSqlDatabase lock = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), lockName);
            lock.setDatabaseName(TextFiles::toQString(database));
            ASSERT_TRUE(lock.open());
            QSqlQuery begin(lock);
            ASSERT_TRUE(begin.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            program.program.write("SAVE\n");
            ASSERT_TRUE(waitUntil([&] { return TextFiles::exists(statement); }, 10000));
            EXPECT_EQ(program.program.state(), QProcess::Running);
            program.kill();
            begin.finish();
            lock.rollback();
            lock.close();
        }
        QSqlDatabase::removeDatabase(lockName);
    }

    const auto ticketRows = [&] {
        QStringList rows;
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw-tickets"));
            raw.setDatabaseName(TextFiles::toQString(database));
            EXPECT_TRUE(raw.open());
            QSqlQuery query(raw);
            if (query.exec(QStringLiteral("SELECT DEPO, IDENT_OBALKY, IDENT_FA, CODE FROM tickets ORDER BY CODE")))
                while (query.next())
                    rows.append(QStringList{query.value(0).toString(), query.value(1).toString(),
                                            query.value(2).toString(), query.value(3).toString()}
                                    .join(u'|'));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw-tickets"));
        return rows;
    };
    QStringList expectedRows;
    for (const QString& code : sorted(kCodes))
        expectedRows.append(QStringLiteral("D07|OB-1|123|") + code);
    EXPECT_EQ(ticketRows(), QStringList());

    {
        Restart restart(folder);
        restart.prompts.queueAnswer(Prompts::Answer::Yes);
        bool loaded = false;
        EXPECT_EQ(dialogsShownDuring([&] { loaded = restart.load(); }), QStringList());
        ASSERT_TRUE(loaded);
        const QStringList notices = restart.notices(dayFile);
        ASSERT_EQ(notices.size(), 1) << restart.prompts.texts().join(u'\n').toStdString();
        std::filesystem::path statement = dayFile;
        statement.replace_extension(".vyc");
        EXPECT_TRUE(notices[0].startsWith(
            QStringLiteral("Ukládání příjmu ze souboru %1 bylo přerušeno. Tyto výstupy mohou chybět nebo být neúplné: "
                           "denní soubor %1, výčetkový soubor %2, řádky tabulky tickets.\r\nDoplní je nové uložení "
                           "příjmu: připište k souboru (přidání do existujícího souboru) a příjem uložte.")
                .arg(TextFiles::toQString(dayFile), TextFiles::toQString(statement))))
            << notices[0].toStdString();
        ASSERT_TRUE(restart.window->logic().receipt().receiving());
        restart.save();
        EXPECT_EQ(sortedLines(dayFile), sorted(kCodes));
        EXPECT_EQ(ticketRows(), expectedRows);
    }
    // The same receipt appended to and saved once more, as the operator would: its rows are all there already.
    Restart again(folder);
    const QString fileName = TextFiles::toQString(dayFile.filename());
    onNextModal([&](QWidget* start) {
        child<QRadioButton>(start, "optPrid")->click();
        auto* list = child<QListWidget>(start, "listDataS");
        const QList<QListWidgetItem*> found = list->findItems(fileName, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        list->setCurrentItem(found.front());
        child<QLineEdit>(start, "txtDepo")->setText(QStringLiteral("D07"));
        child<QLineEdit>(start, "txtIdentObalky")->setText(QStringLiteral("OB-1"));
        child<QLineEdit>(start, "txtSM")->setText(QStringLiteral("123"));
        child<QPushButton>(start, "btnPrijem")->click();
    });
    ASSERT_TRUE(again.load());
    EXPECT_TRUE(again.notices(dayFile).isEmpty()) << again.prompts.texts().join(u'\n').toStdString();
    ASSERT_TRUE(again.window->logic().receipt().receiving());
    again.save();
    EXPECT_EQ(ticketRows(), expectedRows);
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

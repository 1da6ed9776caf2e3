// The reader road at a real reader's pace.
//
// BM_ReaderAtPace/<codes per second>: the program itself (trv7300, offscreen, mode AUT, 200 full voucher
// types) reads codes from a pseudo-terminal at a reader's pace: 200 codes/s (a reader fed in bulk) and
// 20 codes/s (a fast operator). Beside it, in the same repetition, the floor: a bare window whose QSerialPort
// reads the same bytes from the same pseudo-terminal and drops them (mainwindow_reader_floor). The figure is
// the CPU time of all the process's threads per code, less what the process spends idle over the same time.
//
// BM_StartToReading: from starting the process to its holding the reader's device open, the program with 200
// full voucher types beside the bare window.
//
// BM_PacedReaderThroughTheMainWindow: the same road inside this process, through the fake port, for profiling
// the window's part under callgrind or perf.
//
// TRV_BENCH_SECONDS sets the length of one paced run (default 10 s); TRV_BENCH_IDLE_SECONDS the idle
// measurement before it (default 2 s); TRV_BENCH_REPETITIONS the repetitions (default 5).

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "mainwindow/bench/BenchTypes.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/MainWindowView.h"
#include "mainwindow/ReceiptControl.h"
#include "mainwindow/ReceiptWindows.h"
#include "mainwindow/Startup.h"
#include "mainwindow/tests/NoPause.h"
#include "mainwindow/ui/frmHlavni.h"
#include "platform/Clock.h"
#include "platform/FakeSerialPort.h"
#include "platform/ScriptedPrompts.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"
#include "testsupport/GuiBenchSupport.h"
#include "testsupport/Pty.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "core/bench/TypeFolderGenerator.h"

#include <QDir>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace trv {
namespace {

using bench::kTypes;
constexpr int kIntervalMs = 5; // 200 codes/s

// TRV_BENCH_REPETITIONS: repetitions of each benchmark (default 5, for medians of 5).
int repetitions() {
    const int n = qEnvironmentVariableIntValue("TRV_BENCH_REPETITIONS");
    return n > 0 ? n : 5;
}

int runSeconds() {
    const int seconds = qEnvironmentVariableIntValue("TRV_BENCH_SECONDS");
    return seconds > 0 ? seconds : 10;
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// A code of the benchmark types, serial numbers going round the types.
QByteArray code(qint64 serial) {
    return bench::code(int(serial % kTypes), serial).toLatin1() + "\r\n";
}

// Delivers `count` codes, one per tick of a precise 5 ms timer, through `deliver`; returns the CPU seconds the
// process spent from the first tick until the view's last update.
double paced(int count, const std::function<void(const QByteArray&)>& deliver) {
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(kIntervalMs);
    qint64 serial = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        deliver(code(serial++));
        if (serial == count) {
            timer.stop();
            // The view's tick after the last code belongs to the road.
            QTimer::singleShot(100, &loop, &QEventLoop::quit);
        }
    });
    const double start = cpuSeconds();
    timer.start();
    loop.exec();
    return cpuSeconds() - start;
}

struct Program {
    Program() {
        root = TextFiles::toPath(dir.path());
        data = root / "data";
        std::filesystem::create_directory(data);
        std::filesystem::copy_file(TextFiles::toPath(QStringLiteral(TRV_SAMPLE_DIR "/langCS.ini")), root / "langCS.ini");
        QFile ini(TextFiles::toQString(root / "TRV7300.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(QStringLiteral("[Comm]\r\nPort=COM1\r\nHShaking=None\r\nBaudRate=38400\r\nData bits=8\r\n"
                                     "Stop bits=1\r\nParity=None\r\n[Data]\r\nDir=%1\r\n[User]\r\nMode=STD\r\n"
                                     "AutoPoc=True\r\n")
                          .arg(TextFiles::toQString(data))
                          .toUtf8());
        ini.close();
        (void)Main(state, root, prompts);
        state.gKontrolaPlatnostiZap = false;
        state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
        bench::addTypes(*state.gColStrav);
        window = std::make_unique<frmHlavni>(frmHlavni::Services{state, prompts, clock, port, shell, windows, pause});
        window->Form_Load();
        (void)window->logic().control().startReceiving(data, QStringLiteral("bench.txt"), false);
        window->logic().view().showCounterWindow();
    }

    QTemporaryDir dir;
    std::filesystem::path root;
    std::filesystem::path data;
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    ScriptedPrompts prompts;
    AppState state;
    FakeSerialPort port;
    RecordingShell shell;
    NoReceiptWindows windows;
    test::NoPause pause;
    std::unique_ptr<frmHlavni> window;
};

void BM_PacedReaderThroughTheMainWindow(benchmark::State& s) {
    const int count = runSeconds() * 1000 / kIntervalMs;
    for (auto _ : s) {
        Program program;
        if (!program.window->logic().receipt().receiving()) {
            s.SkipWithError("the receipt did not start");
            return;
        }
        const double cpu = paced(count, [&](const QByteArray& bytes) { program.port.deliver(bytes); });
        if (program.window->logic().counters().gPocetCteni() != count || !program.prompts.records().empty()) {
            s.SkipWithError("codes were not booked");
            return;
        }
        s.SetIterationTime(cpu);
        s.counters["cpu_us_per_code"] = cpu * 1e6 / count;
    }
}
BENCHMARK(BM_PacedReaderThroughTheMainWindow)->UseManualTime()->Iterations(1)->Repetitions(repetitions())->Unit(benchmark::kMillisecond);

// The floor: the same pacing and the same bytes, delivered to nobody.
void BM_PacedFloor(benchmark::State& s) {
    const int count = runSeconds() * 1000 / kIntervalMs;
    for (auto _ : s) {
        QByteArray sink;
        const double cpu = paced(count, [&](const QByteArray& bytes) { sink = bytes; });
        benchmark::DoNotOptimize(sink);
        s.SetIterationTime(cpu);
        s.counters["cpu_us_per_code"] = cpu * 1e6 / count;
    }
}
BENCHMARK(BM_PacedFloor)->UseManualTime()->Iterations(1)->Repetitions(repetitions())->Unit(benchmark::kMillisecond);

// --- The program and the floor as processes, on a pseudo-terminal

double wallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void sleepUntil(double when) {
    timespec t{};
    t.tv_sec = time_t(when);
    t.tv_nsec = long((when - double(t.tv_sec)) * 1e9);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) != 0) {
    }
}

double idleSeconds() {
    const int seconds = qEnvironmentVariableIntValue("TRV_BENCH_IDLE_SECONDS");
    return seconds > 0 ? seconds : 2;
}

constexpr int kProcessTypes = 200;

// The reader's end: the benchmark writes the codes to the master side; the process opens the slave device.
test::Pty::Options readerEnd() {
    return {.raw = true, .closeOnExec = true};
}

// A program folder in mode AUT (the receipt starts at once, into Barcode.txt) with 200 full voucher types.
struct ProcessFolder {
    ProcessFolder() {
        root = TextFiles::toPath(dir.path());
        data = root / "data";
        std::filesystem::create_directory(data);
        std::filesystem::copy_file(TextFiles::toPath(QStringLiteral(TRV_SAMPLE_DIR "/langCS.ini")), root / "langCS.ini");
        bench::writeTypeFolder(root, kProcessTypes);
        QFile ini(TextFiles::toQString(root / "TRV7300.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(QStringLiteral("[General]\r\nLang=langCS.ini\r\n[Comm]\r\nPort=COM1\r\nHShaking=None\r\n"
                                     "BaudRate=38400\r\nData bits=8\r\nStop bits=1\r\nParity=None\r\nNOREAD=NOREAD\r\n"
                                     "[Data]\r\nDir=%1\r\n[User]\r\nMode=AUT\r\nAutoPoc=True\r\n[Platnost]\r\n"
                                     "Kontrolovat=False\r\n")
                          .arg(TextFiles::toQString(data))
                          .toLocal8Bit());
    }

    QTemporaryDir dir;
    std::filesystem::path root;
    std::filesystem::path data;
};

// A code of the generated type n (1..200) with its own serial number in place of the type's number.
QByteArray processCode(qint64 k) {
    const int n = int(k % kProcessTypes) + 1;
    const int length = bench::generatedLength(n);
    const QString code = bench::generatedPrefix(n) +
                         QString::number(k / kProcessTypes).rightJustified(length - 6, u'0') + QStringLiteral("0850");
    return code.toLatin1() + "\r\n";
}

enum class Who { Program, Floor };

// TRV_BENCH_PROGRAM and TRV_BENCH_FLOOR name other builds of the two (a copy of an earlier build, to compare).
QString executable(Who who) {
    const QString other = qEnvironmentVariable(who == Who::Program ? "TRV_BENCH_PROGRAM" : "TRV_BENCH_FLOOR");
    if (!other.isEmpty())
        return other;
    return who == Who::Program ? QStringLiteral(TRV_PROGRAM) : QStringLiteral(TRV_READER_FLOOR);
}

class Child {
public:
    Child(Who who, const test::Pty& pty, const ProcessFolder* folder) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TRV7300_COM1"), pty.slaveName());
        if (folder)
            env.insert(QStringLiteral("TRV7300_HOME"), TextFiles::toQString(folder->root));
        m_process.setProcessEnvironment(env);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_device = pty.slaveName();
        m_started = wallSeconds();
        m_process.start(executable(who), {});
        m_process.waitForStarted();
    }
    ~Child() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Seconds from the start until the process holds the reader's device open; negative when it did not in 20 s.
    double untilReading() {
        const QString fds = QStringLiteral("/proc/%1/fd").arg(m_process.processId());
        while (wallSeconds() - m_started < 20) {
            const QFileInfoList entries = QDir(fds).entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
            for (const QFileInfo& entry : entries)
                if (entry.symLinkTarget() == m_device)
                    return wallSeconds() - m_started;
            if (m_process.state() == QProcess::NotRunning)
                return -1;
            usleep(500);
        }
        return -1;
    }

    // CPU seconds of all the process's threads so far (the scheduler's run time, in nanoseconds).
    double cpu() const {
        double total = 0;
        const QString tasks = QStringLiteral("/proc/%1/task").arg(m_process.processId());
        for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile stat(tasks + u'/' + task + QStringLiteral("/schedstat"));
            if (stat.open(QIODevice::ReadOnly))
                total += stat.readAll().split(' ').value(0).toDouble() / 1e9;
        }
        return total;
    }

private:
    QProcess m_process;
    QString m_device;
    double m_started = 0;
};

// Lines of the receipt's file (CR LF ended).
qsizetype fileLines(const std::filesystem::path& file) {
    QFile f(TextFiles::toQString(file));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return f.readAll().count("\r\n");
}

struct PaceFigure {
    double usPerCode = 0;
    bool ok = false;
};

// One process reading `seconds` of codes at `rate` codes/s, its idle CPU rate subtracted.
PaceFigure paceOf(Who who, int rate, int seconds) {
    test::Pty pty(readerEnd());
    std::unique_ptr<ProcessFolder> folder = who == Who::Program ? std::make_unique<ProcessFolder>() : nullptr;
    Child child(who, pty, folder.get());
    if (!pty.ok() || child.untilReading() < 0)
        return {};
    // Whatever the start left to do is done before the idle measurement.
    sleepUntil(wallSeconds() + 1);
    pty.drain();
    const double idleStart = wallSeconds();
    const double idleCpu = child.cpu();
    sleepUntil(idleStart + idleSeconds());
    const double idleRate = (child.cpu() - idleCpu) / (wallSeconds() - idleStart);

    const int count = rate * seconds;
    const double start = wallSeconds();
    const double cpu0 = child.cpu();
    for (int k = 0; k < count; ++k) {
        sleepUntil(start + double(k) / rate);
        pty.drain(); // what the program sends the reader (its switch-on) is dropped, so that it never waits
        (void)pty.write(processCode(k));
    }
    // The view's tick after the last code belongs to the road.
    sleepUntil(wallSeconds() + 0.3);
    const double cpu = child.cpu() - cpu0 - idleRate * (wallSeconds() - start);
    PaceFigure figure{cpu * 1e6 / count, true};
    if (folder && fileLines(folder->data / "Barcode.txt") != count)
        figure.ok = false;
    return figure;
}

std::map<QString, std::vector<double>>& ratios() {
    static std::map<QString, std::vector<double>> r;
    return r;
}

void BM_ReaderAtPace(benchmark::State& s) {
    const int rate = int(s.range(0));
    for (auto _ : s) {
        const PaceFigure floor = paceOf(Who::Floor, rate, runSeconds());
        const PaceFigure program = paceOf(Who::Program, rate, runSeconds());
        if (!floor.ok || !program.ok) {
            s.SkipWithError(floor.ok ? "the program did not book every code" : "the floor did not read");
            return;
        }
        s.SetIterationTime(program.usPerCode / 1e6);
        s.counters["program_us_per_code"] = program.usPerCode;
        s.counters["floor_us_per_code"] = floor.usPerCode;
        s.counters["ratio"] = program.usPerCode / floor.usPerCode;
        ratios()[QStringLiteral("reader at %1 codes/s, CPU per code").arg(rate)].push_back(program.usPerCode /
                                                                                          floor.usPerCode);
    }
}
BENCHMARK(BM_ReaderAtPace)->Arg(200)->Arg(20)->UseManualTime()->Iterations(1)->Repetitions(repetitions())->Unit(benchmark::kMicrosecond);

struct StartFigure {
    double wall = -1; // seconds from the start until the device is open
    double cpu = 0;   // CPU seconds of the process by then
};

StartFigure startOf(Who who) {
    test::Pty pty(readerEnd());
    std::unique_ptr<ProcessFolder> folder = who == Who::Program ? std::make_unique<ProcessFolder>() : nullptr;
    Child child(who, pty, folder.get());
    if (!pty.ok())
        return {};
    const double wall = child.untilReading();
    return {wall, child.cpu()};
}

void BM_StartToReading(benchmark::State& s) {
    for (auto _ : s) {
        const StartFigure floor = startOf(Who::Floor);
        const StartFigure program = startOf(Who::Program);
        if (floor.wall < 0 || program.wall < 0) {
            s.SkipWithError(floor.wall < 0 ? "the floor did not open the device" : "the program did not start reading");
            return;
        }
        s.SetIterationTime(program.wall);
        s.counters["program_ms"] = program.wall * 1e3;
        s.counters["floor_ms"] = floor.wall * 1e3;
        s.counters["ratio"] = program.wall / floor.wall;
        s.counters["program_cpu_ms"] = program.cpu * 1e3;
        s.counters["floor_cpu_ms"] = floor.cpu * 1e3;
        s.counters["cpu_ratio"] = program.cpu / floor.cpu;
        const QString what = QStringLiteral("start to reading, %1 full types").arg(kProcessTypes);
        ratios()[what + QStringLiteral(", wall time")].push_back(program.wall / floor.wall);
        ratios()[what + QStringLiteral(", CPU time")].push_back(program.cpu / floor.cpu);
    }
}
BENCHMARK(BM_StartToReading)->UseManualTime()->Iterations(1)->Repetitions(repetitions())->Unit(benchmark::kMillisecond);

void printRatios() {
    for (auto& [what, values] : ratios()) {
        std::sort(values.begin(), values.end());
        std::printf("%s: program / floor, median of %zu: %.2f\n", qPrintable(what), values.size(),
                    values[values.size() / 2]);
    }
}

} // namespace
} // namespace trv

int main(int argc, char** argv) {
    return trv::bench::runGuiBenchmarks(argc, argv, trv::printRatios);
}

// The reader road at a real reader's pace through the real main window (offscreen): one code every 5 ms
// (200 codes/s) arrives on the port, is shown in the display box, counted on the counter window, checked,
// booked and written to the receipt's file. The figure is the process's CPU time per code, beside a floor:
// the same paced event loop delivering the same bytes to nobody.
//
// TRV_BENCH_SECONDS sets the length of one run (default 10 s; the goal is stated for 30 s).

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

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <ctime>
#include <functional>
#include <memory>

namespace trv {
namespace {

using bench::kTypes;
constexpr int kIntervalMs = 5; // 200 codes/s

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
BENCHMARK(BM_PacedReaderThroughTheMainWindow)->UseManualTime()->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_PacedFloor)->UseManualTime()->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace trv

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

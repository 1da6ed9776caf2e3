// From bytes received on the reader's line to a booked code: receive handler, code buffer, checks,
// recognition and booking, with 20 voucher types and 10,000 codes already in the receipt.

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "mainwindow/bench/BenchTypes.h"
#include "core/SettingsLoader.h"
#include "mainwindow/CodeBuffer.h"
#include "mainwindow/CodeProcessor.h"
#include "mainwindow/DisplayBox.h"
#include "mainwindow/ErrorLogSink.h"
#include "mainwindow/PackageState.h"
#include "mainwindow/Pause.h"
#include "mainwindow/PortSetup.h"
#include "mainwindow/ReadCounters.h"
#include "mainwindow/ReaderState.h"
#include "mainwindow/ReaderStop.h"
#include "mainwindow/ReceiptState.h"
#include "mainwindow/ReceiveLoop.h"
#include "mainwindow/tests/NoPause.h"
#include "platform/Clock.h"
#include "platform/FakeSerialPort.h"
#include "platform/ScriptedPrompts.h"
#include "platform/TextFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace trv {
namespace {

class NoErrorLog final : public ErrorLogSink {
public:
    void PridejChybu(const QString&) override {}
};

using bench::kTypes;
constexpr int kBooked = 10000;

using bench::code;

struct Reader {
    Reader()
        : state(folder()), port([](const QString&) { return QString(); }), stop(state, port, pause, log),
          counters(state), portSetup(state, port, receipt, prompts),
          processor(state, reader, buffer, stop, prompts, counters, package, CodeProcessor::Window{}),
          loop(state, port, buffer, processor, display, counters, stop, portSetup, prompts) {
        state.gKontrolaPlatnostiZap = false;
        state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
        bench::addTypes(*state.gColStrav);
        NactiNastaveniPortu(state);
        portSetup.NastavPrijem(true);
        for (int i = 0; i < kBooked; ++i)
            port.deliver(code(i % kTypes, i).toLatin1() + "\r\n");
    }

    const std::filesystem::path& folder() {
        root = TextFiles::toPath(dir.path());
        QFile ini(TextFiles::toQString(root / "TRV7300.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Comm]\r\nPort=COM1\r\nHShaking=None\r\nBaudRate=38400\r\nData bits=8\r\nStop bits=1\r\n"
                      "Parity=None\r\n");
        return root;
    }

    QTemporaryDir dir;
    std::filesystem::path root;
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    ScriptedPrompts prompts;
    AppState state;
    FakeSerialPort port;
    test::NoPause pause;
    NoErrorLog log;
    ReaderStop stop;
    ReaderState reader;
    ReadCounters counters;
    PackageState package;
    CodeBuffer buffer;
    DisplayBox display;
    ReceiptState receipt;
    PortSetup portSetup;
    CodeProcessor processor;
    ReceiveLoop loop;
};

void BM_ReceivedCodeToBooking(benchmark::State& s) {
    Reader r;
    qint64 serial = kBooked;
    for (auto _ : s) {
        s.PauseTiming();
        const QByteArray bytes = code(static_cast<int>(serial % kTypes), serial).toLatin1() + "\r\n";
        ++serial;
        s.ResumeTiming();
        r.port.deliver(bytes);
    }
    if (r.counters.gPocetCteni() != serial || !r.prompts.records().empty())
        s.SkipWithError("codes were not booked");
    s.SetItemsProcessed(s.iterations());
}
BENCHMARK(BM_ReceivedCodeToBooking);

} // namespace
} // namespace trv

BENCHMARK_MAIN();

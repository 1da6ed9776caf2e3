#pragma once

// A main window's reader logic over a temporary program folder, a fake port and scripted prompts, with the
// voucher types the tests use. Waits are recorded, not waited.

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "core/SettingsLoader.h"
#include "mainwindow/CodeBuffer.h"
#include "mainwindow/CodeProcessor.h"
#include "mainwindow/DisplayBox.h"
#include "mainwindow/ErrorLogSink.h"
#include "mainwindow/PackageFile.h"
#include "mainwindow/PackageState.h"
#include "mainwindow/Pause.h"
#include "mainwindow/PortSetup.h"
#include "mainwindow/ReadCounters.h"
#include "mainwindow/ReaderCommands.h"
#include "mainwindow/ReaderState.h"
#include "mainwindow/ReaderStop.h"
#include "mainwindow/ReceiptState.h"
#include "mainwindow/ReceiveLoop.h"
#include "platform/Clock.h"
#include "platform/FakeSerialPort.h"
#include "platform/ProfileFile.h"
#include "platform/TextFiles.h"
#include "testsupport/ScriptedPromptsGtest.h"
#include "testsupport/TestVoucherTypes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace trv::test {

// Records every wait and returns at once; a hook may run "during" the wait (data arriving meanwhile).
class RecordingPause final : public Pause {
public:
    void wait(qint64 ms) override {
        waits.push_back(ms);
        if (port)
            writesBefore.push_back(port->writes().size());
        if (during) {
            auto hook = std::move(during);
            during = nullptr;
            hook();
        }
    }
    std::vector<qint64> waits;
    std::vector<qsizetype> writesBefore; // how many writes the port had taken at each wait
    const FakeSerialPort* port = nullptr;
    std::function<void()> during;
};

class RecordingErrorLog final : public ErrorLogSink {
public:
    void PridejChybu(const QString& text) override { lines.append(text); }
    QStringList lines;
};

inline const char* kLanguageFile = R"([frmHlavni]
PrijemDatAkt=Prijem AKTIVNI
PrijemDatNeakt=Prijem NEAKTIVNI
PortNeniOtevren=Port neni otevren.
StravCislo="Stravenka "
PrekrMezBaliku=" prekrocila mez."
PozorStravCislo="Pozor! "
VJinemBalicku=" je v jinem balicku."
NepovZnaky=Nepovolene znaky:
ChybaInterleave="Kontrolni cislice: "
ChybnaDelka="Chybna delka: "
PlatnostStravVyprsela=Platnost vyprsela:
NepovDarkKup=Darkove nepovoleny.
NeodpTypStrav=Jiny typ.
[procFce]
portJizOtevr=Port uz je otevren.
[CColStrav]
StravCislo="Stravenka "
NebylaRozp=" nerozpoznana."
[kontrola]
neplatnEmise=Neplatna emise.
)";

inline const char* kConfigFile = R"([Comm]
Port=COM2
HShaking=XOn/XOff
BaudRate=38400
Data bits=8
Stop bits=1
Parity=None
DTRSleep=2000
[Balickovani]
DalsiCisloBaliku=1
)";

// The voucher types of the tests. Values are read from the code: "Alfa" codes have 10 digits with the value in
// digits 6 to 8, "Beta" codes 12 digits with the value in digits 1 to 3, "Gama" codes 8 digits with a check
// digit at position 8 and the value in digits 1 to 2.
struct TypeDef {
    QString name;
    qint32 delka;
    qint32 pozCastka;
    qint32 delkaCastka;
    qint16 pozInterleave1 = 0;
};

inline std::shared_ptr<CStrav> makeType(const TypeDef& def, qint16 order) {
    return makeTestType({.name = def.name,
                         .delka = def.delka,
                         .pozCastka = def.pozCastka,
                         .delkaCastka = def.delkaCastka,
                         .pozInterleave1 = def.pozInterleave1,
                         .order = order});
}

// "12345" + value in three digits + "00": an Alfa code worth `value`.
inline QString alfa(int value, int serial = 12345) {
    return QStringLiteral("%1%2%3")
        .arg(serial, 5, 10, QLatin1Char('0'))
        .arg(value, 3, 10, QLatin1Char('0'))
        .arg(QStringLiteral("00"));
}

struct ReaderRig {
    explicit ReaderRig(std::vector<TypeDef> defs = {{QStringLiteral("Alfa Stravenky"), 10, 6, 3},
                                                    {QStringLiteral("Beta Poukazy"), 12, 1, 3},
                                                    {QStringLiteral("Gama Sek"), 8, 1, 2, 8}})
        : state(folder()), port([this](const QString& name) { return environment(name); }),
          stop(state, port, pause, errorLog), counters(state), portSetup(state, port, receipt, prompts),
          processor(state, reader, buffer, stop, prompts, counters, package, window()),
          loop(state, port, buffer, processor, display, counters, stop, portSetup, prompts),
          commands(state, reader, port, portSetup, pause, stop, counters, prompts) {
        pause.port = &port;
        state.gKontrolaPlatnostiZap = false;
        state.gDTRSleep = 2000;
        state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
        qint16 order = 1;
        for (const TypeDef& def : defs)
            EXPECT_TRUE(state.gColStrav->Add(makeType(def, order++)).ok());
    }

    const std::filesystem::path& folder() {
        EXPECT_TRUE(dir.isValid());
        root = TextFiles::toPath(dir.path());
        writeFile(root / "TRV7300.ini", kConfigFile);
        writeFile(root / "langCS.ini", kLanguageFile);
        return root;
    }

    static void writeFile(const std::filesystem::path& file, const char* text) {
        QFile f(TextFiles::toQString(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QString environment(const QString& name) const { return env.value(name); }

    CodeProcessor::Window window() {
        CodeProcessor::Window w;
        w.dlgNextPackage = [this] {
            ++dialogsShown;
            if (whileDialog)
                whileDialog();
            return dialogAnswers.empty() ? 0 : takeFront(dialogAnswers);
        };
        w.konecpr = [this] { ++receiptEnds; };
        w.lblSoubor = [this] { return packageFile; };
        return w;
    }

    static int takeFront(std::vector<int>& v) {
        const int x = v.front();
        v.erase(v.begin());
        return x;
    }

    // Opens the port for receiving (the fake needs no device).
    void openPort() {
        ASSERT_TRUE(NactiNastaveniPortu(state));
        ASSERT_TRUE(portSetup.NastavPrijem(true));
        port.clearLog();
    }

    void receive(const QByteArray& bytes) { port.deliver(bytes); }

    // The codes booked, every type in order.
    QStringList booked() const { return state.gColStrav->kodyVsechTypu(); }

    QStringList messages() const { return prompts.texts(); }

    QTemporaryDir dir;
    std::filesystem::path root;
    QHash<QString, QString> env;
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    ScriptedPrompts prompts;
    AppState state;
    FakeSerialPort port;
    RecordingPause pause;
    RecordingErrorLog errorLog;
    ReaderStop stop;
    ReaderState reader;
    ReadCounters counters;
    PackageState package;
    CodeBuffer buffer;
    DisplayBox display;
    ReceiptState receipt;
    PortSetup portSetup;
    std::vector<int> dialogAnswers;
    std::function<void()> whileDialog;
    int dialogsShown = 0;
    int receiptEnds = 0;
    std::filesystem::path packageFile;
    CodeProcessor processor;
    ReceiveLoop loop;
    ReaderCommands commands;
};

} // namespace trv::test

// Opening a day data file in the editor, a file of 18 MB and one ten times larger, beside `wc -l` of the same
// files: the editor's time and peak memory should grow with the file and no faster. Each open runs in a child
// process of its own (the window made, the file loaded and shown, the view scrolled to its last line); the time
// is the child's whole run, the memory its peak resident size, and "idle" is a child that does nothing, the floor
// every peak stands on. The files are made here: lines of codes as the scanner writes them, CR LF ended.
// Beside the open, the select-all of the same files copied, and cut then taken back by an undo: the cut's peak
// should stand near the copy's (the clipboard's text is the same), since the undo keeps where the lines are in the
// bytes read, never their text.
// Run: datafiles_editor_bench [benchmark flags]
#include "core/AppState.h"
#include "datafiles/ui/frmSouboryOt.h"
#include "platform/ScriptedPrompts.h"
#include "testsupport/BenchSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>

namespace {

namespace fs = std::filesystem;

fs::path g_home;

fs::path dayFile(int megabytes) {
    return g_home / ("240401_142_TU_" + std::to_string(megabytes) + ".txt");
}

bool makeDayFile(int megabytes) {
    QFile f(QString::fromStdString(dayFile(megabytes).string()));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QRandomGenerator random(7);
    const qint64 size = qint64(megabytes) * 1000 * 1000;
    QByteArray chunk;
    qint64 written = 0;
    while (written < size) {
        chunk.clear();
        while (chunk.size() < (1 << 20)) {
            const int digits = 15 + 2 * int(random.bounded(5)); // 17 to 25 characters a code
            chunk.append("10");
            for (int i = 0; i < digits; ++i)
                chunk.append(char('0' + random.bounded(10)));
            chunk.append("\r\n");
        }
        if (f.write(chunk) != chunk.size())
            return false;
        written += chunk.size();
    }
    return true;
}

using trv::bench::measurePeak;

void BM_Idle(benchmark::State& state) {
    measurePeak(state, [] { return true; });
}

void BM_EditorOpen(benchmark::State& state) {
    const fs::path file = dayFile(int(state.range(0)));
    measurePeak(state, [&] {
        trv::AppState app(g_home);
        trv::ScriptedPrompts prompts;
        trv::frmSouboryOt editor(app, prompts, file);
        if (!editor.Form_Load())
            return false;
        editor.show();
        QApplication::processEvents();
        auto* view = editor.findChild<QListView*>(QStringLiteral("rtbEdit"));
        view->scrollToBottom();
        QApplication::processEvents();
        return view->model()->rowCount() > 1;
    });
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(file)));
}

// Ctrl and a letter pressed on the view, as the operator's shortcut.
void ctrl(QListView* view, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QApplication::sendEvent(view, &press);
}

// Opens the file and runs `keys` on the view; true when `done` then holds.
bool openAndType(const fs::path& file, const std::function<void(QListView*)>& keys,
                 const std::function<bool(trv::frmSouboryOt&, QListView*)>& done) {
    trv::AppState app(g_home);
    trv::ScriptedPrompts prompts;
    trv::frmSouboryOt editor(app, prompts, file);
    if (!editor.Form_Load())
        return false;
    editor.show();
    QApplication::processEvents();
    auto* view = editor.findChild<QListView*>(QStringLiteral("rtbEdit"));
    keys(view);
    QApplication::processEvents();
    return done(editor, view);
}

void BM_EditorCopyAll(benchmark::State& state) {
    const fs::path file = dayFile(int(state.range(0)));
    measurePeak(state, [&] {
        return openAndType(
            file,
            [](QListView* view) {
                ctrl(view, Qt::Key_A);
                ctrl(view, Qt::Key_C);
            },
            [](trv::frmSouboryOt&, QListView*) { return QApplication::clipboard()->mimeData()->hasText(); });
    });
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(file)));
}

void BM_EditorCutAllAndUndo(benchmark::State& state) {
    const fs::path file = dayFile(int(state.range(0)));
    measurePeak(state, [&] {
        return openAndType(
            file,
            [](QListView* view) {
                ctrl(view, Qt::Key_A);
                ctrl(view, Qt::Key_X);
                ctrl(view, Qt::Key_Z);
            },
            [](trv::frmSouboryOt& editor, QListView* view) {
                // Taken back, the file is as read: the close asks nothing.
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(view, &escape);
                return view->model()->rowCount() > 1 && editor.result() == QDialog::Rejected && !editor.isVisible();
            });
    });
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(file)));
}

void BM_WcL(benchmark::State& state) {
    const std::string command = "wc -l '" + dayFile(int(state.range(0))).string() + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("wc failed");
            return;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(dayFile(int(state.range(0))))));
}

} // namespace

BENCHMARK(BM_Idle)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_EditorOpen)->Arg(18)->Arg(180)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_EditorCopyAll)->Arg(18)->Arg(180)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_EditorCutAllAndUndo)->Arg(18)->Arg(180)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_WcL)->Arg(18)->Arg(180)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    g_home = fs::path(home.path().toStdString());
    for (int megabytes : {18, 180}) {
        if (!makeDayFile(megabytes)) {
            std::cerr << "cannot write the day files in " << g_home << "\n";
            return 1;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

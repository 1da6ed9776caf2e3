#include "core/AppState.h"
#include "mainwindow/Startup.h"
#include "platform/QtSerialPort.h"
#include "platform/TextFiles.h"
#include "platform/ui/WidgetPrompts.h"

#include <QApplication>
#include <QMainWindow>

namespace {

// The configuration, the language file and the definition files live in the program folder: the folder
// of the executable, unless TRV7300_HOME names another one.
std::filesystem::path programFolder() {
    const QString home = qEnvironmentVariable("TRV7300_HOME");
    if (!home.isEmpty())
        return trv::TextFiles::toPath(home);
    return trv::TextFiles::toPath(QCoreApplication::applicationDirPath());
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TRV7300"));

    trv::AppState state;
    trv::WidgetPrompts prompts;
    trv::QtSerialPort port;

    if (!trv::Main(state, programFolder(), prompts).ok())
        return 1;

    QMainWindow window;
    window.setWindowTitle(state.config.DejText(QStringLiteral("frmPrijemSec"), QStringLiteral("TRVZpracStrav")));
    window.resize(800, 600);
    window.show();
    return app.exec();
}

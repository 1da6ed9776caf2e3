#include "core/AppState.h"
#include "core/CColStrav.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/Startup.h"
#include "mainwindow/tests/NoPause.h"
#include "mainwindow/ui/VerticalMenu.h"
#include "mainwindow/ui/WidgetReceiptWindows.h"
#include "mainwindow/ui/frmHlavni.h"
#include "mainwindow/ui/tests/WholeProgramFixture.h"
#include "platform/Clock.h"
#include "platform/FakeSerialPort.h"
#include "platform/Printer.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"
#include "testsupport/GuiTestHelpers.h"
#include "testsupport/ScriptedPromptsGtest.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <filesystem>
#include <memory>

using namespace trv;
using trv::test::child;
using trv::test::NoPause;
using trv::test::onNextModal;

namespace {

// The whole program over a copy of the sample installation, with a fake reader port.
class MaintenanceMenusRig : public trv::test::WholeProgramTest {
protected:
    // The password prompt that opens next gets `password`; then `next` runs on the window it lets through.
    static void answerPassword(const QString& password, std::function<void(QWidget*)> next = {}) {
        onNextModal([password, next](QWidget* prompt) {
            child<QLineEdit>(prompt, "Text1")->setText(password);
            if (next)
                onNextModal(next);
            child<QPushButton>(prompt, "Command1")->click();
        });
    }

    void trigger(const char* item) const { child<QAction>(window.get(), item)->trigger(); }
    QByteArray configBytes() const { return TextFiles::readBytes(folder / "TRV7300.ini").value(); }
};

class MaintenanceMenusTest : public MaintenanceMenusRig {
protected:
    MaintenanceMenusTest() {
        // Mode "STD" opens the receipt-start dialog at load; these tests start no receipt.
        onNextModal([](QWidget* start) { start->close(); });
        EXPECT_TRUE(startProgram());
    }
};

} // namespace

TEST_F(MaintenanceMenusTest, TheSettingsWindowOpensOnlyAfterThePassword) {
    answerPassword(QStringLiteral("heslo"));
    trigger("nastpr");
    EXPECT_EQ(prompts.texts().back(),
              state.config.DejText(QStringLiteral("frmLoginHeslo"), QStringLiteral("ChybneHeslo")));

    // Through the quick menu's settings item: the reader command goes out on the port opened for it.
    QString opened;
    answerPassword(QStringLiteral("vraskel"), [&](QWidget* settings) {
        opened = settings->objectName();
        port.clearLog();
        child<QPushButton>(settings, "btnUlozNast")->click();
        child<QPushButton>(settings, "btnVen")->click();
    });
    child<VerticalMenu>(window.get(), "vmnFast")->itemButton(4)->click();
    EXPECT_EQ(opened, QStringLiteral("frmServis"));
    EXPECT_EQ(port.events(),
              (QStringList{QStringLiteral("open"), QStringLiteral("send <Zp>"), QStringLiteral("close")}));
    EXPECT_EQ(port.sent(), QByteArray("<Zp>"));
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(prompts.texts().contains(
        state.config.DejText(QStringLiteral("frmServis"), QStringLiteral("ZapisKonfigSkeneru"))));
    EXPECT_EQ(child<QLabel>(window.get(), "StatusBar1Panel5")->text(), QStringLiteral("COM1, None, 38400, 8, 1, N"));
}

TEST_F(MaintenanceMenusTest, TheDefaultConfigurationIsRewrittenAfterPasswordAndQuestion) {
    ASSERT_TRUE(configBytes().contains("BaudRate=38400"));
    answerPassword(QStringLiteral("vraskel"));
    prompts.queueAnswer(Prompts::Answer::No);
    trigger("defkonf");
    EXPECT_TRUE(configBytes().contains("BaudRate=38400"));
    answerPassword(QStringLiteral("vraskel"));
    prompts.queueAnswer(Prompts::Answer::Yes);
    trigger("defkonf");
    EXPECT_TRUE(configBytes().contains("BaudRate=19200"));
    EXPECT_TRUE(configBytes().contains("ExpTxtSeparator=;"));
    EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Question);
}

TEST_F(MaintenanceMenusTest, TheVoucherTypeEditorWarnsToBackUpFirst) {
    QString opened;
    answerPassword(QStringLiteral("vraskel"), [&](QWidget* editor) {
        opened = editor->objectName();
        child<QPushButton>(editor, "cmdCancel")->click();
    });
    trigger("mnuStrav");
    EXPECT_EQ(opened, QStringLiteral("frmStrav"));
    EXPECT_TRUE(
        prompts.texts().contains(state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("ProvedZalohu"))));
}

TEST_F(MaintenanceMenusTest, MasksAboutAndSmListOpenWithoutPassword) {
    for (const char* item : {"mnuMaska", "About"}) {
        SCOPED_TRACE(item);
        QString opened;
        onNextModal([&](QWidget* w) {
            opened = w->objectName();
            w->close();
        });
        trigger(item);
        EXPECT_EQ(opened, item == QByteArray("mnuMaska") ? QStringLiteral("frmMaska") : QStringLiteral("frmAbout"));
    }
    trigger("defSM");
    QWidget* sm = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("frmSM") && w->isVisible())
            sm = w;
    }
    ASSERT_NE(sm, nullptr);
    prompts.queueAnswer(Prompts::Answer::No);
    child<QPushButton>(sm, "cmdCancel")->click();
    EXPECT_FALSE(sm->isVisible());
}

TEST_F(MaintenanceMenusTest, TheWorkingModeWindowSwitchesTheDataFolder) {
    onNextModal([](QWidget* w) { child<QPushButton>(w, "cmdDennySafeBag")->click(); });
    EXPECT_TRUE(windows.frmSafeBag());
    EXPECT_TRUE(state.gDennySafeBag);
    EXPECT_EQ(state.gDatovyAdresar, folder / "data/densfb");
    onNextModal([](QWidget* w) { child<QPushButton>(w, "cmdPokladni")->click(); });
    EXPECT_TRUE(windows.frmSafeBag());
    EXPECT_FALSE(state.gDennySafeBag || state.gSafeBag);
    EXPECT_EQ(state.gDatovyAdresar, folder / "data");
}

TEST_F(MaintenanceMenusRig, ATypeDeletedDuringAReceiptLeavesTheReceiptFileToo) {
    onNextModal([](QWidget* start) {
        child<QLineEdit>(start, "txtPokladni")->setText(QStringLiteral("001"));
        child<QLineEdit>(start, "txtPoradi")->setText(QStringLiteral("1"));
        child<QPushButton>(start, "btnPrijem")->click();
    });
    ASSERT_TRUE(startProgram());
    ASSERT_TRUE(window->logic().receipt().receiving());
    const std::filesystem::path file = folder / "data" / "261210001_1.txt";
    const QByteArray beta = "0321054321";
    const QByteArray alfa = "1012342601005";
    port.deliver(beta + "\r\n" + alfa + "\r\n");
    ASSERT_TRUE(trv::test::waitUntil([&] { return TextFiles::readBytes(file).value().contains(alfa); }));
    ASSERT_EQ(state.gColStrav->Item(1)->Nazev, QStringLiteral("Alfa Stravenka"));

    answerPassword(QStringLiteral("vraskel"), [](QWidget* editor) {
        auto* list = child<QTreeWidget>(editor, "lvwStrav");
        list->setCurrentItem(list->topLevelItem(0));
        child<QPushButton>(editor, "cmdDel")->click();
        child<QPushButton>(editor, "cmdCancel")->click();
    });
    prompts.queueAnswer(Prompts::Answer::Yes); // delete the type
    prompts.queueAnswer(Prompts::Answer::No);  // but keep the definition file
    trigger("mnuStrav");

    const QByteArray kept = TextFiles::readBytes(file).value();
    EXPECT_TRUE(kept.contains(beta)) << kept.toStdString();
    EXPECT_FALSE(kept.contains(alfa)) << kept.toStdString();
}

// The settings window asks the receipt itself whether one runs: a receipt whose reader was lost still runs, and
// the reader's menu, which would take its port, stays closed until it is ended.
TEST_F(MaintenanceMenusRig, TheReadersMenuWaitsForAReceiptWhoseReaderWasLost) {
    onNextModal([](QWidget* start) {
        child<QLineEdit>(start, "txtPokladni")->setText(QStringLiteral("001"));
        child<QPushButton>(start, "btnPrijem")->click();
    });
    ASSERT_TRUE(startProgram());
    port.simulateLoss(QStringLiteral("zmizel"));
    ASSERT_FALSE(window->logic().receipt().receiving());

    bool menuEnabled = true;
    answerPassword(QStringLiteral("vraskel"), [&](QWidget* settings) {
        menuEnabled = child<QPushButton>(settings, "btnOMenu")->isEnabled();
        child<QPushButton>(settings, "btnVen")->click();
    });
    trigger("nastpr");
    EXPECT_FALSE(menuEnabled);
}

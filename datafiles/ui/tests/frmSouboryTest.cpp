#define DATAFILES_SOURCE_ROOT TRV_TEST_DATA "/../../../.."
#include "datafiles/tests/DataFilesFixture.h"

#include "core/ReaderControl.h"
#include "datafiles/ui/frmSoubory.h"
#include "platform/Printer.h"
#include "testsupport/GuiTestHelpers.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>

#include <functional>
#include <string_view>

using namespace trv;
using test::child;

namespace {

class frmSouboryTest : public test::DataFilesFixture {
protected:
    void SetUp() override {
        DataFilesFixture::SetUp();
        writeData("150121_001_01_1.txt", "11100001\r\n22050002\r\n");
        writeData("150121_001_01_1.vyc", "10.12.2026;150121;001;1;11100001;100;01\r\n"
                                         "10.12.2026;150121;001;1;22050002;50;01\r\n");
        writeData("150121_002_01_1.txt", "1201234567\r\n");
        writeData("150121001_1.txt", "11100001\r\n");
        writeData("150122_001_01_1.txt", "");
        writeData("150122_003_02_1.txt", "11100001\r\n");
    }

    std::unique_ptr<frmSoubory> open() {
        auto w = std::make_unique<frmSoubory>(
            frmSoubory::Services{*state, prompts, clock, printer, reader, QStringLiteral("Courier New")});
        EXPECT_TRUE(w->Form_Load());
        w->show();
        return w;
    }

    QStringList listed(frmSoubory* w, const char* view) {
        return qobject_cast<QStringListModel*>(child<QListView>(w, view)->model())->stringList();
    }
    QString current(frmSoubory* w) { return child<QListView>(w, "flbSoubor")->currentIndex().data().toString(); }
    void choose(frmSoubory* w, const char* view, const QString& name) {
        auto* list = child<QListView>(w, view);
        const auto rows = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        ASSERT_EQ(rows.size(), 1) << name.toStdString();
        list->setCurrentIndex(rows.front());
    }
    void type(frmSoubory* w, const char* box, const char* text) {
        auto* edit = child<QLineEdit>(w, box);
        edit->clear();
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }
    void click(QWidget* w, const char* button) { child<QAbstractButton>(w, button)->click(); }
    bool enabled(QWidget* w, const char* control) { return child<QWidget>(w, control)->isEnabled(); }
    QString path(const char* name) const { return QString::fromStdString((data / name).string()); }

    NullReaderControl reader;
    Printer printer;
};

const char* const kFileButtons[] = {"btnOtevri", "btnSmaz", "btnUlozJako", "btnTisk", "btnTiskSouc"};

} // namespace

TEST_F(frmSouboryTest, ListsTheDayFilesAndFindsByTextWithFindNextWrapping) {
    writeData("150121_001_01_1.TXT", "150121_001_01_1;00001;100\r\n"); // the nominal summary is not listed
    auto w = open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Soubory"));
    EXPECT_EQ(listed(w.get(), "flbSoubor"), strings({"150121001_1.txt", "150121_001_01_1.txt", "150121_002_01_1.txt",
                                                     "150122_001_01_1.txt", "150122_003_02_1.txt"}));
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtCesta")->text(), QString::fromStdString(data.string()));
    for (const char* b : kFileButtons)
        EXPECT_FALSE(enabled(w.get(), b)) << b;
    EXPECT_FALSE(enabled(w.get(), "btnNajdiText"));

    // The text search takes numbers only.
    type(w.get(), "txtHled", "15a");
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtHled")->text(), QString());
    EXPECT_FALSE(enabled(w.get(), "btnNajdiText"));
    type(w.get(), "txtHled", "150121");
    EXPECT_TRUE(enabled(w.get(), "btnNajdiText"));
    EXPECT_TRUE(enabled(w.get(), "chkCele"));
    EXPECT_FALSE(enabled(w.get(), "btnNajdiDalText"));

    // Enter in the text box runs the find.
    QTest::keyClick(child<QLineEdit>(w.get(), "txtHled"), Qt::Key_Return);
    EXPECT_EQ(current(w.get()), QStringLiteral("150121001_1.txt"));
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtCesta")->text(), path("150121001_1.txt"));
    for (const char* b : kFileButtons)
        EXPECT_TRUE(enabled(w.get(), b)) << b;
    EXPECT_TRUE(enabled(w.get(), "btnNajdiDalText"));
    click(w.get(), "btnNajdiDalText");
    EXPECT_EQ(current(w.get()), QStringLiteral("150121_001_01_1.txt"));
    click(w.get(), "btnNajdiDalText");
    EXPECT_EQ(current(w.get()), QStringLiteral("150121_002_01_1.txt"));
    // Past the last match: not found, the selection stays where it was.
    click(w.get(), "btnNajdiDalText");
    EXPECT_EQ(current(w.get()), QStringLiteral("150121_002_01_1.txt"));
    EXPECT_EQ(prompts.texts(), strings({"Hledaný soubor nebyl nalezen."}));
    // From the last entry the search starts again at the top.
    choose(w.get(), "flbSoubor", QStringLiteral("150122_003_02_1.txt"));
    click(w.get(), "btnNajdiDalText");
    EXPECT_EQ(current(w.get()), QStringLiteral("150121001_1.txt"));

    // Whole name: only a file named exactly so; none here, and the walk ends on the last entry.
    child<QCheckBox>(w.get(), "chkCele")->setChecked(true);
    click(w.get(), "btnNajdiText");
    EXPECT_EQ(current(w.get()), QStringLiteral("150122_003_02_1.txt"));
    EXPECT_EQ(prompts.texts().size(), 2);
}

TEST_F(frmSouboryTest, FiltersByTextDateAndSmInPlaceOfTheFileList) {
    auto w = open();
    auto* files = child<QListView>(w.get(), "flbSoubor");
    auto* filter = child<QListView>(w.get(), "lstFilter");
    EXPECT_TRUE(filter->isHidden());

    type(w.get(), "txtDatum", "150121");
    child<QCheckBox>(w.get(), "chkFilterDatum")->click();
    EXPECT_FALSE(filter->isHidden());
    EXPECT_TRUE(files->isHidden());
    // The date part is the text before the first "_": the cash-desk name 150121001_1.txt has 150121001.
    EXPECT_EQ(listed(w.get(), "lstFilter"), strings({"150121_001_01_1.txt", "150121_002_01_1.txt"}));
    EXPECT_FALSE(enabled(w.get(), "btnNajdiDatum"));
    EXPECT_FALSE(enabled(w.get(), "btnNajdiDalDatum"));
    // The filter's walk ends on the last file of the full list; the file buttons act on it.
    EXPECT_EQ(current(w.get()), QStringLiteral("150122_003_02_1.txt"));
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtCesta")->text(), path("150122_003_02_1.txt"));

    child<QCheckBox>(w.get(), "chkFilterDatum")->click();
    EXPECT_TRUE(filter->isHidden());
    EXPECT_FALSE(files->isHidden());
    EXPECT_TRUE(enabled(w.get(), "btnNajdiDatum"));
    EXPECT_TRUE(enabled(w.get(), "btnNajdiDalDatum"));

    type(w.get(), "txtSM", "001");
    child<QCheckBox>(w.get(), "chkFilterSM")->click();
    EXPECT_EQ(listed(w.get(), "lstFilter"), strings({"150121_001_01_1.txt", "150122_001_01_1.txt"}));
    // Emptying the key's box turns its filter off.
    child<QLineEdit>(w.get(), "txtSM")->clear();
    EXPECT_FALSE(child<QCheckBox>(w.get(), "chkFilterSM")->isChecked());
    EXPECT_FALSE(enabled(w.get(), "chkFilterSM"));
    EXPECT_TRUE(filter->isHidden());
    EXPECT_EQ(listed(w.get(), "lstFilter"), QStringList());

    type(w.get(), "txtHled", "0122");
    child<QCheckBox>(w.get(), "chkFilterText")->click();
    EXPECT_EQ(listed(w.get(), "lstFilter"), strings({"150122_001_01_1.txt", "150122_003_02_1.txt"}));

    // A filter without a match shows an empty list; the SM search finds by the SM part only.
    type(w.get(), "txtSM", "01");
    child<QCheckBox>(w.get(), "chkFilterSM")->click();
    EXPECT_EQ(listed(w.get(), "lstFilter"), QStringList());
    EXPECT_TRUE(prompts.texts().isEmpty());
}

TEST_F(frmSouboryTest, FindsByDateAndSmAndReportsWhatIsNotThere) {
    auto w = open();
    type(w.get(), "txtDatum", "150122");
    click(w.get(), "btnNajdiDatum");
    EXPECT_EQ(current(w.get()), QStringLiteral("150122_001_01_1.txt"));
    click(w.get(), "btnNajdiDalDatum");
    EXPECT_EQ(current(w.get()), QStringLiteral("150122_003_02_1.txt"));
    type(w.get(), "txtSM", "003");
    click(w.get(), "btnNajdiSM");
    EXPECT_EQ(current(w.get()), QStringLiteral("150122_003_02_1.txt"));
    type(w.get(), "txtSM", "009");
    click(w.get(), "btnNajdiSM");
    EXPECT_EQ(prompts.texts(), strings({"Hledaný soubor nebyl nalezen."}));
}

TEST_F(frmSouboryTest, DeletesTheFileWithItsStatementFileAfterTheQuestion) {
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
    prompts.queueAnswer(Prompts::Answer::No);
    click(w.get(), "btnSmaz");
    EXPECT_TRUE(existsData("150121_001_01_1.txt"));

    prompts.queueAnswer(Prompts::Answer::Yes);
    click(w.get(), "btnSmaz");
    EXPECT_EQ(prompts.texts().back(), QStringLiteral("Opravdu chcete smazat soubor '150121_001_01_1.txt' ?"));
    EXPECT_FALSE(existsData("150121_001_01_1.txt"));
    EXPECT_FALSE(existsData("150121_001_01_1.vyc"));
    EXPECT_FALSE(listed(w.get(), "flbSoubor").contains(QStringLiteral("150121_001_01_1.txt")));
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtCesta")->text(), QString::fromStdString(data.string()));
    for (const char* b : kFileButtons)
        EXPECT_FALSE(enabled(w.get(), b)) << b;
    EXPECT_TRUE(enabled(w.get(), "btnZamenSM"));
}

TEST_F(frmSouboryTest, ChangesTheSmOfTheFileAndItsStatementRecords) {
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
    type(w.get(), "txtZmenaSM", "005");
    prompts.queueAnswer(Prompts::Answer::Yes);
    click(w.get(), "btnZamenSM");
    EXPECT_EQ(prompts.texts(), strings({"Opravdu chcete změnit středisko souboru na 005?", "Středisko bylo změněno."}));
    EXPECT_FALSE(existsData("150121_001_01_1.txt"));
    EXPECT_EQ(readData("150121_005_01_1.txt"), QByteArray("11100001\r\n22050002\r\n"));
    EXPECT_EQ(readData("150121_005_01_1.vyc"), QByteArray("10.12.2026;150121;005;1;11100001;100;01\r\n"
                                                          "10.12.2026;150121;005;1;22050002;50;01\r\n"));
    EXPECT_EQ(current(w.get()), QStringLiteral("150121_005_01_1.txt"));

    // From the filter list: the entry leaves the filter list, the file list shows the new name.
    type(w.get(), "txtSM", "003");
    child<QCheckBox>(w.get(), "chkFilterSM")->click();
    choose(w.get(), "lstFilter", QStringLiteral("150122_003_02_1.txt"));
    type(w.get(), "txtZmenaSM", "004");
    prompts.queueAnswer(Prompts::Answer::Yes);
    click(w.get(), "btnZamenSM");
    EXPECT_EQ(listed(w.get(), "lstFilter"), QStringList());
    EXPECT_TRUE(listed(w.get(), "flbSoubor").contains(QStringLiteral("150122_004_02_1.txt")));
    EXPECT_TRUE(existsData("150122_004_02_1.txt"));
}

TEST_F(frmSouboryTest, RefusedChangesOfSmLeaveTheFilesAndSayWhy) {
    auto w = open();
    struct Case {
        const char* file;
        const char* sm;
        const char* reason;
    };
    const Case cases[] = {{"150121_001_01_1.txt", "0_5", "nesmí obsahovat znak „_“"},
                          {"150121_001_01_1.txt", "002", "150121_002_01_1.txt již existuje"},
                          {"150121001_1.txt", "005", "neobsahuje středisko"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sm);
        prompts = ScriptedPrompts();
        choose(w.get(), "flbSoubor", QString::fromLatin1(c.file));
        type(w.get(), "txtZmenaSM", c.sm);
        prompts.queueAnswer(Prompts::Answer::Yes);
        click(w.get(), "btnZamenSM");
        ASSERT_EQ(prompts.records().size(), size_t(2));
        EXPECT_EQ(prompts.records()[1].icon, Prompts::Icon::Critical);
        EXPECT_TRUE(prompts.records()[1].text.startsWith(QStringLiteral("Středisko nelze změnit.\r\n")));
        EXPECT_TRUE(prompts.records()[1].text.contains(QString::fromUtf8(c.reason)))
            << prompts.records()[1].text.toStdString();
    }
    EXPECT_EQ(readData("150121_001_01_1.txt"), QByteArray("11100001\r\n22050002\r\n"));
    EXPECT_TRUE(existsData("150121_001_01_1.vyc"));
    EXPECT_TRUE(existsData("150121001_1.txt"));
    EXPECT_EQ(listed(w.get(), "flbSoubor").size(), 5);
}

TEST_F(frmSouboryTest, PrintsTheFileAndItsSummaryOnTheirOwnPages) {
    state->gSM = QStringLiteral("777");
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
    click(w.get(), "btnTisk");
    ASSERT_EQ(printer.printed().size(), size_t(1));
    EXPECT_EQ(printer.printed()[0].textLines(), strings({"11100001", "22050002"}));
    EXPECT_TRUE(prompts.texts().isEmpty());

    click(w.get(), "btnTiskSouc");
    ASSERT_EQ(printer.printed().size(), size_t(2));
    const QStringList summary = printer.printed()[1].textLines();
    EXPECT_TRUE(summary.contains(QStringLiteral("          50,00       X           1        =           50,00 Kč")));
    EXPECT_TRUE(summary.contains(QStringLiteral("     Celková částka:         150,00 Kč")));
    EXPECT_EQ(prompts.texts(), strings({"Proběhl tisk."}));
    EXPECT_EQ(state->gSM, QStringLiteral("777"));
}

TEST_F(frmSouboryTest, SavesACopyUnderANumberAndAsksBeforeReplacing) {
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
    test::onNextModal([&](QWidget* dialog) {
        auto* name = child<QLineEdit>(dialog, "txtUlozJako");
        QTest::keyClicks(name, QStringLiteral("a"));
        EXPECT_EQ(name->text(), QString());
        EXPECT_FALSE(enabled(dialog, "btnUloz"));
        QTest::keyClicks(name, QStringLiteral("777"));
        EXPECT_TRUE(enabled(dialog, "btnUloz"));
        QTest::keyClicks(name, QStringLiteral("x"));
        EXPECT_EQ(name->text(), QString());
        QTest::keyClicks(name, QStringLiteral("777"));
        click(dialog, "btnUloz");
    });
    click(w.get(), "btnUlozJako");
    EXPECT_EQ(readData("777.txt"), QByteArray("11100001\r\n22050002\r\n"));
    EXPECT_FALSE(existsData("777.vyc"));
    EXPECT_TRUE(listed(w.get(), "flbSoubor").contains(QStringLiteral("777.txt")));
    EXPECT_EQ(current(w.get()), QStringLiteral("150121_001_01_1.txt"));

    // Over an existing file only after Yes.
    choose(w.get(), "flbSoubor", QStringLiteral("150121_002_01_1.txt"));
    for (Prompts::Answer answer : {Prompts::Answer::No, Prompts::Answer::Yes}) {
        prompts.queueAnswer(answer);
        test::onNextModal([&](QWidget* dialog) {
            QTest::keyClicks(child<QLineEdit>(dialog, "txtUlozJako"), QStringLiteral("777"));
            click(dialog, "btnUloz");
        });
        click(w.get(), "btnUlozJako");
        EXPECT_EQ(readData("777.txt"), answer == Prompts::Answer::Yes ? QByteArray("1201234567\r\n")
                                                                      : QByteArray("11100001\r\n22050002\r\n"));
    }
    EXPECT_EQ(prompts.texts().back(), QStringLiteral("Soubor tohoto jména již existuje.\r\nPřepsat jej?"));
}

// The lines the editor shows, and the line being edited (the one editor of a line shown).
static QStringList shownLines(QWidget* editor) {
    auto* view = child<QListView>(editor, "rtbEdit");
    QStringList lines;
    for (int i = 0; i < view->model()->rowCount(); ++i)
        lines.append(view->model()->index(i, 0).data().toString());
    return lines;
}
static QLineEdit* lineEditor(QWidget* editor) {
    for (auto* line : child<QListView>(editor, "rtbEdit")->viewport()->findChildren<QLineEdit*>())
        if (line->isVisible())
            return line;
    return nullptr;
}

TEST_F(frmSouboryTest, EditsTheFileAndWritesItBackAfterTheQuestion) {
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
    bool stayedOpen = false;
    test::onNextModal([&](QWidget* editor) {
        auto* view = child<QListView>(editor, "rtbEdit");
        EXPECT_EQ(shownLines(editor), (QStringList{QStringLiteral("11100001"), QStringLiteral("22050002"), QString()}));
        EXPECT_FALSE(enabled(editor, "btnUloz"));
        // Typing on the last, empty, line writes into it.
        view->setCurrentIndex(view->model()->index(2, 0));
        QTest::keyClick(view, Qt::Key_3);
        ASSERT_NE(lineEditor(editor), nullptr);
        QTest::keyClicks(lineEditor(editor), QStringLiteral("3300003"));
        QTest::keyClick(lineEditor(editor), Qt::Key_Up); // the line is kept on leaving it
        EXPECT_TRUE(enabled(editor, "btnUloz"));
        QTest::keyClick(lineEditor(editor), Qt::Key_Escape); // leaves the line's edit, not the editor
        EXPECT_TRUE(editor->isVisible());
        prompts.queueAnswer(Prompts::Answer::No);
        click(editor, "btnUloz");
        stayedOpen = editor->isVisible();
        prompts.queueAnswer(Prompts::Answer::Yes);
        click(editor, "btnUloz");
    });
    click(w.get(), "btnOtevri");
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(readData("150121_001_01_1.txt"), QByteArray("11100001\r\n22050002\r\n33300003"));
    EXPECT_EQ(prompts.texts().back(), QStringLiteral("Soubor ") + path("150121_001_01_1.txt") +
                                          QStringLiteral(" již existuje.\r\nPřepsat jej ?"));

    // The close button drops the edits without a question.
    const auto asked = prompts.texts().size();
    test::onNextModal([&](QWidget* editor) {
        QTest::keyClick(child<QListView>(editor, "rtbEdit"), Qt::Key_9);
        QTest::keyClick(lineEditor(editor), Qt::Key_Return);
        EXPECT_EQ(shownLines(editor).size(), 4);
        click(editor, "btnVen");
    });
    click(w.get(), "btnOtevri");
    EXPECT_EQ(readData("150121_001_01_1.txt"), QByteArray("11100001\r\n22050002\r\n33300003"));
    EXPECT_EQ(prompts.texts().size(), asked);
}

TEST_F(frmSouboryTest, EscapeAsksBeforeThrowingAwayEdits) {
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
    // Unchanged, Escape closes at once.
    bool closed = false;
    test::onNextModal([&](QWidget* editor) {
        QTest::keyClick(child<QListView>(editor, "rtbEdit"), Qt::Key_Escape);
        closed = !editor->isVisible();
    });
    click(w.get(), "btnOtevri");
    EXPECT_TRUE(closed);
    EXPECT_TRUE(prompts.texts().isEmpty());

    bool stayed = false;
    test::onNextModal([&](QWidget* editor) {
        auto* view = child<QListView>(editor, "rtbEdit");
        QTest::keyClick(view, Qt::Key_Delete); // the first line goes
        EXPECT_EQ(shownLines(editor), (QStringList{QStringLiteral("22050002"), QString()}));
        prompts.queueAnswer(Prompts::Answer::No);
        QTest::keyClick(view, Qt::Key_Escape);
        stayed = editor->isVisible();
        prompts.queueAnswer(Prompts::Answer::Yes);
        QTest::keyClick(view, Qt::Key_Escape);
    });
    click(w.get(), "btnOtevri");
    EXPECT_TRUE(stayed);
    EXPECT_EQ(readData("150121_001_01_1.txt"), QByteArray("11100001\r\n22050002\r\n"));
    ASSERT_EQ(prompts.texts().size(), 2);
    EXPECT_EQ(prompts.texts().back(), QStringLiteral("Změny v souboru ") + path("150121_001_01_1.txt") +
                                          QStringLiteral(" nejsou uloženy.\r\nZavřít editor a změny zahodit?"));
    // A typist's Enter that meets the question keeps the changes; the question before a save keeps Yes.
    EXPECT_EQ(prompts.records().back().defaultButton, Prompts::Answer::No);
    prompts.queueAnswer(Prompts::Answer::No);
    test::onNextModal([&](QWidget* editor) {
        QTest::keyClick(child<QListView>(editor, "rtbEdit"), Qt::Key_Delete);
        click(editor, "btnUloz");
        click(editor, "btnVen");
    });
    click(w.get(), "btnOtevri");
    EXPECT_EQ(prompts.records().back().defaultButton, Prompts::Answer::Yes);
}

// Escape in a line being typed ends the typing and keeps it; the next Escape asks as for any other change.
TEST_F(frmSouboryTest, EscapeInALineBeingTypedKeepsTheTyping) {
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
    bool stayed = false;
    test::onNextModal([&](QWidget* editor) {
        auto* view = child<QListView>(editor, "rtbEdit");
        view->setCurrentIndex(view->model()->index(1, 0));
        QTest::keyClick(view, Qt::Key_7);
        ASSERT_NE(lineEditor(editor), nullptr);
        QTest::keyClick(lineEditor(editor), Qt::Key_Escape);
        EXPECT_EQ(lineEditor(editor), nullptr);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(shownLines(editor),
                  (QStringList{QStringLiteral("11100001"), QStringLiteral("220500027"), QString()}));
        EXPECT_TRUE(prompts.texts().isEmpty());
        prompts.queueAnswer(Prompts::Answer::No);
        QTest::keyClick(view, Qt::Key_Escape);
        stayed = editor->isVisible();
        prompts.queueAnswer(Prompts::Answer::Yes);
        click(editor, "btnUloz");
    });
    click(w.get(), "btnOtevri");
    EXPECT_TRUE(stayed);
    ASSERT_EQ(prompts.texts().size(), 2);
    EXPECT_TRUE(prompts.texts().front().startsWith(QStringLiteral("Změny v souboru ")));
    EXPECT_EQ(readData("150121_001_01_1.txt"), QByteArray("11100001\r\n220500027\r\n"));
}

// A paste of several lines (CR LF, LF or CR between them) makes lines of them: the first joins the text before
// the cursor, the last the text after it. Copy takes every selected line, CR LF between them.
TEST_F(frmSouboryTest, APasteOfSeveralLinesMakesLinesAndCopyTakesTheSelectedLines) {
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
    QString copiedAll;
    QString copiedTwo;
    test::onNextModal([&](QWidget* editor) {
        auto* view = child<QListView>(editor, "rtbEdit");
        view->setCurrentIndex(view->model()->index(0, 0));
        QTest::keyClick(view, Qt::Key_Return);
        ASSERT_NE(lineEditor(editor), nullptr);
        QTest::keyClick(lineEditor(editor), Qt::Key_Home);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(lineEditor(editor), Qt::Key_Right);
        QGuiApplication::clipboard()->setText(QStringLiteral("9\r\n222\n333\r44"));
        QTest::keySequence(lineEditor(editor), QKeySequence::Paste);
        EXPECT_EQ(shownLines(editor), (QStringList{QStringLiteral("1119"), QStringLiteral("222"), QStringLiteral("333"),
                                                   QStringLiteral("4400001"), QStringLiteral("22050002"), QString()}));
        // The edit goes on where the paste ended.
        ASSERT_NE(lineEditor(editor), nullptr);
        QTest::keyClick(lineEditor(editor), Qt::Key_5);
        QTest::keyClick(lineEditor(editor), Qt::Key_Return);
        // A paste on a line not being edited goes to its end.
        view->setCurrentIndex(view->model()->index(6, 0));
        QGuiApplication::clipboard()->setText(QStringLiteral("66\n"));
        QTest::keySequence(view, QKeySequence::Paste);
        QTest::keyClick(lineEditor(editor), Qt::Key_Escape);
        const QStringList lines{
            QStringLiteral("1119"),  QStringLiteral("222"),      QStringLiteral("333"), QStringLiteral("445"),
            QStringLiteral("00001"), QStringLiteral("22050002"), QStringLiteral("66"),  QString()};
        EXPECT_EQ(shownLines(editor), lines);

        QTest::keySequence(view, QKeySequence::SelectAll);
        QTest::keySequence(view, QKeySequence::Copy);
        copiedAll = QGuiApplication::clipboard()->text();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(1, 0)).center());
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keySequence(view, QKeySequence::Copy);
        copiedTwo = QGuiApplication::clipboard()->text();
        prompts.queueAnswer(Prompts::Answer::Yes);
        click(editor, "btnUloz");
    });
    click(w.get(), "btnOtevri");
    const QByteArray saved("1119\r\n222\r\n333\r\n445\r\n00001\r\n22050002\r\n66\r\n");
    EXPECT_EQ(readData("150121_001_01_1.txt"), saved);
    EXPECT_EQ(copiedAll, QString::fromLatin1(saved));
    EXPECT_EQ(copiedTwo, QStringLiteral("222\r\n333"));
}

// Enter splits a line at the cursor, Backspace at a line's start joins it to the line above, Delete at its end
// joins the line below, and the file is written as the lines then stand.
TEST_F(frmSouboryTest, TheEditorEditsLinesAsATextBoxDoes) {
    writeData("150121_001_01_1.txt", "1122\r\n33\r\n44\r\n");
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
    test::onNextModal([&](QWidget* editor) {
        auto* view = child<QListView>(editor, "rtbEdit");
        view->setCurrentIndex(view->model()->index(0, 0));
        QTest::keyClick(view, Qt::Key_Return); // edits the line, the cursor at its end
        ASSERT_NE(lineEditor(editor), nullptr);
        EXPECT_EQ(lineEditor(editor)->cursorPosition(), 4);
        QTest::keyClick(lineEditor(editor), Qt::Key_Left);
        QTest::keyClick(lineEditor(editor), Qt::Key_Left);
        QTest::keyClick(lineEditor(editor), Qt::Key_Return);
        EXPECT_EQ(shownLines(editor), (QStringList{QStringLiteral("11"), QStringLiteral("22"), QStringLiteral("33"),
                                                   QStringLiteral("44"), QString()}));
        QTest::keyClick(lineEditor(editor), Qt::Key_Backspace);
        EXPECT_EQ(shownLines(editor),
                  (QStringList{QStringLiteral("1122"), QStringLiteral("33"), QStringLiteral("44"), QString()}));
        QTest::keyClick(lineEditor(editor), Qt::Key_Down);
        QTest::keyClick(lineEditor(editor), Qt::Key_End);
        QTest::keyClick(lineEditor(editor), Qt::Key_Delete);
        EXPECT_EQ(shownLines(editor), (QStringList{QStringLiteral("1122"), QStringLiteral("3344"), QString()}));
        prompts.queueAnswer(Prompts::Answer::Yes);
        click(editor, "btnUloz");
    });
    click(w.get(), "btnOtevri");
    EXPECT_EQ(readData("150121_001_01_1.txt"), QByteArray("1122\r\n3344\r\n"));
}

// Selects lines `first` to `last` as the operator does: a click on the first, Shift+Down to the last.
static void selectLines(QListView* view, int first, int last) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(first, 0)).center());
    for (int row = first; row < last; ++row)
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
}

// Over several selected lines Cut, Delete and Backspace each remove them all (Cut copies them first); the file is
// changed and the close asks. An undo brings them back as they were read: the close then asks nothing.
TEST_F(frmSouboryTest, SeveralSelectedLinesAreCutOrRemovedAndAnUndoBringsThemBack) {
    writeData("150121_001_01_1.txt", "11\n22\r\nk\xe8\r\n44");
    const QStringList read{QStringLiteral("11"), QStringLiteral("22"), QStringLiteral("kč"), QStringLiteral("44")};
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
    const std::vector<std::pair<const char*, std::function<void(QListView*)>>> removals{
        {"cut", [](QListView* view) { QTest::keySequence(view, QKeySequence::Cut); }},
        {"delete", [](QListView* view) { QTest::keyClick(view, Qt::Key_Delete); }},
        {"backspace", [](QListView* view) { QTest::keyClick(view, Qt::Key_Backspace); }},
    };
    for (const auto& [why, remove] : removals) {
        SCOPED_TRACE(why);
        prompts = ScriptedPrompts();
        QGuiApplication::clipboard()->setText(QStringLiteral("schránka"));
        bool closed = false;
        test::onNextModal([&](QWidget* editor) {
            auto* view = child<QListView>(editor, "rtbEdit");
            selectLines(view, 1, 2);
            remove(view);
            EXPECT_EQ(lineEditor(editor), nullptr);
            EXPECT_EQ(shownLines(editor), (QStringList{QStringLiteral("11"), QStringLiteral("44")}));
            EXPECT_TRUE(enabled(editor, "btnUloz"));
            prompts.queueAnswer(Prompts::Answer::No);
            QTest::keyClick(view, Qt::Key_Escape);
            ASSERT_TRUE(editor->isVisible());

            QTest::keySequence(view, QKeySequence::Undo);
            EXPECT_EQ(shownLines(editor), read);
            QStringList selected;
            for (const QModelIndex& i : view->selectionModel()->selectedIndexes())
                selected.append(i.data().toString());
            EXPECT_EQ(selected, (QStringList{QStringLiteral("22"), QStringLiteral("kč")}));
            EXPECT_TRUE(enabled(editor, "btnUloz"));
            QTest::keyClick(view, Qt::Key_Escape);
            closed = !editor->isVisible();
            if (!closed)
                click(editor, "btnVen");
        });
        click(w.get(), "btnOtevri");
        EXPECT_TRUE(closed);
        EXPECT_EQ(prompts.texts().size(), 1);
        EXPECT_EQ(QGuiApplication::clipboard()->text(),
                  std::string_view(why) == "cut" ? QStringLiteral("22\r\nkč") : QStringLiteral("schránka"));
    }
    EXPECT_EQ(readData("150121_001_01_1.txt"), QByteArray("11\n22\r\nk\xe8\r\n44"));
}

// A key typed or a paste over several lines replaces them by a line that starts with it; over every line it leaves
// that line alone. Undo takes the changes back one by one: the typing, then the lines replaced.
TEST_F(frmSouboryTest, AKeyTypedOverSeveralLinesReplacesThemAndUndoTakesBackOneChangeAtATime) {
    writeData("150121_001_01_1.txt", "11\r\n22\r\n33\r\n");
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
    bool closed = false;
    test::onNextModal([&](QWidget* editor) {
        auto* view = child<QListView>(editor, "rtbEdit");
        selectLines(view, 1, 2);
        QTest::keyClick(view, Qt::Key_5);
        ASSERT_NE(lineEditor(editor), nullptr);
        QTest::keyClick(lineEditor(editor), Qt::Key_6);
        QTest::keyClick(lineEditor(editor), Qt::Key_Escape);
        const QStringList replaced{QStringLiteral("11"), QStringLiteral("56"), QString()};
        EXPECT_EQ(shownLines(editor), replaced);

        QTest::keySequence(view, QKeySequence::SelectAll);
        QTest::keyClick(view, Qt::Key_7);
        ASSERT_NE(lineEditor(editor), nullptr);
        QTest::keyClick(lineEditor(editor), Qt::Key_Escape);
        EXPECT_EQ(shownLines(editor), QStringList{QStringLiteral("7")});

        const std::vector<QStringList> undone{
            {QString()},
            replaced,
            {QStringLiteral("11"), QString(), QString()},
            {QStringLiteral("11"), QStringLiteral("22"), QStringLiteral("33"), QString()},
        };
        for (const QStringList& lines : undone) {
            QTest::keySequence(view, QKeySequence::Undo);
            EXPECT_EQ(shownLines(editor), lines);
        }
        QTest::keyClick(view, Qt::Key_Escape);
        closed = !editor->isVisible();
        if (!closed)
            click(editor, "btnVen");
    });
    click(w.get(), "btnOtevri");
    EXPECT_TRUE(closed);
    EXPECT_TRUE(prompts.texts().isEmpty());

    // A paste replaces them too; saved, the lines stand as pasted.
    test::onNextModal([&](QWidget* editor) {
        auto* view = child<QListView>(editor, "rtbEdit");
        selectLines(view, 0, 1);
        QGuiApplication::clipboard()->setText(QStringLiteral("8\n9"));
        QTest::keySequence(view, QKeySequence::Paste);
        EXPECT_EQ(shownLines(editor),
                  (QStringList{QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("33"), QString()}));
        prompts.queueAnswer(Prompts::Answer::Yes);
        click(editor, "btnUloz");
    });
    click(w.get(), "btnOtevri");
    EXPECT_EQ(readData("150121_001_01_1.txt"), QByteArray("8\r\n9\r\n33\r\n"));
}

// Ctrl+Z takes back a line typed, a split, a join and a paste, also from within the line being edited once its
// own typing is taken back: the file is as read and the close asks nothing.
TEST_F(frmSouboryTest, UndoTakesBackTypingSplitsJoinsAndPastes) {
    const QByteArray read("11\n22\r\n33");
    const QStringList readLines{QStringLiteral("11"), QStringLiteral("22"), QStringLiteral("33")};
    writeData("150121_001_01_1.txt", read);
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
    const auto editLine = [](QListView* view, int row) {
        view->setCurrentIndex(view->model()->index(row, 0));
        QTest::keyClick(view, Qt::Key_Return);
    };
    struct Case {
        const char* why;
        std::function<void(QWidget*, QListView*)> change;
        QStringList changed;
    };
    const std::vector<Case> cases{
        {"a line typed",
         [](QWidget* editor, QListView* view) {
             QTest::keyClick(view, Qt::Key_9);
             QTest::keyClick(lineEditor(editor), Qt::Key_Escape);
         },
         {QStringLiteral("119"), QStringLiteral("22"), QStringLiteral("33")}},
        {"a split",
         [&](QWidget* editor, QListView* view) {
             editLine(view, 1);
             QTest::keyClick(lineEditor(editor), Qt::Key_Left);
             QTest::keyClick(lineEditor(editor), Qt::Key_Return);
         },
         {QStringLiteral("11"), QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("33")}},
        {"a join",
         [&](QWidget* editor, QListView* view) {
             editLine(view, 2);
             QTest::keyClick(lineEditor(editor), Qt::Key_Home);
             QTest::keyClick(lineEditor(editor), Qt::Key_Backspace);
         },
         {QStringLiteral("11"), QStringLiteral("2233")}},
        {"a paste",
         [&](QWidget* editor, QListView* view) {
             editLine(view, 0);
             QGuiApplication::clipboard()->setText(QStringLiteral("a\r\nb"));
             QTest::keySequence(lineEditor(editor), QKeySequence::Paste);
         },
         {QStringLiteral("11a"), QStringLiteral("b"), QStringLiteral("22"), QStringLiteral("33")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        bool closed = false;
        test::onNextModal([&](QWidget* editor) {
            auto* view = child<QListView>(editor, "rtbEdit");
            view->setCurrentIndex(view->model()->index(0, 0));
            c.change(editor, view);
            EXPECT_EQ(shownLines(editor), c.changed);
            // Ctrl+Z where the operator is: in the line being edited, or on the lines.
            QTest::keySequence(lineEditor(editor) != nullptr ? static_cast<QWidget*>(lineEditor(editor)) : view,
                               QKeySequence::Undo);
            EXPECT_EQ(shownLines(editor), readLines);
            QTest::keyClick(view, Qt::Key_Escape);
            closed = !editor->isVisible();
            if (!closed)
                click(editor, "btnVen");
        });
        click(w.get(), "btnOtevri");
        EXPECT_TRUE(closed);
    }
    EXPECT_TRUE(prompts.texts().isEmpty());
    EXPECT_EQ(readData("150121_001_01_1.txt"), read);
}

// Saved without an edit, the file keeps every byte, whatever its line ends and encoding.
TEST_F(frmSouboryTest, ASaveWithoutEditsWritesTheFileBack) {
    const QByteArray odd("\xFE\xFF\x00\x41\x00\x0A\x42", 7);
    for (const QByteArray& bytes : {QByteArray("11\n22\r\n\xE8\xE8"), odd}) {
        writeData("150121_001_01_1.txt", bytes);
        auto w = open();
        choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
        test::onNextModal([&](QWidget* editor) {
            // A key typed and taken back: the line is as it was.
            QTest::keyClick(child<QListView>(editor, "rtbEdit"), Qt::Key_5);
            ASSERT_NE(lineEditor(editor), nullptr);
            QTest::keyClick(lineEditor(editor), Qt::Key_Backspace);
            EXPECT_TRUE(enabled(editor, "btnUloz"));
            writeData("150121_001_01_1.txt", "jiny obsah");
            prompts.queueAnswer(Prompts::Answer::Yes);
            click(editor, "btnUloz");
        });
        click(w.get(), "btnOtevri");
        EXPECT_EQ(readData("150121_001_01_1.txt").toHex(' '), bytes.toHex(' '));
    }
}

TEST_F(frmSouboryTest, AFolderThatCannotBeReadClosesOnlyTheBrowser) {
    write(home / "TRV7300.ini", "[Data]\r\nDirX=data\r\n");
    frmSoubory w(frmSoubory::Services{*state, prompts, clock, printer, reader, {}});
    EXPECT_FALSE(w.Form_Load());
    ASSERT_EQ(prompts.records().size(), size_t(1));
    EXPECT_EQ(prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.records()[0].text.endsWith(QStringLiteral("Neexistující sekce nebo klíč.")))
        << prompts.records()[0].text.toStdString();
}

TEST_F(frmSouboryTest, ALongDataFolderPathIsReadWhole) {
    const auto deep = home / std::string(60, 'd') / "data";
    std::filesystem::create_directories(deep);
    write(deep / "150121_009_01_1.txt", "1\r\n");
    write(home / "TRV7300.ini", QByteArray("[Data]\r\nDir=") + QByteArray::fromStdString(deep.string()) + "\r\n");
    auto w = open();
    EXPECT_EQ(w->dataFolder(), deep);
    EXPECT_EQ(listed(w.get(), "flbSoubor"), strings({"150121_009_01_1.txt"}));
}

TEST_F(frmSouboryTest, AFileGoneSinceItWasListedIsReportedByThePrintAndTheEditor) {
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150122_003_02_1.txt"));
    std::filesystem::remove(data / "150122_003_02_1.txt");
    click(w.get(), "btnTisk");
    click(w.get(), "btnOtevri"); // no editor opens for a file that cannot be read
    ASSERT_EQ(prompts.records().size(), size_t(2));
    // An error without a number of its own says no "Num: 0".
    EXPECT_TRUE(prompts.records()[0].text.startsWith(QStringLiteral("Chyba při načítání souboru k tisku.\r\npopis: ")))
        << prompts.records()[0].text.toStdString();
    EXPECT_TRUE(prompts.records()[0].text.contains(QStringLiteral("150122_003_02_1.txt")));
    EXPECT_TRUE(prompts.records()[1].text.startsWith(QStringLiteral("Chyba při otevírání souboru.\r\npopis: ")));
    for (const auto& r : prompts.records())
        EXPECT_EQ(r.icon, Prompts::Icon::Critical);
    EXPECT_TRUE(printer.printed().empty());
    // The list is read again after the editor: the file is gone from it.
    EXPECT_FALSE(listed(w.get(), "flbSoubor").contains(QStringLiteral("150122_003_02_1.txt")));
}

// The operator cancels the load of a large file as soon as the progress window offers it: the reading stops, no
// editor opens, and the one message is the cancel's own.
TEST_F(frmSouboryTest, ACancelledLoadOpensNoEditorAndSaysOnlyThatItWasCancelled) {
    QByteArray big;
    for (int i = 0; i < 1'500'000; ++i)
        big.append("1234567890\r\n");
    writeData("150121_001_01_1.txt", big);
    auto w = open();
    choose(w.get(), "flbSoubor", QStringLiteral("150121_001_01_1.txt"));
    struct CancelWhenOffered final : QObject {
        int clicks = 0;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Show && watched->objectName() == QStringLiteral("cmdPrerusit")) {
                ++clicks;
                static_cast<QPushButton*>(watched)->click();
            }
            return false;
        }
    } operator_;
    qApp->installEventFilter(&operator_);
    click(w.get(), "btnOtevri");
    qApp->removeEventFilter(&operator_);
    EXPECT_EQ(operator_.clicks, 1);
    ASSERT_EQ(prompts.records().size(), size_t(1));
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral("Načítání bylo přerušeno obsluhou."));
    EXPECT_EQ(readData("150121_001_01_1.txt"), big);
}

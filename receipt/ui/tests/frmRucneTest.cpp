#include "receipt/ui/frmRucne.h"

#include "core/Booking.h"
#include "core/ValueTable.h"
#include "receipt/tests/ReceiptFixture.h"
#include "receipt/ui/tests/TypeKeys.h"
#include "testsupport/GuiTestHelpers.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace trv;
using test::child;
using test::typeKeys;

namespace {

// A code of the first type: eleven digits and their check digit (weights 3 and 1, modulo 10).
QString alfa(const char* first11) {
    const QString digits = QString::fromLatin1(first11);
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i)
        sum += (i % 2 == 0 ? 3 : 1) * digits.at(i).digitValue();
    return digits + QString::number((10 - sum % 10) % 10);
}

QString wrongCheckDigit(const char* first11) {
    const QString code = alfa(first11);
    return code.left(11) + QString::number((code.back().digitValue() + 1) % 10);
}

class frmRucneTest : public test::ReceiptFixture {
protected:
    void SetUp() override {
        ReceiptFixture::SetUp();
        writeLanguageFile(QStringLiteral("[frmHlavni]\nChybnaDelka=\"Chybná délka kódu: \"\n"
                                         "[frmRucne]\nCaption=Ruční zadání\nlblTyp=Typ stravenky :\nLabel1=Kód :\n"
                                         "cmdDalsi=Další\ncmdKonec=Konec\nChyba=Chyba\nNeodpovidaTyp=Jiný typ\n"
                                         "ChybnaDelka=Chybná délka\nStravObsNepovZnaky=Nepovolené znaky\n"
                                         "ChybaInterleave=Chybná kontrolní číslice\nPlatnostVyprsela=Vypršelo\n"
                                         "NepovRozsah=Rozsah\nNepovDarkove=Dárkové nepovoleny\n"));
        // Alfa: 12 digits with a check digit, valued by its first two digits, gift number at digits 3-4.
        addType(QStringLiteral("Alfa stravenky"), 12, 0, [](CStrav& t) {
            t.pozInterleave1 = 12;
            t.TabulkaHodnot = QStringLiteral("alfa.txt");
            t.TabulkaHodnotDict = std::make_shared<ValueTable>();
            t.TabulkaHodnotDict->add(QStringLiteral("10"), QStringLiteral("100"));
            t.PozCastka = 1;
            t.DelkaCastka = 2;
            t.pozRCDarkove = 3;
            t.delkaRCDarkove = 2;
            t.RCDarkove = QStringLiteral("88");
            t.RCBlokovaneDarkove = QStringLiteral("77");
        });
        // Beta: 10 or 14 digits, the year of issue in its first two.
        addType(QStringLiteral("Beta šeky"), 10, 14, [](CStrav& t) {
            t.PozRok = 1;
            t.delkaRok = 2;
        });
        // Gama: 24 digits, longer than the 22 of a cheque.
        addType(QStringLiteral("Gama"), 24, 0);
        state.gKontrolovat = true;
        state.gPovolitRok = {2015, 2004, 2004, 2004, 2004};
        state.gPovolitDo[0] = QDate(2099, 12, 31);
    }

    std::unique_ptr<frmRucne> open() {
        auto window = std::make_unique<frmRucne>(state, prompts, host);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }

    void clearReceipt() {
        Booking(state, *state.gColStrav, prompts, host.reader()).VymazBuf();
        host.setReceiptText(QString());
        host.nullReader().clear();
    }
};

} // namespace

TEST_F(frmRucneTest, OpensOnTheTypeChosenOnTheMainWindowWithItsTexts) {
    host.setChosenTypeIndex(1);
    const auto w = open();
    auto* types = child<QComboBox>(w.get(), "cmbTypStr");
    EXPECT_FALSE(types->isEditable());
    ASSERT_EQ(types->count(), 3);
    EXPECT_EQ(types->itemText(0), QStringLiteral("Alfa stravenky"));
    EXPECT_EQ(types->itemData(1).toInt(), 10);
    EXPECT_EQ(types->currentIndex(), 1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Ruční zadání"));
    EXPECT_EQ(child<QLabel>(w.get(), "lblTyp")->text(), QStringLiteral("Typ stravenky :"));
    EXPECT_EQ(child<QLabel>(w.get(), "Label1")->text(), QStringLiteral("Kód :"));
    EXPECT_EQ(child<QPushButton>(w.get(), "cmdDalsi")->text(), QStringLiteral("Další"));
    EXPECT_EQ(child<QPushButton>(w.get(), "cmdKonec")->text(), QStringLiteral("Konec"));
    EXPECT_TRUE(child<QLineEdit>(w.get(), "txtKod")->text().isEmpty());

    host.setChosenTypeIndex(5); // more buttons on the main window than types here
    frmRucne other(state, prompts, host);
    EXPECT_EQ(child<QComboBox>(&other, "cmbTypStr")->currentIndex(), 0);
}

TEST_F(frmRucneTest, TypedCodesAreCheckedBookedAndShown) {
    const QString valid = alfa("10000000001");
    // clang-format off
    const struct {
        const char* name;
        int type;        // entry of cmbTypStr
        QString keys;    // "\n" is Enter
        bool pressDalsi; // the code is then submitted with the button
        std::function<void()> setup;
        QStringList booked;
        QStringList messages;
        QString box; // what stays in the code box
    } cases[] = {
        {"a code of the type's length submits itself", 0, valid, false, {}, {valid + QStringLiteral("/2")}, {}, {}},
        {"a repeated code is booked again", 0, valid + valid, false, {},
         {valid + QStringLiteral("/2"), valid + QStringLiteral("/2")}, {}, {}},
        {"Enter at a wrong length says so and keeps the code", 0, QStringLiteral("1000000000\n"), false, {}, {},
         {QStringLiteral("Chybná délka kódu: 1000000000")}, QStringLiteral("1000000000")},
        {"Enter in an empty box says nothing", 0, QStringLiteral("\n"), false, {}, {}, {}, {}},
        {"Enter at the first length neither submits nor empties", 1, QStringLiteral("1500000000\n"), false, {}, {},
         {}, QStringLiteral("1500000000")},
        {"only digits reach the box", 0, QStringLiteral("1a2B-3č 4"), false, {}, {}, {}, QStringLiteral("1234")},
        {"the first of two lengths is submitted with the button", 1, QStringLiteral("1500000000"), true, {},
         {QStringLiteral("1500000000/2")}, {}, {}},
        {"the second length submits itself", 1, QStringLiteral("15000000000000"), false, {},
         {QStringLiteral("15000000000000/2")}, {}, {}},
        {"a code of another type's length", 0, QStringLiteral("1500000000"), true, {}, {},
         {QStringLiteral("Jiný typ")}, {}},
        {"22 characters skip the type check", 2, QStringLiteral("1234567890123456789012"), true, {}, {},
         {QStringLiteral("Chybná délka")}, {}},
        {"22 characters are checked against the type in EUR mode", 2, QStringLiteral("1234567890123456789012"), true,
         [this] { state.sw.gFEuro = true; }, {}, {QStringLiteral("Jiný typ")}, {}},
        {"with the company check a code of another company's layout", 1, valid, true,
         [this] { state.sw.gFKontrolaSpolecnosti = true; }, {}, {QStringLiteral("Jiný typ")}, {}},
        {"with the company check a code of no company is left to the length check", 0, QStringLiteral("1234567"),
         true, [this] { state.sw.gFKontrolaSpolecnosti = true; }, {}, {QStringLiteral("Chybná délka")}, {}},
        {"with the company check a code of the chosen company is booked", 0, valid, false,
         [this] { state.sw.gFKontrolaSpolecnosti = true; }, {valid + QStringLiteral("/2")}, {}, {}},
        {"wrong check digit", 0, wrongCheckDigit("10000000001"), false, {}, {},
         {QStringLiteral("Chybná kontrolní číslice")}, {}},
        {"expired issue", 1, QStringLiteral("1400000000"), true, {}, {}, {QStringLiteral("Vypršelo")}, {}},
        {"gift vouchers not taken", 0, alfa("10880000001"), false, [this] { state.sw.gFDarkove = true; }, {},
         {QStringLiteral("Dárkové nepovoleny")}, {}},
        {"a blocked gift voucher is reported once, by its check", 0, alfa("10770000001"), false,
         [this] { state.sw.gFDarkove = true; state.gPovDarkove = true; },
         {}, {QStringLiteral("Tento dárkový šek je blokován!")}, alfa("10770000001")},
        {"a code the booking refuses is not shown", 0, alfa("30000000001"), false, {}, {},
         {QStringLiteral("Nebyla definována hodnota v tabulce hodnot pro Alfa stravenky hodnota 30")}, {}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearReceipt();
        state.sw.gFDarkove = false;
        state.gPovDarkove = false;
        state.sw.gFEuro = false;
        state.sw.gFKontrolaSpolecnosti = false;
        if (c.setup)
            c.setup();
        const size_t shownBefore = prompts.records().size();
        const auto w = open();
        child<QComboBox>(w.get(), "cmbTypStr")->setCurrentIndex(c.type);
        auto* txtKod = child<QLineEdit>(w.get(), "txtKod");
        child<QPushButton>(w.get(), "cmdKonec")->setFocus();
        typeKeys(txtKod, c.keys);
        if (c.pressDalsi)
            child<QPushButton>(w.get(), "cmdDalsi")->click();

        EXPECT_EQ(booked(), c.booked);
        QString shown;
        for (const QString& code : c.booked)
            shown += code.section(u'/', 0, 0) + QStringLiteral("\r\n");
        EXPECT_EQ(host.text(), shown);
        QStringList messages;
        for (size_t i = shownBefore; i < prompts.records().size(); ++i) {
            const auto& record = prompts.records()[i];
            messages.append(record.text);
            EXPECT_EQ(record.icon, Prompts::Icon::Critical);
            if (record.text.startsWith(QStringLiteral("Tento")) || record.text.startsWith(QStringLiteral("Nebyla")))
                continue; // reported by the check or the booking under their own title
            EXPECT_EQ(record.title, QStringLiteral("Chyba"));
        }
        EXPECT_EQ(messages, c.messages);
        EXPECT_EQ(txtKod->text(), c.box);
        // After a submitted code the box is ready for the next one.
        const bool submitted = !c.booked.isEmpty() || (!c.messages.isEmpty() && c.box.isEmpty());
        if (submitted) {
            EXPECT_TRUE(txtKod->hasFocus());
        }
    }
}

TEST_F(frmRucneTest, ACodeOfTheWrongLengthStaysSelectedForCorrection) {
    const auto w = open();
    auto* txtKod = child<QLineEdit>(w.get(), "txtKod");
    typeKeys(txtKod, QStringLiteral("12345\n"));
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("Chybná délka kódu: 12345"));
    EXPECT_TRUE(txtKod->hasFocus());
    EXPECT_EQ(txtKod->selectedText(), QStringLiteral("12345"));
    // Typing goes over the selected code; a right one is then booked as usual.
    const QString valid = alfa("10000000001");
    typeKeys(txtKod, valid);
    EXPECT_EQ(booked(), QStringList{valid + QStringLiteral("/2")});
    EXPECT_TRUE(txtKod->text().isEmpty());
}

TEST_F(frmRucneTest, ABlockedGiftVoucherSilencesOnlyItsOwnSecondMessage) {
    state.sw.gFDarkove = true;
    state.gPovDarkove = true;
    const auto w = open();
    auto* txtKod = child<QLineEdit>(w.get(), "txtKod");
    typeKeys(txtKod, alfa("10770000001"));
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Tento dárkový šek je blokován!")});
    EXPECT_EQ(host.nullReader().stops(), 1);

    // Gift vouchers are no longer taken: the next gift voucher is refused with the window's own message.
    state.gPovDarkove = false;
    txtKod->clear();
    typeKeys(txtKod, alfa("10880000001"));
    EXPECT_EQ(prompts.texts(),
              (QStringList{QStringLiteral("Tento dárkový šek je blokován!"), QStringLiteral("Dárkové nepovoleny")}));
    EXPECT_TRUE(booked().isEmpty());
    EXPECT_TRUE(host.text().isEmpty());
}

TEST_F(frmRucneTest, InPackageWeekModeTheCodeAlsoJoinsTheMonthsPackage) {
    state.sw.gFBalikyTyden = true;
    state.gColStravBalik = std::make_shared<CColStrav>(state, prompts, clock);
    auto packageType = std::make_shared<CStrav>(*state.gColStrav->Item(1));
    packageType->Polozky = std::make_shared<CColPolozky>();
    packageType->varningSumVycetkaPohyb = Currency::fromInt(1000);
    packageType->MaxVycetkaSum = Currency::fromInt(2000);
    ASSERT_TRUE(state.gColStravBalik->Add(packageType).ok());

    const auto w = open();
    const QString code = alfa("10000000001");
    typeKeys(child<QLineEdit>(w.get(), "txtKod"), code);

    EXPECT_EQ(booked(), QStringList{code + QStringLiteral("/2")});
    ASSERT_EQ(packageType->Polozky->count(), 1);
    EXPECT_EQ(packageType->Polozky->Item(1)->TypNacteni, 1);
    EXPECT_EQ(packageType->sumaStravenek, Currency::fromInt(100));
    EXPECT_EQ(host.packageSums(), state.gColStravBalik->GetStrSum());
    EXPECT_FALSE(host.packageSums().isEmpty());
    EXPECT_TRUE(prompts.records().empty());
}

// The first digits typed go to the code box, not to the type list.
TEST_F(frmRucneTest, OpensWithTheFocusOnTheCodeBox) {
    const auto w = open();
    auto* code = child<QLineEdit>(w.get(), "txtKod");
    EXPECT_EQ(QApplication::focusWidget(), code);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1234"));
    EXPECT_EQ(code->text(), QStringLiteral("1234"));
    EXPECT_EQ(child<QComboBox>(w.get(), "cmbTypStr")->currentIndex(), 0);
}

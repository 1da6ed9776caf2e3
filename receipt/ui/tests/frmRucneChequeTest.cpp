#include "receipt/ui/frmRucneCheque.h"

#include "receipt/tests/ReceiptFixture.h"
#include "receipt/ui/tests/TypeKeys.h"
#include "testsupport/GuiTestHelpers.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <array>

using namespace trv;
using test::child;
using test::typeKeys;

namespace {

// A cheque of 21 digits and the interleave check digit (weights 3 and 1, modulo 10) in position 22.
QString withCheckDigit(const QString& first21) {
    int sum = 0;
    for (qsizetype i = 0; i < first21.size(); ++i)
        sum += (i % 2 == 0 ? 3 : 1) * first21.at(i).digitValue();
    return first21 + QString::number((10 - sum % 10) % 10);
}

class frmRucneChequeTest : public test::ReceiptFixture {
protected:
    void SetUp() override {
        ReceiptFixture::SetUp();
        writeLanguageFile(QStringLiteral("[frmRucneCheque]\nChyba=Chyba šeku\nChybnyKod=Chybný kód\n"
                                         "ChybaInterleave=Chybná číslice\nChybneZadani=Chybné zadání\n"
                                         "CisloMusiMit9Cislic=Číslo má 9 číslic\n[frmRucne]\nChyba=Chyba ručně\n"));
        // Cheques: 22 digits, valued by their value field, the check digit in position 22 for scanned codes.
        addType(QStringLiteral("Šeky"), 22, 0, [](CStrav& t) {
            t.PozCastka = 13;
            t.DelkaCastka = 5;
            t.KoefCastka = 1;
            t.pozInterleave1 = 22;
        });
    }

    std::unique_ptr<frmRucneCheque> open() {
        auto window = std::make_unique<frmRucneCheque>(state, prompts, host);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }

    void keyboardMode(QWidget* w) {
        child<QRadioButton>(w, "opt2")->click();
        EXPECT_TRUE(child<QGroupBox>(w, "fr2")->isEnabled());
        EXPECT_FALSE(child<QGroupBox>(w, "fr1")->isEnabled());
    }
};

} // namespace

TEST(ChequeKeysTest, KeysAreModulo97WithALeadingZero) {
    struct Case {
        std::array<const char*, 6> fields; // number, value, maker, year, type, key 1
        const char* code;
    };
    const std::vector<Case> cases{
        // 123456789 mod 97 = 39; ((5 + 1 + 2) × 100 + 500) mod 97 = 1300 mod 97 = 39.
        {{{"123456789", "00500", "1", "5", "2", ""}}, "0123456789390050015392"},
        // A key 1 typed is used as typed; key 2 is always worked out: (0 × 100 + 1) mod 97 = 01.
        {{{"123456789", "00001", "0", "0", "0", "07"}}, "0123456789070000100010"},
        // 97 divides the number: key 00; (27 × 100 + 99999) mod 97 = 102699 mod 97 = 73.
        {{{"000000097", "99999", "9", "9", "9", ""}}, "0000000097009999999739"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const auto f = [&](size_t i) { return QString::fromLatin1(c.fields[i]); };
        EXPECT_EQ(ChequeEntry::slozKod({f(0), f(1), f(2), f(3), f(4), f(5)}), QString::fromLatin1(c.code));
    }
    EXPECT_EQ(ChequeEntry::klic(5), QStringLiteral("05"));
    EXPECT_EQ(ChequeEntry::doplnHodnotu(QString()), QStringLiteral("00000"));
    EXPECT_EQ(ChequeEntry::doplnHodnotu(QStringLiteral("500")), QStringLiteral("00500"));
}

TEST_F(frmRucneChequeTest, AKeyboardChequeIsComposedBookedAndAddedToTheBox) {
    auto w = open();
    keyboardMode(w.get());
    auto* cislo = child<QLineEdit>(w.get(), "txtCislo");
    // Letters are dropped; Enter moves to the next field, where the value is padded on leaving it.
    typeKeys(cislo, QStringLiteral("12x345a6789\n"));
    EXPECT_EQ(cislo->text(), QStringLiteral("123456789"));
    typeKeys(QApplication::focusWidget(), QStringLiteral("500\n"));
    EXPECT_EQ(child<QLineEdit>(w.get(), "txtHodnota")->text(), QStringLiteral("00500"));
    for (const char* field : {"1\n", "5\n", "2\n"})
        typeKeys(QApplication::focusWidget(), QString::fromLatin1(field));
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(w.get(), "txtKontr"));
    child<QPushButton>(w.get(), "cmdDalsi")->click();

    EXPECT_EQ(booked(), QStringList{QStringLiteral("0123456789390050015392/2")});
    EXPECT_EQ(host.text(), QStringLiteral("0123456789390050015392\r\n"));
    EXPECT_TRUE(cislo->text().isEmpty());
    EXPECT_TRUE(prompts.records().empty());

    // A composed code is checked for its length only: wrong keys typed by hand are booked as typed.
    cislo->setText(QStringLiteral("12345678"));
    child<QPushButton>(w.get(), "cmdDalsi")->click();
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("Chybné zadání"));
    EXPECT_EQ(prompts.records().back().title, QStringLiteral("Chyba šeku"));
    EXPECT_EQ(booked().size(), 1);
}

TEST_F(frmRucneChequeTest, LeavingANumberOfEightDigitsKeepsTheFocusThere) {
    auto w = open();
    keyboardMode(w.get());
    auto* cislo = child<QLineEdit>(w.get(), "txtCislo");
    typeKeys(cislo, QStringLiteral("12345678"));
    QTest::keyClick(cislo, Qt::Key_Tab);
    ASSERT_FALSE(prompts.records().empty());
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("Číslo má 9 číslic"));
    EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Critical);
    EXPECT_TRUE(test::waitUntil([&] { return QApplication::focusWidget() == cislo; }));
}

TEST_F(frmRucneChequeTest, AScannedChequeIsCheckedAtItsTwentySecondDigit) {
    auto w = open();
    auto* kod = child<QLineEdit>(w.get(), "txtKod");
    const QString good = withCheckDigit(QStringLiteral("012345678939005001539"));
    typeKeys(kod, good.left(21));
    EXPECT_TRUE(booked().isEmpty());
    typeKeys(kod, good.right(1));
    EXPECT_EQ(booked(), QStringList{good + QStringLiteral("/2")});
    EXPECT_TRUE(kod->text().isEmpty());

    // A wrong check digit empties the box, under the manual entry's title.
    QString bad = good;
    bad[21] = QChar(u'0' + (good.back().digitValue() + 1) % 10);
    typeKeys(kod, bad);
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("Chybná číslice"));
    EXPECT_EQ(prompts.records().back().title, QStringLiteral("Chyba ručně"));
    EXPECT_TRUE(kod->text().isEmpty());

    // A length no type has, submitted with the button, is selected for typing over.
    typeKeys(kod, QStringLiteral("1234"));
    child<QPushButton>(w.get(), "cmdDalsi")->click();
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("Chybný kód"));
    EXPECT_EQ(kod->selectedText(), QStringLiteral("1234"));
    EXPECT_EQ(booked().size(), 1);
    EXPECT_EQ(host.text(), good + QStringLiteral("\r\n"));
}

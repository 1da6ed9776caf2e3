#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "settings/AboutInfo.h"
#include "settings/CodeMasks.h"
#include "settings/ServisPassword.h"
#include "settings/ServisSettings.h"
#include "settings/VoucherTypeEditor.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

using namespace trv;

TEST(ServisPasswordTest, OnlyTheExactTextOpens) {
    EXPECT_TRUE(overServisHeslo(QStringLiteral("vraskel")));
    for (const char* wrong : {"", "Vraskel", "vraskel ", " vraskel", "vraske", "vraskell", "vráskel"}) {
        SCOPED_TRACE(wrong);
        EXPECT_FALSE(overServisHeslo(QString::fromUtf8(wrong)));
    }
}

TEST(CodeMasksTest, MaskNamesStayInsideTheMaskFolder) {
    for (const char* good : {"obed", "Oběd 2", "maska.msk", "a-b_c"}) {
        SCOPED_TRACE(good);
        EXPECT_TRUE(CodeMasks::chybaNazvu(QString::fromUtf8(good)).isEmpty());
    }
    for (const char* bad :
         {"", "..", "../x", "a/b", "a\\b", "c:x", "a*", "a?", "a\"b", "a<b", "a>b", "a|b", "x.", "x "}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(CodeMasks::chybaNazvu(QString::fromUtf8(bad)).isEmpty());
    }
    EXPECT_EQ(CodeMasks::nazevMasky(QStringLiteral("obed.msk")), QStringLiteral("obed"));
}

TEST(VoucherTypeEditorTest, BoxesAreCheckedBeforeAnyFieldChanges) {
    CStrav t;
    t.Nazev = QStringLiteral("Alfa");
    t.Delka = 13;
    t.Provize = 19;
    StravPolozky p = VoucherTypeEditor::polozky(t);
    EXPECT_EQ(p.provize, QStringLiteral(" 19"));
    EXPECT_EQ(p.delka, QStringLiteral("13"));

    struct Case {
        const char* what;
        QString StravPolozky::*box;
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"empty length", &StravPolozky::delka, "", false},
        {"letters", &StravPolozky::koef, "x", false},
        {"past 32 bits", &StravPolozky::pozRok, "3000000000", false},
        {"fraction rounds to even", &StravPolozky::delka2, "2.5", true},
        {"commission with comma", &StravPolozky::provize, "2,5", true},
        {"VAT with point", &StravPolozky::dph, "21.5", true},
        {"VAT empty", &StravPolozky::dph, "", false},
        {"blank name", &StravPolozky::nazev, "  ", false},
        {"line break in a path", &StravPolozky::cesta, "a\nb", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CStrav target = t;
        StravPolozky q = p;
        q.*(c.box) = QString::fromUtf8(c.text);
        const Status st = VoucherTypeEditor::uloz(q, target);
        EXPECT_EQ(st.ok(), c.ok) << st.message().toStdString();
        if (!c.ok) {
            EXPECT_EQ(target.Nazev, QStringLiteral("Alfa"));
        }
    }
    CStrav target;
    p.delka2 = QStringLiteral("2.5");
    p.provize = QStringLiteral("2,5");
    ASSERT_TRUE(VoucherTypeEditor::uloz(p, target).ok());
    EXPECT_EQ(target.Delka2, 2);
    EXPECT_DOUBLE_EQ(target.Provize, 2.5);
}

TEST(ServisSettingsTest, OptionValuesAndTheNextNumber) {
    EXPECT_EQ(ServisSettings::baudText(384), QStringLiteral("38400"));
    EXPECT_EQ(ServisSettings::baudText(19200), QStringLiteral("19200"));
    EXPECT_EQ(ServisSettings::baudIndex(QStringLiteral("256000")), 2560);
    EXPECT_FALSE(ServisSettings::baudIndex(QStringLiteral("14400")));
    EXPECT_EQ(ServisSettings::doplnCislo(QStringLiteral("12345")), QStringLiteral("12345000"));
    EXPECT_EQ(ServisSettings::doplnCislo(QStringLiteral("123456789")), QStringLiteral("123456789"));
}

TEST(AboutInfoTest, VersionLine) {
    EXPECT_EQ(textVerze(3, 2, 186), QStringLiteral("Ver.: 3.2.186"));
}

// A mask file whose name another machine wrote in Windows-1250 (0xE9, no valid UTF-8) is listed lossily and read
// and deleted by its own bytes like any other.
TEST(CodeMasksTest, AMaskNamedInAnotherEncodingIsListedReadAndDeleted) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path home(dir.path().toStdString());
    const CodeMasks masks(home);
    ASSERT_TRUE(masks.vytvorSlozku().ok());
    std::ofstream(masks.slozka() / "ob\xE9" "d.msk", std::ios::binary) << "1234567890123456";
    std::ofstream(masks.slozka() / "a.msk", std::ios::binary) << "AAAAAAAAAAAAAAAA";
    const QString shown = QStringLiteral("ob") + QChar(QChar::ReplacementCharacter) + QStringLiteral("d.msk");
    EXPECT_EQ(masks.soubory(), (QStringList{QStringLiteral("a.msk"), shown}));
    const auto read = masks.nacti(shown);
    ASSERT_TRUE(read.ok()) << read.message().toStdString();
    EXPECT_EQ(read.value(), QStringLiteral("1234567890123456"));
    ASSERT_TRUE(masks.smaz(shown).ok());
    EXPECT_EQ(masks.soubory(), QStringList{QStringLiteral("a.msk")});
}

#include "core/Kontrola.h"

#include "VoucherFixture.h"
#include "core/CheckDigits.h"
#include "core/ReaderControl.h"

using namespace trv;

namespace {

const QString kInvalidIssue = QStringLiteral("Neplatná emise stravenky");
const QString kBlocked = QStringLiteral("Tento dárkový šek je blokován!");

class KontrolaTest : public test::VoucherFixture {
protected:
    void SetUp() override {
        VoucherFixture::SetUp();
        writeFile(QStringLiteral("langCS.ini"),
                  QStringLiteral("[kontrola]\r\nneplatnEmise=") + kInvalidIssue + QStringLiteral("\r\n"));
        kontrola = std::make_unique<Kontrola>(state, *types, prompts, reader);
    }

    // A type of 12-character codes with a one-digit year at position 5.
    std::shared_ptr<CStrav> yearType(const std::function<void(CStrav&)>& configure = {}) {
        return addType(QStringLiteral("TEST"), 12, 0, [&](CStrav& t) {
            t.PozRok = 5;
            t.delkaRok = 1;
            if (configure)
                configure(t);
        });
    }

    static QString codeWithYear(const QString& year) {
        return QStringLiteral("1234") + year + QStringLiteral("0000000");
    }

    NullReaderControl reader;
    std::unique_ptr<Kontrola> kontrola;
};

} // namespace

TEST_F(KontrolaTest, OverZnaky) {
    const std::vector<std::pair<QString, bool>> cases = {
        {QString(), true},
        {QStringLiteral("0123456789"), true},
        {QStringLiteral("12 3"), false},
        {QStringLiteral("12a3"), false},
        {QStringLiteral("123\t"), false},
        {QStringLiteral("12\x01"
                        "3"),
         false},
        {QStringLiteral("１２３"), false}, // digits of another script are not the reader's digits
        {QStringLiteral("NOREAD"), true},
        {QStringLiteral("noread"), false},
        {QString(10000, u'7'), true},
        {QString(9999, u'7') + u'x', false},
    };
    for (const auto& [kod, expected] : cases) {
        SCOPED_TRACE(kod.left(20).toStdString());
        EXPECT_EQ(kontrola->OverZnaky(kod), expected);
    }
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(reader.stops(), 0);
}

TEST_F(KontrolaTest, OverDatumWantsSixDigitsOfARealDay) {
    const std::vector<std::pair<QString, bool>> cases = {
        {QStringLiteral("991231"), true},   {QStringLiteral("151231"), true},
        {QStringLiteral("240229"), true},   {QStringLiteral("151232"), false},
        {QStringLiteral("150031"), false},  {QStringLiteral("151300"), false},
        {QStringLiteral("990230"), false},  {QStringLiteral("260229"), false},
        {QStringLiteral("9912"), false},    {QStringLiteral("0101"), false},
        {QStringLiteral("1512311"), false}, {QStringLiteral(" 51231"), false},
        {QStringLiteral("15123a"), false},  {QString(), false},
    };
    for (const auto& [datum, expected] : cases) {
        SCOPED_TRACE(datum.toStdString());
        EXPECT_EQ(kontrola->OverDatum(datum), expected);
    }
}

TEST_F(KontrolaTest, OverDelku) {
    addType(QStringLiteral("A"), 14, 14);
    addType(QStringLiteral("B"), 24, 26);
    const std::vector<std::pair<QString, bool>> cases = {
        {QString(14, u'1'), true},        {QString(24, u'1'), true}, {QString(26, u'1'), true},
        {QString(13, u'1'), false},       {QString(), false},        {QString(10000, u'1'), false},
        {QStringLiteral("NOREAD"), true},
    };
    for (const auto& [kod, expected] : cases) {
        SCOPED_TRACE(kod.size());
        EXPECT_EQ(kontrola->OverDelku(kod), expected);
    }
    EXPECT_TRUE(kontrola->OverRozsah(QStringLiteral("123")));
}

// The code processor's order: the first failing check rejects the code; bad input ends at a check, never in a
// crash, and only the checks that report their own failures show anything.
TEST_F(KontrolaTest, BadInputStopsAtTheFirstFailingCheck) {
    yearType();
    state.sw.gFDarkove = true;
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("12a4"), QStringLiteral("OverZnaky")}, {QStringLiteral("1234 "), QStringLiteral("OverZnaky")},
        {QStringLiteral("\r\n"), QStringLiteral("OverZnaky")}, {QString(), QStringLiteral("OverDelku")},
        {QString(10000, u'5'), QStringLiteral("OverDelku")},   {codeWithYear(QStringLiteral("4")), QString()},
    };
    for (const auto& [kod, failing] : cases) {
        SCOPED_TRACE(kod.left(20).toStdString());
        QString failed;
        if (!kontrola->OverZnaky(kod))
            failed = QStringLiteral("OverZnaky");
        else if (!OverInterleave(*types, kod))
            failed = QStringLiteral("OverInterleave");
        else if (!kontrola->OverDelku(kod))
            failed = QStringLiteral("OverDelku");
        else if (!kontrola->OverPlatnost(kod))
            failed = QStringLiteral("OverPlatnost");
        else if (!kontrola->OverDarkove(kod))
            failed = QStringLiteral("OverDarkove");
        EXPECT_EQ(failed, failing);
    }
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(KontrolaTest, GiftListsCompareWholeEntries) {
    const std::vector<std::tuple<QString, QString, bool>> cases = {
        {QStringLiteral("123456,234567"), QStringLiteral("2345"), false},
        {QStringLiteral("123456,234567"), QStringLiteral("234567"), true},
        {QStringLiteral("123456, 234567 "), QStringLiteral("234567"), true},
        {QStringLiteral("123456,234567"), QStringLiteral("34567"), false},
        {QString(), QStringLiteral("1"), false},
        {QStringLiteral("1,,2"), QString(), false},
    };
    for (const auto& [list, number, expected] : cases) {
        SCOPED_TRACE((list + u'|' + number).toStdString());
        EXPECT_EQ(jeVSeznamu(list, number), expected);
    }
}

TEST_F(KontrolaTest, OverDarkove) {
    // Gift number: the first four characters of a 10-character code, the first six of a 12-character one.
    addType(QStringLiteral("DARKY"), 10, 12, [](CStrav& t) {
        t.pozRCDarkove = 1;
        t.delkaRCDarkove = 4;
        t.RCDarkove = QStringLiteral("1111,2222");
        t.RCBlokovaneDarkove = QStringLiteral("123456,234567,3333");
        t.pozRCDarkove2 = 1;
        t.delkaRCDarkove2 = 6;
        t.RCDarkove2 = QStringLiteral("777777");
        t.RCBlokovaneDarkove2 = QStringLiteral("234567");
    });
    struct Case {
        bool gFDarkove;
        bool gPovDarkove;
        QString kod;
        bool expected;
        bool reported; // the blocked-gift message, a reader stop and gNehlasitDarkove
    };
    const std::vector<Case> cases = {
        {false, false, QStringLiteral("1111000000"), true, false}, // check off
        {true, false, QStringLiteral("1111000000"), false, false}, // gift vouchers not taken: refused silently
        {true, false, QStringLiteral("2345000000"), true, false},
        {true, false, QStringLiteral("777777000000"), false, false},
        {true, false, QStringLiteral("111100000000"), true, false}, // second length: second list only
        {true, true, QStringLiteral("1111000000"), true, false},    // gift vouchers taken
        {true, true, QStringLiteral("2345000000"), true, false},    // inside "234567", but not an entry
        {true, true, QStringLiteral("3333000000"), false, true},
        {true, true, QStringLiteral("234567000000"), false, true},
        {true, true, QStringLiteral("NOREAD"), true, false},
        {true, true, QStringLiteral("33330"), true, false}, // no type of that length
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kod.toStdString());
        state.sw.gFDarkove = c.gFDarkove;
        state.gPovDarkove = c.gPovDarkove;
        state.gNehlasitDarkove = false;
        reader.clear();
        const size_t shown = prompts.records().size();
        EXPECT_EQ(kontrola->OverDarkove(c.kod), c.expected);
        EXPECT_EQ(state.gNehlasitDarkove, c.reported);
        EXPECT_EQ(reader.stops(), c.reported ? 1 : 0);
        ASSERT_EQ(prompts.records().size(), shown + (c.reported ? 1 : 0));
        if (c.reported) {
            const auto& r = prompts.records().back();
            EXPECT_EQ(r.text, kBlocked);
            EXPECT_EQ(r.icon, Prompts::Icon::Critical);
            EXPECT_TRUE(r.title.isEmpty());
        }
    }
}

// The issuer mark in the name counts in any letter case, as in recognition and valuation.
class KontrolaCheNameTest : public KontrolaTest, public ::testing::WithParamInterface<const char*> {};

INSTANTIATE_TEST_SUITE_P(AnyLetterCase, KontrolaCheNameTest, ::testing::Values("CHEQUE", "Cheque"));

TEST_P(KontrolaCheNameTest, OverDarkoveCheLayoutChoosesListsByFirstCharacter) {
    state.sw.gFDarkove = true;
    state.gPovDarkove = true;
    addType(QString::fromLatin1(GetParam()), 10, 10, [](CStrav& t) {
        // Recognised by the leading "0" (first layout) or by length alone (second layout).
        t.ObsahujeRC = 1;
        t.delka1PoziceRC1 = 1;
        t.pozRCDarkove = 2;
        t.delkaRCDarkove = 3;
        t.RCBlokovaneDarkove = QStringLiteral("111");
        t.pozRCDarkove2 = 1;
        t.delkaRCDarkove2 = 3;
        t.RCBlokovaneDarkove2 = QStringLiteral("222");
    });
    EXPECT_FALSE(kontrola->OverDarkove(QStringLiteral("0111000000")));
    EXPECT_TRUE(kontrola->OverDarkove(QStringLiteral("0222000000")));
    EXPECT_FALSE(kontrola->OverDarkove(QStringLiteral("2220000000")));
    EXPECT_TRUE(kontrola->OverDarkove(QStringLiteral("1110000000")));
    EXPECT_EQ(prompts.records().size(), 2u);
}

TEST_F(KontrolaTest, OverPlatnostIssueAndValidity) {
    state.gPovolitRok = {2004, 2005, 2005, 2005, 2005};
    state.gPovolitDo = {QDate(2004, 1, 1), QDate(2026, 12, 31), QDate(2026, 12, 31), QDate(2026, 12, 31),
                        QDate(2026, 12, 31)};
    yearType([](CStrav& t) {
        t.pozRCDarkove = 1;
        t.delkaRCDarkove = 4;
        t.RCDarkove = QStringLiteral("9999");
    });
    struct Case {
        QString kod;
        bool kontrolovat;
        bool expected;
        bool invalidIssue;
    };
    const std::vector<Case> cases = {
        {codeWithYear(QStringLiteral("5")), true, true, false},
        {codeWithYear(QStringLiteral("4")), true, false, false}, // 2004 ended on 1.1.2004: expired, no message
        {codeWithYear(QStringLiteral("4")), false, true, false},
        {codeWithYear(QStringLiteral("3")), false, false, true}, // only the issues of 2014 and 2015
        {codeWithYear(QStringLiteral("x")), false, false, true},
        {QStringLiteral("9999") + QStringLiteral("3") + QStringLiteral("0000000"), false, true, false}, // gift
        {QStringLiteral("9999") + QStringLiteral("3") + QStringLiteral("0000000"), true, false, false}, // no year
        {QStringLiteral("9999") + QStringLiteral("4") + QStringLiteral("0000000"), true, true, false},  // gift
        {QStringLiteral("NOREAD"), true, true, false},
        {QStringLiteral("12345"), true, true, false}, // no type
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kod.toStdString());
        state.gKontrolovat = c.kontrolovat;
        state.bNeplatnaEmise = false;
        reader.clear();
        const size_t shown = prompts.records().size();
        EXPECT_EQ(kontrola->OverPlatnost(c.kod), c.expected);
        EXPECT_EQ(state.bNeplatnaEmise, c.invalidIssue);
        EXPECT_EQ(reader.stops(), c.invalidIssue ? 1 : 0);
        ASSERT_EQ(prompts.records().size(), shown + (c.invalidIssue ? 1 : 0));
        if (c.invalidIssue) {
            EXPECT_EQ(prompts.records().back().text, kInvalidIssue);
            EXPECT_EQ(prompts.records().back().icon, Prompts::Icon::Critical);
        }
    }

    // Ctrl+E switched the check off: everything passes.
    state.gKontrolaPlatnostiZap = false;
    EXPECT_TRUE(kontrola->OverPlatnost(codeWithYear(QStringLiteral("3"))));
    EXPECT_TRUE(kontrola->OverPlatnost(codeWithYear(QStringLiteral("4"))));
}

TEST_F(KontrolaTest, OverPlatnostInvalidIssueToTheErrorLog) {
    state.sw.gFChybyDoOkna = true;
    yearType();
    const QString kod = codeWithYear(QStringLiteral("3"));
    EXPECT_FALSE(kontrola->OverPlatnost(kod));
    EXPECT_TRUE(state.bNeplatnaEmise);
    EXPECT_EQ(reader.stops(), 1);
    EXPECT_EQ(reader.logged(), QStringList{kod + QStringLiteral(" ") + kInvalidIssue});
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(KontrolaTest, OverPlatnostTypeWithoutYearField) {
    state.gKontrolovat = true;
    addType(QStringLiteral("BEZROKU"), 12, 12, [](CStrav& t) { t.delkaRok = 1; });
    auto poukaz = addType(QStringLiteral("POUKAZ"), 13, 13, [](CStrav& t) {
        t.PozRok = 5;
        t.delkaRok = 1;
        t.poukaz = true;
    });
    EXPECT_TRUE(kontrola->OverPlatnost(codeWithYear(QStringLiteral("3"))));
    EXPECT_TRUE(kontrola->OverPlatnost(QStringLiteral("1234300000000")));
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(reader.stops(), 0);
}

TEST_F(KontrolaTest, OverPlatnostYearMappings) {
    // Types of 14 characters print the year in reverse; "AVE" of 13 characters one higher (12 for itself + 1).
    addType(QStringLiteral("STRAV14"), 14, 14, [](CStrav& t) {
        t.PozRok = 1;
        t.delkaRok = 1;
    });
    addType(QStringLiteral("AVE"), 13, 13, [](CStrav& t) {
        t.PozRok = 1;
        t.delkaRok = 2;
    });
    const std::vector<std::pair<QString, bool>> cases = {
        {QStringLiteral("6") + QString(13, u'0'), true},  // 6 -> 4
        {QStringLiteral("5") + QString(13, u'0'), true},  // stays 5
        {QStringLiteral("4") + QString(13, u'0'), true},  // not mapped
        {QStringLiteral("1") + QString(13, u'0'), false}, // 1 -> 0
        {QStringLiteral("9") + QString(13, u'0'), false}, // 9 -> 1
        {QStringLiteral("15") + QString(11, u'0'), true},  {QStringLiteral("16") + QString(11, u'0'), true}, // 16 -> 15
        {QStringLiteral("12") + QString(11, u'0'), false},                                                   // 12 -> 13
        {QStringLiteral("17") + QString(11, u'0'), false},                                                   // 17 -> 16
    };
    for (const auto& [kod, expected] : cases) {
        SCOPED_TRACE(kod.toStdString());
        EXPECT_EQ(kontrola->OverPlatnost(kod), expected);
        EXPECT_EQ(state.bNeplatnaEmise, !expected);
        state.bNeplatnaEmise = false;
    }
}

TEST_F(KontrolaTest, OverPlatnostLongCodesOfYearFourInTheRangeOfYearFive) {
    state.gKontrolovat = true;
    state.gPovolitRok = {2004, 2005, 2005, 2005, 2005};
    state.gPovolitDo = {QDate(2004, 1, 1), QDate(2026, 12, 31), QDate(2026, 12, 31), QDate(2026, 12, 31),
                        QDate(2026, 12, 31)};
    addType(QStringLiteral("DLOUHY"), 32, 32, [](CStrav& t) {
        t.PozRok = 1;
        t.delkaRok = 1;
    });
    const auto code = [](const QString& number) { return QStringLiteral("4000") + number + QString(19, u'0'); };
    EXPECT_TRUE(kontrola->OverPlatnost(code(QStringLiteral("004662501"))));
    EXPECT_TRUE(kontrola->OverPlatnost(code(QStringLiteral("004752500"))));
    EXPECT_FALSE(kontrola->OverPlatnost(code(QStringLiteral("004752501"))));
    EXPECT_FALSE(kontrola->OverPlatnost(code(QStringLiteral("004662500"))));
    EXPECT_FALSE(state.bNeplatnaEmise);
}

TEST_F(KontrolaTest, OverPlatnostOwnYearsAndGiftExemption) {
    state.gKontrolovat = true;
    // The configuration's years would accept 2015; the type's own years replace them.
    state.gPovolitRok = {2015, 2015, 2015, 2015, 2015};
    state.gPovolitDo = {QDate(2030, 1, 1), QDate(2030, 1, 1), QDate(2030, 1, 1), QDate(2030, 1, 1), QDate(2030, 1, 1)};
    const auto own = [](CStrav& t) {
        t.pRok1 = 2014;
        t.pPovolitDo1 = QDate(2026, 3, 14);
        t.pRok2 = 2015;
        t.pPovolitDo2 = QDate(2026, 3, 13);
        t.pozRCDarkove = 1;
        t.delkaRCDarkove = 4;
        t.RCDarkove = QStringLiteral("9999");
    };
    auto t = yearType(own);
    EXPECT_TRUE(kontrola->OverPlatnost(codeWithYear(QStringLiteral("4"))));  // valid through today
    EXPECT_FALSE(kontrola->OverPlatnost(codeWithYear(QStringLiteral("5")))); // ended yesterday
    EXPECT_TRUE(kontrola->OverPlatnost(QStringLiteral("999950000000")));     // gift voucher
    t->vydavatel = QStringLiteral("CHE");
    EXPECT_FALSE(kontrola->OverPlatnost(QStringLiteral("999950000000"))); // a cheque issuer's gift counts
}

TEST_F(KontrolaTest, OverPlatnostSecondLengthBorrowsTheYearField) {
    state.gKontrolovat = true;
    state.gPovolitRok = {2015, 2015, 2015, 2015, 2015};
    state.gPovolitDo = {QDate(2030, 1, 1), QDate(2030, 1, 1), QDate(2030, 1, 1), QDate(2030, 1, 1), QDate(2030, 1, 1)};
    auto t = addType(QStringLiteral("DVE"), 10, 11, [](CStrav& s) {
        s.PozRok = 3;
        s.delkaRok = 1;
    });
    EXPECT_TRUE(kontrola->OverPlatnost(QStringLiteral("00500000000")));
    EXPECT_EQ(t->PozRok2, 3);
    EXPECT_EQ(t->delkaRok2, 1);

    // Cheques whose two lengths are equal: a code beginning with "0" has its year in the first field.
    addType(QStringLiteral("CHEQ"), 12, 12, [](CStrav& s) {
        s.PozRok = 2;
        s.delkaRok = 1;
        s.PozRok2 = 3;
        s.delkaRok2 = 1;
    });
    EXPECT_TRUE(kontrola->OverPlatnost(QStringLiteral("053000000000")));
    EXPECT_TRUE(kontrola->OverPlatnost(QStringLiteral("135000000000")));
    EXPECT_FALSE(kontrola->OverPlatnost(QStringLiteral("035000000000")));
}

TEST_F(KontrolaTest, OverPlatnostWithdrawnEuroIssue) {
    writeFile(QStringLiteral("TRV7300.ini"), QStringLiteral("[Data]\r\nkurzEuro=25\r\n"));
    state.sw.gFEuro = true;
    // Value: the first three digits in hundredths; year: two digits at 4; gift number: one digit at 6.
    addType(QStringLiteral("CHQ PAPER"), 12, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 3;
        t.KoefCastka = -100;
        t.PozRok = 4;
        t.delkaRok = 2;
        t.pozRCDarkove = 6;
        t.delkaRCDarkove = 1;
    });
    EXPECT_FALSE(kontrola->OverPlatnost(QStringLiteral("330121000000")));
    EXPECT_FALSE(state.bNeplatnaEmise); // reported by the processor as expired
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_TRUE(kontrola->OverPlatnost(QStringLiteral("330152000000"))); // year 15
    EXPECT_TRUE(kontrola->OverPlatnost(QStringLiteral("331141000000"))); // not 3,30
}

TEST_F(KontrolaTest, OverPlatnostSecondLengthWithItsOwnYearFieldOnly) {
    // No year field for 12-character codes, one of its own for 14-character codes (digit 3); allowed years of
    // the configuration long over: only the issue check applies, the validity years are skipped (PozRok 0).
    state.gKontrolovat = true;
    const auto t = addType(QStringLiteral("DRUHA"), 12, 14, [](CStrav& s) {
        s.delkaRok = 1;
        s.PozRok2 = 3;
        s.delkaRok2 = 1;
    });
    addType(QStringLiteral("BEZ ROKU"), 13, 15, [](CStrav& s) { s.delkaRok = 1; });
    struct Case {
        const char* code;
        bool passes;
        bool invalidIssue;
    };
    const std::vector<Case> cases = {
        {"123000000000", true, false},    // first length: no year check
        {"12400000000000", true, false},  // second length, issue 2014
        {"12500000000000", true, false},  // issue 2015
        {"12300000000000", false, true},  // issue 2013: invalid, reported by the check
        {"1230000000000", true, false},   // a type without any year field
        {"123000000000000", true, false}, // its second length too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        state.bNeplatnaEmise = false;
        const size_t shown = prompts.records().size();
        EXPECT_EQ(kontrola->OverPlatnost(QString::fromLatin1(c.code)), c.passes);
        EXPECT_EQ(state.bNeplatnaEmise, c.invalidIssue);
        EXPECT_EQ(prompts.records().size(), shown + (c.invalidIssue ? 1 : 0));
    }
    EXPECT_EQ(t->PozRok, 0); // nothing borrowed the other way
}

TEST_F(KontrolaTest, OverPlatnostValuesEuroChequesSilently) {
    // A value-table cheque type whose table lacks the code's part: the check values it without a word, so the
    // booking's refusal is the one message the operator sees.
    writeFile(QStringLiteral("TRV7300.ini"), QStringLiteral("[Data]\r\nkurzEuro=25\r\n"));
    state.sw.gFEuro = true;
    addType(QStringLiteral("CHQ TABLE"), 12, 0, [](CStrav& t) {
        t.PozCastka = 1;
        t.DelkaCastka = 3;
        t.PozRok = 4;
        t.delkaRok = 2;
        t.TabulkaHodnot = QStringLiteral("tabulka.ini");
        t.TabulkaHodnotDict = std::make_shared<ValueTable>();
    });
    EXPECT_TRUE(kontrola->OverPlatnost(QStringLiteral("330152000000")));
    EXPECT_TRUE(prompts.records().empty());

    // Valued later for the operator, the code is reported once all the same.
    CPolozka code;
    code.Kod = QStringLiteral("330152000000");
    code.setTypS(types->Item(1));
    ASSERT_TRUE(code.DejHodnotu().ok());
    EXPECT_EQ(prompts.records().size(), 1u);
}

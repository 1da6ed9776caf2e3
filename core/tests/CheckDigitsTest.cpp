#include "core/CheckDigits.h"

#include "VoucherFixture.h"

using namespace trv;
using trv::test::VoucherFixture;

TEST_F(VoucherFixture, OverInterleave)
{
    addType(QStringLiteral("Osmička"), 8, 10, [](CStrav& t) {
        t.pozInterleave1 = 8;  // last digit for length 8
        t.pozInterleave2 = 5;  // inside the code for length 10
    });
    addType(QStringLiteral("Bez kontroly"), 9, 9);
    addType(QStringLiteral("Šek CHE"), 24, 24, [](CStrav& t) {
        t.RozlisovaciCislo = QStringLiteral("5"); // the series beginning with "0" is recognised by its "0"
        t.ObsahujeRC = 1;
        t.delka1PoziceRC1 = 1;
        t.delka2PoziceRC1 = 1;
        t.pozInterleave1 = 24; // series beginning with "0"
        t.pozInterleave2 = 2;  // the other series
    });

    struct Case {
        const char* code;
        bool passes;
    };
    const std::vector<Case> cases = {
        {"23456785", true},
        {"23456784", false},
        {"12345675", false}, // the weighted sum 60 asks for 0
        {"12345674", false},
        {"12345670", true},  // a check digit 0 is never verified
        {"1111422220", true}, // length 10: digit at 5, its own position counted in the sum
        {"1111522220", false},
        {"123456789", true},  // type without a check-digit position
        {"1234567", true},    // no type
        {"012345678901234567890123", true},
        {"012345678901234567890124", false},
        {"533456789012345678901234", true},
        {"543456789012345678901234", false},
        {"23A56785", false},  // a non-digit among the summed digits
        {"2345678X", false},  // nor at the check position
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(OverInterleave(*types, QString::fromLatin1(c.code)), c.passes);
    }
    EXPECT_TRUE(OverInterleave(*types, state.gNoRead));
}

TEST(OverCRC, Layouts)
{
    const QString noRead = QStringLiteral("NOREAD");
    struct Case {
        const char* code;
        bool euro;
        bool passes;
    };
    const std::vector<Case> cases = {
        {"NOREAD", false, true},
        {"1234567890123456789012345", false, true}, // 25 characters: no check applies
        {"12345678901234567890123", false, true},
        // product layout, 24 characters
        {"250436431136123452011344", false, true},
        {"250436431137123452011344", false, false},
        {"250436431136123452011399", false, true},  // positions 23 and 24 take no part
        {"2504364311361234520AB344", false, true},  // nor 20 and 21
        {"250436431136123452011444", false, false}, // s at 22 does
        {"25043643113612345201134", false, true},   // 23 characters
        {"000000000027000002000000", false, true},  // zeros count as 11: m = 3993
        {"2504X6431136123452011344", false, false},
        // remainder layout, 26 characters
        {"24838356732123456712334459", false, true},
        {"24838356733123456712334459", false, false}, // a mod 97 differs
        {"24838356732123456712334359", false, false}, // the second remainder differs
        {"24838356732123456712334459", true, false},  // no layout for 26 characters in EUR mode
        // EUR mode, 24 characters
        {"034598026078123451130945", true, true},   // "0": remainder layout
        {"034598026078123451130946", true, false},
        {"123456789246111111234567", true, true},   // "1": product layout
        {"123456789247111111234567", true, false},
        {"000000000027000002000000", true, false},  // "0": the remainder layout fails it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + (c.euro ? " EUR" : ""));
        EXPECT_EQ(OverCRC(QString::fromLatin1(c.code), c.euro, noRead), c.passes);
    }
}

#include "mainwindow/DisplayBox.h"

#include "ReaderRig.h"

#include "core/CPolozka.h"

#include <gtest/gtest.h>

namespace trv {
namespace {

// Codes are 10 or 12 equal digits.
CodeShapes shapes(QString noRead = QStringLiteral("NOREAD")) {
    CodeShapes s;
    s.noRead = std::move(noRead);
    s.lengths = {10, 12};
    s.recognises = [](const QString& code) {
        return (code.size() == 10 || code.size() == 12) && code.count(code.at(0)) == code.size();
    };
    return s;
}

struct RepairCase {
    const char* name;
    QString before;
    QString after;
};

// The lines, each followed by CR LF.
QString lines(std::initializer_list<QString> parts) {
    QString text;
    for (const QString& part : parts)
        text += part + QStringLiteral("\r\n");
    return text;
}

TEST(DisplayBoxTest, LineRepairCutsOnlyLinesMadeOfCodes) {
    const QString a = QStringLiteral("1111111111");
    const QString b = QStringLiteral("222222222222");
    const QString c = QStringLiteral("3333333333");
    const QString nr = QStringLiteral("NOREAD");
    const std::vector<RepairCase> cases = {
        {"two codes run together", lines({a + c}), lines({a, c})},
        {"codes of both lengths in place", lines({c, a + b + c, c}), lines({c, a, b, c, c})},
        {"a NOREAD between codes goes", lines({a + nr + c}), lines({a, c})},
        {"a NOREAD line stays", lines({a, nr}), lines({a, nr})},
        {"one code stays", lines({b}), lines({b})},
        {"a line that is not made of codes stays",
         lines({a + QStringLiteral("12345"), QStringLiteral("ABCDEFGHIJKLMNOPQRSTU")}),
         lines({a + QStringLiteral("12345"), QStringLiteral("ABCDEFGHIJKLMNOPQRSTU")})},
        {"empty lines and stray line ends go",
         QStringLiteral("\r\n") + a + QStringLiteral("\r\n\r\n\n") + c + QStringLiteral("\r") + a +
             QStringLiteral("\r\n"),
         lines({a, c, a})},
        {"a last line without its line end gets one", lines({a}) + c, lines({a, c})},
    };
    for (const RepairCase& rc : cases) {
        SCOPED_TRACE(rc.name);
        DisplayBox box;
        box.setText(rc.before);
        box.OpravRadky(shapes());
        EXPECT_EQ(box.text(), rc.after);
        // The caller repeats the pass while it reports a change; the second pass finds nothing to do.
        EXPECT_FALSE(box.OpravRadky(shapes()));
    }
}

TEST(DisplayBoxTest, LineRepairUsesTheRecognitionOfTheVoucherTypes) {
    test::ReaderRig rig({{QStringLiteral("Alfa Stravenky"), 10, 6, 3}, {QStringLiteral("Beta Poukazy"), 12, 1, 3}});
    const QString a1 = test::alfa(100);
    const QString a2 = test::alfa(200, 22222);
    const QString beta = QStringLiteral("050123456789");
    // Codes of one length cut in one way only; a 10- and a 12-digit code run together cut either way round,
    // so that line is left as it is.
    rig.display.setText(lines({a1 + a2 + QStringLiteral("NOREAD") + a1, a1 + beta}));
    EXPECT_TRUE(rig.display.OpravRadky(codeShapes(rig.state)));
    EXPECT_EQ(rig.display.text(), lines({a1, a2, a1, a1 + beta}));

    // A 20-digit type makes two Alfa codes one code of its own: the line stays.
    test::ReaderRig omega({{QStringLiteral("Alfa Stravenky"), 10, 6, 3}, {QStringLiteral("Omega Karty"), 20, 1, 3}});
    omega.display.setText(lines({a1 + a2, a1 + a2 + a1}));
    EXPECT_FALSE(omega.display.OpravRadky(codeShapes(omega.state)));
}

TEST(DisplayBoxTest, LineRepairRemovesANoReadTextOfAnyLength) {
    DisplayBox box;
    box.setText(QStringLiteral("1111111111NR3333333333NR\r\nNR\r\n"));
    EXPECT_TRUE(box.OpravRadky(shapes(QStringLiteral("NR"))));
    EXPECT_EQ(box.text(), QStringLiteral("1111111111\r\n3333333333\r\nNR\r\n"));
}

TEST(DisplayBoxTest, DuplicatePassKeepsTheFirstOfEqualLines) {
    DisplayBox box;
    box.setText(QStringLiteral("111\r\n222\r\n111\r\n333\r\n222\r\n1111\r\n\r\n\r\n"));
    box.VyhodDuplRadky();
    EXPECT_EQ(box.text(), QStringLiteral("111\r\n222\r\n333\r\n1111\r\n\r\n\r\n"));
}

TEST(DisplayBoxTest, RefillShowsTheCodesHeldInMemory) {
    test::ReaderRig rig;
    rig.display.setText(QStringLiteral("old\r\n"));
    rig.display.ObnovZobrazeni(*rig.state.gColStrav);
    EXPECT_EQ(rig.display.text(), QString());

    rig.state.gColStrav->Item(2)->Polozky->Add(std::make_shared<CPolozka>());
    rig.state.gColStrav->Item(2)->Polozky->Item(1)->Kod = QStringLiteral("050123456789");
    rig.state.gColStrav->Item(1)->Polozky->Add(std::make_shared<CPolozka>());
    rig.state.gColStrav->Item(1)->Polozky->Item(1)->Kod = test::alfa(100);
    rig.display.ObnovZobrazeni(*rig.state.gColStrav);
    EXPECT_EQ(rig.display.text(), test::alfa(100) + QStringLiteral("\r\n050123456789\r\n"));
}

} // namespace
} // namespace trv

#include "core/SharedHelpers.h"

#include "platform/TextFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace trv;

TEST(SharedHelpers, DecimalSeparators) {
    const std::vector<std::tuple<QString, QString, QString>> cases = {
        // text, CarkaNaTecku, TeckaNaCarku
        {QStringLiteral("12,50"), QStringLiteral("12.50"), QStringLiteral("12,50")},
        {QStringLiteral("1,2,3"), QStringLiteral("1.2,3"), QStringLiteral("1,2,3")},
        {QStringLiteral("125"), QStringLiteral("125"), QStringLiteral("125")},
        {QStringLiteral("1.2.3"), QStringLiteral("1.2.3"), QStringLiteral("1,2.3")},
        {QString(), QString(), QString()},
    };
    for (const auto& [text, point, comma] : cases) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(CarkaNaTecku(text), point);
        EXPECT_EQ(TeckaNaCarku(text), comma);
    }
}

TEST(SharedHelpers, DoplnMasku) {
    const QString twenty = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("12345"), QStringLiteral("12345***********")},
        {QString(), QString(16, u'*')},
        {twenty.left(16), twenty.left(16)},
        {twenty, twenty.left(16)},
        {QString(255, u'9'), QString(16, u'9')},
        {QString(256, u'9'), QString()},
    };
    for (const auto& [mask, expected] : cases) {
        SCOPED_TRACE(mask.size());
        EXPECT_EQ(DoplnMasku(mask), expected);
    }
}

TEST(SharedHelpers, MaskButtons) {
    QTemporaryDir dir;
    AppState state(TextFiles::toPath(dir.path()));
    ASSERT_TRUE(UlozTlacitko(state.config, 1, QStringLiteral("Sodexo"), QStringLiteral("20**************")));
    ASSERT_TRUE(NactiTlacitko(state, 1));
    EXPECT_EQ(state.gMaskaNazev, QStringLiteral("Sodexo"));
    EXPECT_EQ(state.gMaska, QStringLiteral("20**************"));

    // Name without Mask: the name is taken, the mask kept, the result False.
    ASSERT_TRUE(state.config.zapis(QStringLiteral("Button2"), QStringLiteral("Name"), QStringLiteral("Edenred")).ok());
    EXPECT_FALSE(NactiTlacitko(state, 2));
    EXPECT_EQ(state.gMaskaNazev, QStringLiteral("Edenred"));
    EXPECT_EQ(state.gMaska, QStringLiteral("20**************"));

    EXPECT_FALSE(NactiTlacitko(state, 3));
    EXPECT_EQ(state.gMaskaNazev, QStringLiteral("Edenred"));

    // A write that cannot happen (the configuration is a folder) is False, not an exception.
    AppState broken(TextFiles::toPath(dir.path()));
    broken.config.setIniFile(TextFiles::toPath(dir.path()));
    EXPECT_FALSE(UlozTlacitko(broken.config, 4, QStringLiteral("x"), QStringLiteral("y")));
}

TEST(SharedHelpers, VyjmiZnaky) {
    const QString abc = QStringLiteral("ABCDEF");
    const std::vector<std::tuple<QString, qint64, qint64, QString>> cases = {
        {abc, 2, 3, QStringLiteral("AEF")},
        {abc, 5, 2, QStringLiteral("ABCD")},
        {abc, 5, 3, QString()},
        {abc, 1, 6, QString()},
        {abc, 1, 0, abc},
        {abc, 6, 1, QStringLiteral("ABCDE")},
        {abc, 7, 0, QString()},
        {abc, 1, 7, QString()},
        {QString(), 1, 0, QString()},
        {abc, 0, 1, QString()},
        {abc, 2, -1, QString()},
    };
    for (const auto& [text, start, count, expected] : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(text).arg(start).arg(count).toStdString());
        EXPECT_EQ(VyjmiZnaky(text, start, count), expected);
    }
}

TEST(SharedHelpers, ZjistiRadekTextu) {
    const QString crlf = QStringLiteral("111\r\n2222\r\n\r\n33\r\n");
    const std::vector<std::tuple<QString, qint64, qint64, qint64>> cases = {
        {crlf, 0, 0, 3},      {crlf, 1, 5, 4},  {crlf, 2, 11, 0},  {crlf, 3, 13, 2},
        {crlf, 4, 17, 0},     {crlf, 5, -1, 0}, {crlf, -1, -1, 0}, {QStringLiteral("ab\ncd"), 1, 3, 2},
        {QString(), 0, 0, 0},
    };
    for (const auto& [text, line, start, length] : cases) {
        SCOPED_TRACE(line);
        const RadekTextu r = ZjistiRadekTextu(text, line);
        EXPECT_EQ(r.gRadekZacatek, start);
        EXPECT_EQ(r.gRadekDelka, length);
    }
}

TEST(SharedHelpers, SetridPoleSortsNumerically) {
    QStringList texts = {QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("100")};
    ASSERT_TRUE(SetridPole(texts).ok());
    EXPECT_EQ(texts, (QStringList{QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("100")}));

    QStringList decimals = {QStringLiteral("2,5"), QStringLiteral("-1"), QStringLiteral(" 1.5 ")};
    ASSERT_TRUE(SetridPole(decimals).ok());
    EXPECT_EQ(decimals, (QStringList{QStringLiteral("-1"), QStringLiteral(" 1.5 "), QStringLiteral("2,5")}));

    QStringList bad = {QStringLiteral("3"), QStringLiteral("abc"), QStringLiteral("1")};
    const QStringList badBefore = bad;
    EXPECT_FALSE(SetridPole(bad).ok());
    EXPECT_EQ(bad, badBefore);

    std::mt19937 random(7);
    std::vector<double> values(500);
    for (double& v : values)
        v = static_cast<int>(random() % 50); // many equal keys
    std::vector<double> expected = values;
    std::sort(expected.begin(), expected.end());
    SetridPole(values);
    EXPECT_EQ(values, expected);

    std::vector<double> empty;
    SetridPole(empty);
    EXPECT_TRUE(empty.empty());
}

TEST(SharedHelpers, ZaokrouhliText) {
    const std::vector<std::tuple<double, int, QString>> cases = {
        {2.345, 2, QStringLiteral("2.35")},
        {2.344, 2, QStringLiteral("2.34")},
        {2.5, 2, QStringLiteral("2.5")},
        {2.0, 2, QStringLiteral("2")},
        {0.5, 0, QStringLiteral("1")},
        {1.25, 1, QStringLiteral("1.3")},
        // Negative values round away from zero like positive ones.
        {-2.679, 2, QStringLiteral("-2.68")},
        {-1.25, 1, QStringLiteral("-1.3")},
        {-2.674, 2, QStringLiteral("-2.67")},
        {-0.5, 0, QStringLiteral("-1")},
        {0.00001, 4, QStringLiteral("0")},
        {123.456789, 5, QStringLiteral("123.45679")},
        {1e20, 2, QStringLiteral("1e+20")},
    };
    for (const auto& [value, decimals, expected] : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(value).arg(decimals).toStdString());
        EXPECT_EQ(QString::number(ZaokrouhliText(value, decimals), 'g', 15), expected);
    }
}

TEST(SharedHelpers, PocetVyskytu) {
    EXPECT_EQ(PocetVyskytu(QStringLiteral("aaa"), QStringLiteral("aa")), 2);
    EXPECT_EQ(PocetVyskytu(QStringLiteral("a_b_c_"), QStringLiteral("_")), 3);
    EXPECT_EQ(PocetVyskytu(QStringLiteral("abc"), QStringLiteral("x")), 0);
    EXPECT_EQ(PocetVyskytu(QStringLiteral("abc"), QStringLiteral("ABC")), 0);
    EXPECT_EQ(PocetVyskytu(QStringLiteral("abc"), QString()), 0);
    EXPECT_EQ(PocetVyskytu(QString(40000, u'x'), QStringLiteral("x")), 40000); // past the old 16-bit count
}

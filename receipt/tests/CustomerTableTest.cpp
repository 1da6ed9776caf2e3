#include "receipt/CustomerTable.h"

#include "platform/DbfTable.h"
#include "receipt/tests/ReceiptFixture.h"

#include <QFile>

using namespace trv;

namespace {

class CustomerTableTest : public test::ReceiptFixture {
protected:
    void withTypes(int count) {
        for (int i = 0; i < count; ++i)
            addType(QStringLiteral("Typ%1").arg(i + 1), 10 + i, 0);
    }

    std::filesystem::path tableFile() const { return dataFolder / "customer.dbf"; }

    // The rows as any dBASE reader sees them: every column by name, in table order.
    std::vector<QStringList> rows() const {
        std::vector<QStringList> out;
        auto table = DbfTable::open(tableFile(), DbfTable::Access::ReadOnly);
        EXPECT_TRUE(table.ok()) << table.message().toStdString();
        if (!table.ok())
            return out;
        const auto all = table.value().readAll();
        EXPECT_TRUE(all.ok());
        for (const DbfRecord& r : all.value()) {
            QStringList values;
            for (const DbfField& f : table.value().fields())
                values.append(r.text(f.name));
            out.push_back(values);
        }
        return out;
    }

    QByteArray bytes() const {
        QFile file(TextFiles::toQString(tableFile()));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    static CustomerRecord customer(const QString& cislo, const QString& nazev) {
        CustomerRecord r;
        r.cislo = cislo;
        r.IC = QStringLiteral("12345678");
        r.nazev = nazev;
        r.Adresa = QStringLiteral("Dlouhá 5, Praha");
        r.odpovida = QStringLiteral("Jiří Šťastný");
        r.telefon = QStringLiteral("+420 601 000 000");
        for (size_t k = 0; k < 8; ++k)
            r.cisloSpol[k] = QStringLiteral("P%1").arg(k + 1);
        return r;
    }
};

} // namespace

TEST_F(CustomerTableTest, CreateFollowsTheNumberOfVoucherTypes) {
    struct Case {
        int types;
        int columns;
    };
    for (const Case c : {Case{1, 10}, Case{4, 10}, Case{5, 14}, Case{9, 14}}) {
        SCOPED_TRACE(c.types);
        state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
        withTypes(c.types);
        CustomerTable table(state);
        ASSERT_TRUE(table.create().ok());
        auto dbf = DbfTable::open(tableFile(), DbfTable::Access::ReadOnly);
        ASSERT_TRUE(dbf.ok());
        QStringList columns;
        for (const DbfField& f : dbf.value().fields())
            columns.append(QStringLiteral("%1:%2%3").arg(f.name.toUpper(), QChar(char16_t(f.type))).arg(f.width));
        QString expected = QStringLiteral("CISLO:C10 IC:C20 NAZEV:C30 ADRESA:C100 ODPOVIDA:C30 TELEFON:C20");
        for (int k = 1; k <= c.columns - 6; ++k)
            expected += QStringLiteral(" CISLOSPOL%1:C10").arg(k);
        EXPECT_EQ(columns.join(u' '), expected);
    }
}

TEST_F(CustomerTableTest, ValuesSurviveTheRoundTripExactlyAsTyped) {
    withTypes(5);
    CustomerTable table(state);
    ASSERT_TRUE(table.create().ok());
    // Quotes, a wildcard character, Czech letters, and values that fill their column to the last character.
    CustomerRecord r = customer(QStringLiteral("O'B"), QStringLiteral("Pekárna U Nováků's *%_ žluťoučký"));
    r.nazev = r.nazev.left(30);
    r.Adresa = QString(99, u'ř') + u'\'';
    r.cisloSpol[7] = QStringLiteral("ŽŠČŘĎŤŇĚŮ'");
    ASSERT_EQ(r.nazev.size(), 30);
    ASSERT_TRUE(table.add(r).ok());
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0], (QStringList{r.cislo, r.IC, r.nazev, r.Adresa, r.odpovida, r.telefon, r.cisloSpol[0],
                                      r.cisloSpol[1], r.cisloSpol[2], r.cisloSpol[3], r.cisloSpol[4], r.cisloSpol[5],
                                      r.cisloSpol[6], r.cisloSpol[7]}));

    // Save changes rewrites every column but the number; a number no row has changes nothing.
    CustomerRecord changed = r;
    changed.nazev = QStringLiteral("Řeznictví \"U Lva\"");
    changed.cisloSpol[0] = QStringLiteral("x'y");
    ASSERT_TRUE(table.update(changed).ok());
    EXPECT_EQ(rows()[0][2], changed.nazev);
    EXPECT_EQ(rows()[0][6], QStringLiteral("x'y"));
    const QByteArray before = bytes();
    ASSERT_TRUE(table.update(customer(QStringLiteral("999"), QStringLiteral("Nikdo"))).ok());
    ASSERT_TRUE(table.remove(QStringLiteral("999")).ok());
    EXPECT_EQ(bytes(), before);

    ASSERT_TRUE(table.remove(QStringLiteral("O'B")).ok());
    EXPECT_TRUE(rows().empty());
}

TEST_F(CustomerTableTest, AValueLongerThanItsColumnIsRefusedNamingItAndTheTableStays) {
    withTypes(4);
    CustomerTable table(state);
    ASSERT_TRUE(table.create().ok());
    ASSERT_TRUE(table.add(customer(QStringLiteral("123"), QStringLiteral("Jídelna"))).ok());
    const QByteArray before = bytes();

    struct Case {
        const char* field;
        std::function<void(CustomerRecord&)> lengthen;
    };
    const std::vector<Case> cases{
        {"nazev", [](CustomerRecord& r) { r.nazev = QString(31, u'č'); }},
        {"Adresa", [](CustomerRecord& r) { r.Adresa = QString(101, u'a'); }},
        {"cisloSpol4", [](CustomerRecord& r) { r.cisloSpol[3] = QStringLiteral("12345678901"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        CustomerRecord r = customer(QStringLiteral("123"), QStringLiteral("Jídelna"));
        c.lengthen(r);
        const Status added = table.add(r);
        ASSERT_FALSE(added.ok());
        EXPECT_TRUE(added.message().contains(QLatin1String(c.field), Qt::CaseInsensitive))
            << added.message().toStdString();
        const Status updated = table.update(r);
        ASSERT_FALSE(updated.ok());
        EXPECT_TRUE(updated.message().contains(QLatin1String(c.field), Qt::CaseInsensitive));
        EXPECT_EQ(bytes(), before);
    }
    // Under the four-column layout the partner codes 5 to 8 are not stored, whatever they hold.
    CustomerRecord r = customer(QStringLiteral("124"), QStringLiteral("Bistro"));
    r.cisloSpol[6] = QString(40, u'x');
    EXPECT_TRUE(table.add(r).ok());
}

TEST_F(CustomerTableTest, SearchIsALiteralContainsMatchIgnoringLetterCase) {
    withTypes(2);
    CustomerTable table(state);
    ASSERT_TRUE(table.create().ok());
    for (const auto& [cislo, nazev] :
         std::vector<std::pair<QString, QString>>{{QStringLiteral("001"), QStringLiteral("Čistírna Šťovík")},
                                                  {QStringLiteral("002"), QStringLiteral("Bufet 100% *ŽIVĚ*")},
                                                  {QStringLiteral("003"), QStringLiteral("Pizzerie_Roma")},
                                                  {QStringLiteral("001"), QStringLiteral("Čistírna II")}})
        ASSERT_TRUE(table.add(customer(cislo, nazev)).ok());

    const auto numbers = [&](CustomerTable::Column column, const QString& text) {
        QStringList out;
        const auto found = table.search(column, text);
        EXPECT_TRUE(found.ok());
        for (const CustomerRecord& r : found.value())
            out.append(r.cislo + u'/' + r.nazev.left(3));
        return out.join(u' ');
    };
    using C = CustomerTable::Column;
    EXPECT_EQ(numbers(C::Nazev, QStringLiteral("  čistírna ")), QStringLiteral("001/Čis 001/Čis"));
    EXPECT_EQ(numbers(C::Nazev, QStringLiteral("ŠŤOV")), QStringLiteral("001/Čis"));
    EXPECT_EQ(numbers(C::Nazev, QStringLiteral("živě")), QStringLiteral("002/Buf"));
    EXPECT_EQ(numbers(C::Nazev, QStringLiteral("*")), QStringLiteral("002/Buf"));
    EXPECT_EQ(numbers(C::Nazev, QStringLiteral("%")), QStringLiteral("002/Buf"));
    EXPECT_EQ(numbers(C::Nazev, QStringLiteral("_")), QStringLiteral("003/Piz"));
    EXPECT_EQ(numbers(C::Nazev, QString()).count(u'/'), 4);
    EXPECT_EQ(numbers(C::Cislo, QStringLiteral("3")), QStringLiteral("003/Piz"));
    EXPECT_EQ(numbers(C::Odpovida, QStringLiteral("JIŘÍ")).count(u'/'), 4);

    // A number two rows share loads the first; both change and both go.
    const auto first = table.find(QStringLiteral(" 001 "));
    ASSERT_TRUE(first.ok() && first.value());
    EXPECT_EQ(first.value()->nazev, QStringLiteral("Čistírna Šťovík"));
    ASSERT_TRUE(table.update(customer(QStringLiteral("001"), QStringLiteral("Nová"))).ok());
    EXPECT_EQ(numbers(C::Nazev, QStringLiteral("nová")).count(u'/'), 2);
    ASSERT_TRUE(table.remove(QStringLiteral("001")).ok());
    EXPECT_EQ(numbers(C::Nazev, QString()).count(u'/'), 2);
}

TEST_F(CustomerTableTest, OnlyTheLengthOfANewNumberCounts) {
    writeLanguageFile(QStringLiteral("[frmZakaznik]\nCisloZak=\"Číslo musí mít \"\nZnaku=\" znaků.\"\n"));
    state.gDelkaSM = 3;
    CustomerTable table(state);
    EXPECT_EQ(table.numberRefusal(QStringLiteral("12")), QStringLiteral("Číslo musí mít 3 znaků."));
    EXPECT_FALSE(table.numberRefusal(QStringLiteral("1234")).isEmpty());
    EXPECT_TRUE(table.numberRefusal(QStringLiteral("123")).isEmpty());
    EXPECT_TRUE(table.numberRefusal(QStringLiteral("A1B")).isEmpty());
}

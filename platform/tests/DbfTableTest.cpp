#include "platform/DbfTable.h"

#include "TempFolderTest.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace trv {
namespace {

std::string u8(const QString& s) {
    return s.toStdString();
}

QByteArray fileBytes(const std::filesystem::path& p) {
    QFile f(QString::fromStdU16String(p.u16string()));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void writeBytes(const std::filesystem::path& p, const QByteArray& bytes) {
    QFile f(QString::fromStdU16String(p.u16string()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray windows1250(const QString& text) {
    QStringEncoder encoder("windows-1250");
    return encoder.encode(text);
}

Currency cents(qint64 hundredths) {
    return Currency::fromUnits(hundredths * 100);
}

class DbfTableTest : public ::testing::Test {
protected:
    std::filesystem::path file(const char* name) const {
        return std::filesystem::path(m_dir.path().toStdU16String()) / name;
    }

    // The fields of the day-totals table and a few more, one of every type.
    static std::vector<DbfField> sampleFields() {
        return {
            {QStringLiteral("pokladni"), DbfFieldType::Numeric, 5, 0},
            {QStringLiteral("datum"), DbfFieldType::Character, 8, 0},
            {QStringLiteral("hodn_CHe"), DbfFieldType::Numeric, 12, 2},
            {QStringLiteral("nazev"), DbfFieldType::Character, 40, 0},
            {QStringLiteral("den"), DbfFieldType::Date, 8, 0},
            {QStringLiteral("platny"), DbfFieldType::Logical, 1, 0},
        };
    }

    DbfTable createSample(const char* name) {
        Result<DbfTable> created = DbfTable::create(file(name), sampleFields());
        if (!created.ok())
            throw std::runtime_error(u8(created.message()));
        return std::move(created).value();
    }

    void createWithOneRow(const char* name) {
        DbfTable table = createSample(name);
        ASSERT_TRUE(table.append({{QStringLiteral("pokladni"), DbfValue::integer(1)}}).ok());
    }

    QTemporaryDir m_dir;
};

TEST_F(DbfTableTest, EveryFieldTypeSurvivesWriteCloseAndReopen) {
    {
        DbfTable table = createSample("exp_data.dbf");
        Result<int> first = table.append({
            {QStringLiteral("POKLADNI"), DbfValue::integer(1)},
            {QStringLiteral("datum"), DbfValue::text(QStringLiteral("20240105"))},
            {QStringLiteral("hodn_che"), DbfValue::number(cents(1250))},
            {QStringLiteral("nazev"), DbfValue::text(QStringLiteral("  odsazený text"))},
            {QStringLiteral("den"), DbfValue::date(QDate(2024, 1, 5))},
            {QStringLiteral("platny"), DbfValue::logical(true)},
        });
        ASSERT_TRUE(first.ok()) << u8(first.message());
        EXPECT_EQ(first.value(), 0);
        // Fields not named stay blank and read back as null.
        Result<int> second = table.append({{QStringLiteral("hodn_che"), DbfValue::number(-cents(99))},
                                           {QStringLiteral("platny"), DbfValue::logical(false)}});
        ASSERT_TRUE(second.ok()) << u8(second.message());
        ASSERT_TRUE(table.close().ok());
    }

    Result<DbfTable> opened = DbfTable::open(file("exp_data.dbf"), DbfTable::Access::ReadOnly);
    ASSERT_TRUE(opened.ok()) << u8(opened.message());
    const DbfTable& table = opened.value();
    ASSERT_EQ(table.recordCount(), 2);
    std::vector<DbfField> expectedFields = sampleFields();
    for (DbfField& f : expectedFields)
        f.name = f.name.toUpper();
    EXPECT_EQ(table.fields(), expectedFields);

    Result<DbfRecord> first = table.read(0);
    ASSERT_TRUE(first.ok()) << u8(first.message());
    EXPECT_EQ(first.value().integer(u"pokladni"), 1);
    EXPECT_EQ(first.value().text(u"Datum"), QStringLiteral("20240105"));
    EXPECT_EQ(first.value().number(u"HODN_CHE"), cents(1250));
    EXPECT_EQ(first.value().text(u"nazev"), QStringLiteral("  odsazený text"));
    EXPECT_EQ(first.value().date(u"den"), QDate(2024, 1, 5));
    EXPECT_EQ(first.value().logical(u"platny"), true);

    Result<DbfRecord> second = table.read(1);
    ASSERT_TRUE(second.ok()) << u8(second.message());
    EXPECT_TRUE(second.value().value(u"pokladni").isNull());
    EXPECT_TRUE(second.value().value(u"nazev").toText().isEmpty());
    EXPECT_TRUE(second.value().value(u"den").isNull());
    EXPECT_EQ(second.value().number(u"hodn_che"), -cents(99));
    EXPECT_EQ(second.value().logical(u"platny"), false);

    // What other dBASE readers see: the Windows-1250 mark, right-aligned numbers, dates as YYYYMMDD.
    const QByteArray bytes = fileBytes(file("exp_data.dbf"));
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x03);
    EXPECT_EQ(static_cast<unsigned char>(bytes[29]), 200);
    EXPECT_TRUE(bytes.contains("    1"
                               "20240105"
                               "       12.50"));
    EXPECT_TRUE(bytes.contains("20240105T"));
}

TEST_F(DbfTableTest, CzechTextIsStoredInWindows1250) {
    const QString text = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy");
    {
        DbfTable table = createSample("customer.dbf");
        ASSERT_TRUE(table.append({{QStringLiteral("nazev"), DbfValue::text(text)}}).ok());
    }
    EXPECT_TRUE(fileBytes(file("customer.dbf")).contains(windows1250(text)));
    Result<DbfTable> table = DbfTable::open(file("customer.dbf"));
    ASSERT_TRUE(table.ok()) << u8(table.message());
    EXPECT_EQ(table.value().read(0).value().text(u"nazev"), text);
}

TEST_F(DbfTableTest, NumbersAreRoundedToTheFieldsDecimalsATieAwayFromZero) {
    DbfTable table = createSample("exp_data.dbf");
    const std::vector<std::pair<qint64, qint64>> unitsToCents = {{123450, 1235}, {123550, 1236},   {-123450, -1235},
                                                                 {123449, 1234}, {6109050, 61091}, {49, 0}};
    for (const auto& [units, expectedCents] : unitsToCents) {
        SCOPED_TRACE(units);
        Result<int> row = table.append({{QStringLiteral("hodn_che"), DbfValue::number(Currency::fromUnits(units))}});
        ASSERT_TRUE(row.ok()) << u8(row.message());
        EXPECT_EQ(table.read(row.value()).value().number(u"hodn_che"), cents(expectedCents));
    }
}

// Every amount the money type holds comes back as it was written, up to the last ten-thousandth of its range;
// one past it is refused, never wrapped.
TEST_F(DbfTableTest, AmountsAtTheEndsOfTheMoneyTypeComeBackWhole) {
    Result<DbfTable> created = DbfTable::create(file("big.dbf"), {{QStringLiteral("hodn"), DbfFieldType::Numeric, 20, 4},
                                                                  {QStringLiteral("hodn2"), DbfFieldType::Numeric, 20, 2},
                                                                  {QStringLiteral("cela"), DbfFieldType::Numeric, 20, 0}});
    ASSERT_TRUE(created.ok()) << u8(created.message());
    DbfTable& table = created.value();
    const std::vector<std::pair<const char*, qint64>> amounts = {{"hodn", std::numeric_limits<qint64>::max()},
                                                                 {"hodn2", qint64(9223372036854775800)},
                                                                 {"hodn2", qint64(-9223372036854775800)}};
    for (const auto& [field, units] : amounts) {
        SCOPED_TRACE(units);
        const QString name = QString::fromLatin1(field);
        Result<int> row = table.append({{name, DbfValue::number(Currency::fromUnits(units))}});
        ASSERT_TRUE(row.ok()) << u8(row.message());
        Result<DbfRecord> read = table.read(row.value());
        ASSERT_TRUE(read.ok()) << u8(read.message());
        EXPECT_EQ(read.value().number(name), Currency::fromUnits(units));
    }
    // A whole number the money type holds reads as an amount; one past it does not.
    ASSERT_TRUE(table.append({{QStringLiteral("cela"), DbfValue::integer(922337203685477)}}).ok());
    ASSERT_TRUE(table.append({{QStringLiteral("cela"), DbfValue::integer(922337203685478)}}).ok());
    EXPECT_EQ(table.read(3).value().value(u"cela").toCurrency(), Currency::fromInt(922337203685477));
    EXPECT_FALSE(table.read(4).value().value(u"cela").toCurrency().has_value());
    ASSERT_TRUE(table.close().ok());

    // One ten-thousandth past the range, as another program may have written it, is refused when read.
    QByteArray bytes = fileBytes(file("big.dbf"));
    const QByteArray written = "922337203685477.5807";
    const qsizetype at = bytes.indexOf(written);
    ASSERT_GE(at, 0);
    bytes.replace(at, written.size(), QByteArray("922337203685477.5808"));
    writeBytes(file("big.dbf"), bytes);
    Result<DbfTable> reopened = DbfTable::open(file("big.dbf"), DbfTable::Access::ReadOnly);
    ASSERT_TRUE(reopened.ok()) << u8(reopened.message());
    EXPECT_FALSE(reopened.value().read(0).ok());
}

// An amount at an end of the money type is written as its true rounding to the field's decimals, or refused as not
// fitting with that number in the message: never clamped back into the range, never with a sign doubled.
TEST_F(DbfTableTest, AnAmountAtAnEndOfTheRangeIsWrittenAsItsTrueRounding) {
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    struct Case {
        int width, decimals;
        qint64 units;
        const char* text; // the field's text
        bool fits;
    };
    const std::vector<Case> cases = {
        {20, 4, kMin, "-922337203685477.5808", false},   // one character too wide
        {20, 4, kMax, "922337203685477.5807", true},     // the top fills the field
        {16, 0, kMin, "-922337203685478", true},         // rounded away from zero, past the range
        {15, 0, kMin, "-922337203685478", false},        // the sign needs room too
        {15, 0, kMax, "922337203685478", true},          // rounded up, not stopped at ...477
        {20, 6, kMin, "-922337203685477.580800", false}, // more decimals than the money type
        {20, 2, -49, "0.00", true},                      // rounds to zero: no sign
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string name = "n" + std::to_string(++n) + ".dbf";
        auto created =
            DbfTable::create(file(name.c_str()), {{QStringLiteral("hod"), DbfFieldType::Numeric, c.width, c.decimals}});
        ASSERT_TRUE(created.ok()) << u8(created.message());
        const Result<int> row =
            created.value().append({{QStringLiteral("hod"), DbfValue::number(Currency::fromUnits(c.units))}});
        ASSERT_TRUE(created.value().close().ok());
        const QByteArray bytes = fileBytes(file(name.c_str()));
        if (c.fits) {
            ASSERT_TRUE(row.ok()) << u8(row.message());
            // The record: the deletion mark, then the number right-aligned in its field.
            EXPECT_TRUE(bytes.contains(' ' + QByteArray(c.text).rightJustified(c.width, ' '))) << bytes.toStdString();
        } else {
            ASSERT_FALSE(row.ok());
            EXPECT_TRUE(row.message().contains(QStringLiteral("číslo %1 se nevejde").arg(QLatin1String(c.text))))
                << u8(row.message());
            EXPECT_FALSE(bytes.contains(QByteArray(c.text).right(8))) << bytes.toStdString();
        }
    }
}

TEST_F(DbfTableTest, WhatDbaseWouldCutOrCorruptIsRefused) {
    // A name past 10 characters would be cut silently by the file format's writer.
    const auto longName =
        DbfTable::create(file("long.dbf"), {{QStringLiteral("hodnota_che"), DbfFieldType::Numeric, 10, 2}});
    ASSERT_FALSE(longName.ok());
    EXPECT_TRUE(longName.message().contains(QStringLiteral("hodnota_che"))) << u8(longName.message());
    EXPECT_FALSE(std::filesystem::exists(file("long.dbf")));

    const auto badFields = std::vector<std::vector<DbfField>>{
        {},
        {{QStringLiteral("a b"), DbfFieldType::Character, 5, 0}},
        {{QStringLiteral("x"), DbfFieldType::Character, 5, 0}, {QStringLiteral("X"), DbfFieldType::Character, 5, 0}},
        {{QStringLiteral("n"), DbfFieldType::Numeric, 3, 2}},
        {{QStringLiteral("c"), DbfFieldType::Character, 255, 0}},
    };
    for (const auto& fields : badFields)
        EXPECT_FALSE(DbfTable::checkFields(fields).ok()) << fields.size();

    DbfTable table = createSample("exp_data.dbf");
    const QByteArray before = fileBytes(file("exp_data.dbf"));
    struct Case {
        const char* field;
        DbfValue value;
        const char* inMessage;
    };
    const std::vector<Case> cases = {
        {"pokladni", DbfValue::integer(123456), "123456"},                              // wider than N(5,0)
        {"pokladni", DbfValue::integer(-99999), "-99999"},                              // the sign needs room too
        {"hodn_che", DbfValue::number(Currency::fromInt(1000000000)), "1000000000.00"}, // wider than N(12,2)
        {"datum", DbfValue::text(QStringLiteral("202401051")), "202401051"},            // longer than C(8)
        {"nazev", DbfValue::text(QStringLiteral("smajlík \U0001F600")), "Windows-1250"},
        {"pokladni", DbfValue::text(QStringLiteral("1")), "POKLADNI"},
        {"nic", DbfValue::integer(1), "nic"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        Result<int> appended = table.append({{QString::fromLatin1(c.field), c.value}});
        ASSERT_FALSE(appended.ok());
        EXPECT_TRUE(appended.message().contains(QString::fromUtf8(c.inMessage))) << u8(appended.message());
    }
    EXPECT_EQ(table.recordCount(), 0);
    EXPECT_EQ(fileBytes(file("exp_data.dbf")), before);

    // An update checks every value before it writes any.
    ASSERT_TRUE(table.append({{QStringLiteral("pokladni"), DbfValue::integer(7)}}).ok());
    const Status update = table.update(0, {{QStringLiteral("datum"), DbfValue::text(QStringLiteral("20240105"))},
                                           {QStringLiteral("pokladni"), DbfValue::integer(100000)}});
    EXPECT_FALSE(update.ok());
    EXPECT_TRUE(table.read(0).value().text(u"datum").isEmpty());
    EXPECT_EQ(table.read(0).value().integer(u"pokladni"), 7);
}

TEST_F(DbfTableTest, AFileThatIsNoTableGivesAnErrorNamingIt) {
    createWithOneRow("valid.dbf");
    const QByteArray valid = fileBytes(file("valid.dbf"));
    QByteArray moreRecordsClaimed = valid;
    moreRecordsClaimed[4] = 9;
    QByteArray memoField = valid;
    memoField[32 + 11] = 'M';

    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const std::vector<Case> cases = {
        {"empty.dbf", QByteArray()},
        {"text.dbf", QByteArray("pokladni;datum;hodnota\r\n001;20240105;12,50\r\n")},
        {"zeros.dbf", QByteArray(600, '\0')},
        {"header_only.dbf", valid.left(40)},
        {"truncated.dbf", moreRecordsClaimed},
        {"memo.dbf", memoField},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(file(c.name), c.bytes);
        Result<DbfTable> opened = DbfTable::open(file(c.name));
        ASSERT_FALSE(opened.ok());
        EXPECT_TRUE(opened.message().contains(QString::fromLatin1(c.name))) << u8(opened.message());
    }
    Result<DbfTable> missing = DbfTable::open(file("missing.dbf"));
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.message().contains(QStringLiteral("missing.dbf"))) << u8(missing.message());
}

TEST_F(DbfTableTest, ATableWrittenElsewhereIsRead) {
    // As another dBASE writer leaves it: lower-case names, a float field, a deleted record, no end-of-file mark.
    QByteArray bytes(32, '\0');
    bytes[0] = 0x03;
    bytes[1] = 124;
    bytes[2] = 1;
    bytes[3] = 5;
    bytes[4] = 2;
    bytes[8] = 32 + 2 * 32 + 1;
    bytes[10] = 1 + 6 + 8;
    const auto descriptor = [](const char* name, char type, int width, int decimals) {
        QByteArray d(32, '\0');
        d.replace(0, static_cast<int>(qstrlen(name)), name);
        d[11] = type;
        d[16] = static_cast<char>(width);
        d[17] = static_cast<char>(decimals);
        return d;
    };
    bytes += descriptor("sm", 'C', 6, 0) + descriptor("hod1", 'F', 8, 3) + QByteArray(1, 0x0D);
    bytes += QByteArray("*101   1.250   ") + QByteArray(" 102      12.5 ");
    writeBytes(file("data.dbf"), bytes);

    Result<DbfTable> table = DbfTable::open(file("data.dbf"));
    ASSERT_TRUE(table.ok()) << u8(table.message());
    EXPECT_EQ(table.value().fieldIndex(u"HOD1"), 1);
    EXPECT_EQ(table.value().isDeleted(0).value(), true);
    Result<std::vector<DbfRecord>> rows = table.value().readAll();
    ASSERT_TRUE(rows.ok()) << u8(rows.message());
    ASSERT_EQ(rows.value().size(), 1u);
    EXPECT_EQ(rows.value()[0].row(), 1);
    EXPECT_EQ(rows.value()[0].text(u"SM"), QStringLiteral("102"));
    EXPECT_EQ(rows.value()[0].number(u"hod1"), cents(1250));
}

TEST_F(DbfTableTest, UpdateFindDeleteAndPack) {
    DbfTable table = createSample("customer.dbf");
    for (int i = 1; i <= 5; ++i) {
        ASSERT_TRUE(table
                        .append({{QStringLiteral("pokladni"), DbfValue::integer(i)},
                                 {QStringLiteral("nazev"), DbfValue::text(QStringLiteral("Zákazník %1").arg(i))}})
                        .ok());
    }
    ASSERT_TRUE(table.update(2, u"nazev", DbfValue::text(QStringLiteral("O'Neill; DROP"))).ok());
    const auto isEven = [](const DbfRecord& r) { return r.integer(u"pokladni").value_or(0) % 2 == 0; };
    EXPECT_EQ(table.find(isEven).value(), (std::vector<int>{1, 3}));

    ASSERT_TRUE(table.remove(1).ok());
    ASSERT_TRUE(table.remove(3).ok());
    EXPECT_TRUE(table.find(isEven).value().empty());
    EXPECT_FALSE(table.update(1, u"pokladni", DbfValue::integer(9)).ok());
    EXPECT_EQ(table.recordCount(), 5);

    const auto sizeBefore = std::filesystem::file_size(file("customer.dbf"));
    ASSERT_TRUE(table.pack().ok());
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_LT(std::filesystem::file_size(file("customer.dbf")), sizeBefore);
    // The packed table is still open for writing.
    ASSERT_TRUE(table.append({{QStringLiteral("pokladni"), DbfValue::integer(6)}}).ok());
    ASSERT_TRUE(table.close().ok());

    Result<DbfTable> reopened = DbfTable::open(file("customer.dbf"));
    ASSERT_TRUE(reopened.ok()) << u8(reopened.message());
    Result<std::vector<DbfRecord>> rows = reopened.value().readAll();
    ASSERT_TRUE(rows.ok());
    std::vector<qint64> numbers;
    for (const DbfRecord& r : rows.value())
        numbers.push_back(r.integer(u"pokladni").value_or(-1));
    EXPECT_EQ(numbers, (std::vector<qint64>{1, 3, 5, 6}));
    EXPECT_EQ(rows.value()[1].text(u"nazev"), QStringLiteral("O'Neill; DROP"));
    // No temporary file is left behind.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("customer.dbf")});
}

TEST_F(DbfTableTest, CreateReplacesOnlyWhenAsked) {
    createWithOneRow("data.dbf");
    const std::vector<DbfField> other = {{QStringLiteral("sm"), DbfFieldType::Character, 4, 0}};

    Result<DbfTable> refused = DbfTable::create(file("data.dbf"), other);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(DbfTable::open(file("data.dbf")).value().recordCount(), 1);

    Result<DbfTable> replaced = DbfTable::create(file("data.dbf"), other, DbfTable::IfExists::Replace);
    ASSERT_TRUE(replaced.ok()) << u8(replaced.message());
    EXPECT_EQ(replaced.value().recordCount(), 0);
    EXPECT_EQ(replaced.value().fields().size(), 1u);
}

TEST_F(DbfTableTest, AReadOnlyTableRefusesWrites) {
    createWithOneRow("exp_data.dbf");
    Result<DbfTable> table = DbfTable::open(file("exp_data.dbf"), DbfTable::Access::ReadOnly);
    ASSERT_TRUE(table.ok());
    EXPECT_FALSE(table.value().append({}).ok());
    EXPECT_FALSE(table.value().update(0, u"pokladni", DbfValue::integer(2)).ok());
    EXPECT_FALSE(table.value().remove(0).ok());
    EXPECT_FALSE(table.value().pack().ok());
    EXPECT_EQ(table.value().read(0).value().integer(u"pokladni"), 1);
}

// A table as another writer leaves it: NAME C(10), FLAG L(5), and the record length the header gives.
QByteArray wideLogicalTable(int recordLength) {
    QByteArray bytes(32, '\0');
    bytes[0] = 0x03;
    bytes[1] = 124;
    bytes[2] = 1;
    bytes[3] = 5;
    bytes[8] = 32 + 2 * 32 + 1;
    bytes[10] = static_cast<char>(recordLength);
    const auto descriptor = [](const char* name, char type, int width) {
        QByteArray d(32, '\0');
        d.replace(0, static_cast<int>(qstrlen(name)), name);
        d[11] = type;
        d[16] = static_cast<char>(width);
        return d;
    };
    bytes += descriptor("NAME", 'C', 10) + descriptor("FLAG", 'L', 5) + QByteArray(1, 0x0D);
    return bytes;
}

TEST_F(DbfTableTest, AWideLogicalFieldIsWrittenToItsWholeWidth) {
    const int headerLength = 32 + 2 * 32 + 1;
    for (const int recordLength : {16, 19}) {
        SCOPED_TRACE(recordLength);
        const auto path = file(recordLength == 16 ? "exact.dbf" : "padded.dbf");
        writeBytes(path, wideLogicalTable(recordLength));
        {
            Result<DbfTable> table = DbfTable::open(path);
            ASSERT_TRUE(table.ok()) << u8(table.message());
            ASSERT_TRUE(table.value()
                            .append({{QStringLiteral("name"), DbfValue::text(QStringLiteral("Nova"))},
                                     {QStringLiteral("flag"), DbfValue::logical(true)}})
                            .ok());
            ASSERT_TRUE(table.value().append({{QStringLiteral("name"), DbfValue::text(QStringLiteral("Bez"))}}).ok());
            ASSERT_TRUE(table.value().update(1, u"flag", DbfValue::logical(false)).ok());
        }
        const QByteArray padding(recordLength - 16, ' ');
        const QByteArray records = fileBytes(path).mid(headerLength);
        EXPECT_EQ(records.left(2 * recordLength),
                  QByteArray(" Nova      T    ") + padding + QByteArray(" Bez       F    ") + padding);
        EXPECT_LE(records.size(), 2 * recordLength + 1); // at most the end-of-file mark after the records

        Result<DbfTable> reopened = DbfTable::open(path, DbfTable::Access::ReadOnly);
        ASSERT_TRUE(reopened.ok()) << u8(reopened.message());
        Result<std::vector<DbfRecord>> rows = reopened.value().readAll();
        ASSERT_TRUE(rows.ok()) << u8(rows.message());
        ASSERT_EQ(rows.value().size(), 2u);
        EXPECT_EQ(rows.value()[0].logical(u"FLAG"), true);
        EXPECT_EQ(rows.value()[1].text(u"NAME"), QStringLiteral("Bez"));
        EXPECT_EQ(rows.value()[1].logical(u"FLAG"), false);
    }
}

TEST_F(DbfTableTest, ARecordShorterThanItsFieldsIsRefused) {
    writeBytes(file("short.dbf"), wideLogicalTable(12));
    Result<DbfTable> table = DbfTable::open(file("short.dbf"));
    ASSERT_FALSE(table.ok());
    EXPECT_TRUE(table.message().contains(QStringLiteral("short.dbf"))) << u8(table.message());
    EXPECT_TRUE(table.message().contains(QStringLiteral("délka záznamu"))) << u8(table.message());
}

#ifdef Q_OS_UNIX
TEST_F(DbfTableTest, AFullDiskWhileAppendingIsAFailedWrite) {
    DbfTable table = createSample("exp_data.dbf");
    test::SmallFileSizeLimit limit;
    ASSERT_TRUE(limit.set());
    Status failed;
    for (int i = 0; i < 100 && failed.ok(); ++i) {
        Result<int> row = table.append({{QStringLiteral("pokladni"), DbfValue::integer(i)}});
        if (!row.ok())
            failed = row.error();
    }
    ASSERT_FALSE(failed.ok());
    EXPECT_TRUE(failed.message().startsWith(QStringLiteral("Zápis do tabulky"))) << u8(failed.message());
    EXPECT_TRUE(failed.message().contains(QStringLiteral("exp_data.dbf"))) << u8(failed.message());
    EXPECT_FALSE(failed.message().contains(QStringLiteral("čtení"), Qt::CaseInsensitive)) << u8(failed.message());
}
#endif

// A table that cannot be made, opened or written is named, with the cause as SystemErrors tells it (in Czech for the
// common causes) and the system's own text once: a write, a seek and a close that fail for one cause are one cause.
TEST_F(DbfTableTest, AFailureNamesTheTableAndItsCauseOnce) {
    struct Case {
        const char* name;
        Status status;
        std::filesystem::path table;
        int error;
        const char* czech; // nullptr where the system's text alone tells the cause
    };
    std::vector<Case> cases{
        {"create in a missing folder", Status::from(DbfTable::create(file("chybí") / "exp_data.dbf", sampleFields())),
         file("chybí") / "exp_data.dbf", ENOENT, "soubor nebo složka neexistuje"},
        {"open a missing table", Status::from(DbfTable::open(file("exp_data.dbf"))), file("exp_data.dbf"), ENOENT,
         "soubor nebo složka neexistuje"},
    };
#ifdef Q_OS_UNIX
    {
        // No byte can be written: the first close already fails, and every one after it.
        test::SmallFileSizeLimit limit(0);
        ASSERT_TRUE(limit.set());
        cases.push_back({"create with no byte writable",
                         Status::from(DbfTable::create(file("plna.dbf"), sampleFields())), file("plna.dbf"), EFBIG,
                         nullptr});
    }
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.status.ok());
        const QString message = c.status.message();
        const QString systemText = QString::fromLocal8Bit(std::generic_category().message(c.error));
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(QString::fromStdU16String(c.table.u16string()))))
            << u8(message);
        EXPECT_TRUE(message.endsWith(c.czech ? QString::fromUtf8(c.czech) + QStringLiteral(" (") + systemText + u')'
                                             : systemText))
            << u8(message);
        EXPECT_EQ(message.count(systemText), 1) << u8(message);
        EXPECT_FALSE(message.contains(QStringLiteral(".tmp"))) << u8(message);
    }
}

} // namespace
} // namespace trv

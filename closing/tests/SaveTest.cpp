#include "closing/ReceiptDayTotals.h"
#include "closing/ReceiptFiles.h"
#include "closing/ReceiptSave.h"
#include "closing/TicketsExport.h"
#include "closing/tests/ClosingFixture.h"
#include "platform/Conventions.h"
#include "platform/DbfTable.h"
#include "platform/TicketsDatabase.h"
#include "testsupport/db/PostgresServer.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QDir>
#include <QTemporaryDir>

#include <map>

using namespace trv;
using namespace trv::test;

namespace {

const QString kDayName = QStringLiteral("260314007_2.txt");

// The day data file of the fixture's receipt: every code, NOREAD readings and repeated codes included.
QString dayFileText() {
    return QStringLiteral("0123456789010005500001\r\nNOREAD\r\n0987654321090010000002\r\n0555555555550005500003\r\n"
                          "0123456789010005500001\r\nNOREAD\r\n1234561000\r\n1234570555\r\n1234580500\r\n"
                          "1234561000\r\n");
}

std::vector<DbfRecord> expDataRows(const std::filesystem::path& folder) {
    auto table = DbfTable::open(folder / "exp_data.dbf", DbfTable::Access::ReadOnly);
    EXPECT_TRUE(table.ok()) << table.message().toStdString();
    if (!table.ok())
        return {};
    auto rows = table.value().readAll();
    EXPECT_TRUE(rows.ok());
    return rows.ok() ? rows.value() : std::vector<DbfRecord>{};
}

} // namespace

TEST_F(ClosingTest, CashDeskSaveWritesTheDayFileTheCompanyExportAndTheDayTotals) {
    const auto dayFile = env.dataFile(kDayName);
    ASSERT_TRUE(TextFiles::writeAll(dayFile, QStringLiteral("stary obsah\r\n")).ok());
    UlozeniPrijmu save(env.state, env.receipt, env.prompts, env.clock);

    ASSERT_TRUE(save.uloz(dayFile));

    EXPECT_EQ(env.bytes(dayFile), env.stored(dayFileText()));
    const auto exportFile = env.folder / "sodexo" / "260314007_2.sod";
    EXPECT_EQ(env.bytes(exportFile),
              env.stored(QStringLiteral("260314007_2|1234561000|0|\r\n260314007_2|1234570555|0|\r\n"
                                        "260314007_2|1234580500|0|\r\n260314007_2|1234561000|0|\r\n")));
    EXPECT_TRUE(env.sod->Cesta.endsWith(u'/'));

    const auto rows = expDataRows(env.folder / "export");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].integer(u"pokladni"), 7);
    EXPECT_EQ(rows[0].text(u"datum"), QStringLiteral("20260314"));
    EXPECT_EQ(rows[0].number(u"hodn_CHe"), Currency::fromInt(265));
    EXPECT_EQ(rows[0].number(u"hodn_Sod"), Currency::fromCents(30550));
    EXPECT_EQ(rows[0].number(u"hodn_Exi"), Currency());
    EXPECT_EQ(rows[0].number(u"hodn_Tic"), Currency());

    const auto& shown = env.prompts.records();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].title, QStringLiteral("Export dat"));
    EXPECT_EQ(shown[0].text, QStringLiteral("Data byla exportována do souboru ") + TextFiles::toQString(exportFile));
    EXPECT_EQ(shown[1].text,
              QStringLiteral("Soubor ") + TextFiles::toQString(dayFile) + QStringLiteral(" byl uložen."));
    EXPECT_EQ(shown[1].icon, Prompts::Icon::None);

    // Saving again gives the same row: it is computed from the day files on disk, never added to.
    ASSERT_TRUE(save.uloz(dayFile));
    const auto again = expDataRows(env.folder / "export");
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].number(u"hodn_CHe"), Currency::fromInt(265));
    EXPECT_EQ(again[0].number(u"hodn_Sod"), Currency::fromCents(30550));
}

// A receipt appended to an earlier day file books that file's codes again; the row of its cash desk and day
// counts every day file of that desk and day on disk once, and no file of another desk or day.
TEST_F(ClosingTest, TheDayTotalsRowIsRecomputedFromTheDayFilesOnDisk) {
    const auto dayFile = env.dataFile(kDayName);
    ASSERT_TRUE(TextFiles::writeAll(env.dataFile(QStringLiteral("260314007_1.txt")),
                                    QStringLiteral("0111111111110002000009\r\n")).ok());
    ASSERT_TRUE(TextFiles::writeAll(env.dataFile(QStringLiteral("260314008_1.txt")),
                                    QStringLiteral("0111111111110090000009\r\n")).ok());
    ASSERT_TRUE(TextFiles::writeAll(env.dataFile(QStringLiteral("260315007_1.txt")),
                                    QStringLiteral("0111111111110090000009\r\n")).ok());
    // An older row of the desk and day, written when the earlier file was saved, is replaced, not added to.
    ASSERT_TRUE(zapisDoExpData(env.folder / "export",
                               DayTotals::Row{7, QDate(2026, 3, 14), Currency::fromInt(999), {}, {}, {}})
                    .ok());
    UlozeniPrijmu save(env.state, env.receipt, env.prompts, env.clock);
    ASSERT_TRUE(save.uloz(dayFile));
    const auto rows = expDataRows(env.folder / "export");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].integer(u"pokladni"), 7);
    EXPECT_EQ(rows[0].number(u"hodn_CHe"), Currency::fromInt(285));
    EXPECT_EQ(rows[0].number(u"hodn_Sod"), Currency::fromCents(30550));
}

// Barcode.txt has no cash desk: its save leaves exp_data alone without a word. Any other name that is not a
// cash-desk name is warned of, and the end says the day totals were not written.
TEST_F(ClosingTest, AReceiptNotNamedByCashDeskLeavesTheDayTotalsAlone) {
    for (const char* name : {"Barcode.txt", "BARCODE.TXT", "prijem.txt"}) {
        SCOPED_TRACE(name);
        ClosingEnv fresh;
        const auto dayFile = fresh.dataFile(QString::fromLatin1(name));
        UlozeniPrijmu save(fresh.state, fresh.receipt, fresh.prompts, fresh.clock);
        ASSERT_TRUE(save.uloz(dayFile));
        EXPECT_EQ(fresh.bytes(dayFile), fresh.stored(dayFileText()));
        EXPECT_FALSE(TextFiles::exists(fresh.folder / "export" / "exp_data.dbf"));
        const QStringList texts = fresh.prompts.texts();
        const QString saved = QStringLiteral("Soubor ") + TextFiles::toQString(dayFile) + QStringLiteral(" byl uložen.");
        if (QString::fromLatin1(name).startsWith(u'B', Qt::CaseInsensitive)) {
            EXPECT_EQ(texts.mid(1), QStringList{saved});
            continue;
        }
        ASSERT_EQ(texts.size(), 3u);
        EXPECT_EQ(texts[1], QStringLiteral("Denní součty do exp_data nebyly zapsány: název souboru neudává datum a "
                                           "pokladnu: prijem.txt"));
        EXPECT_EQ(fresh.prompts.records()[1].icon, Prompts::Icon::Exclamation);
        EXPECT_EQ(texts[2], saved + QStringLiteral("\r\nUloženo: denní soubor, export Sodexo Pass.\r\n"
                                                   "Neuloženo: denní součty v exp_data."));
    }
}

// The value field of a statement record is the "###0.00" text of the value, whatever the value.
TEST(StatementValueTest, TheValueTextIsThePatternsText) {
    for (const qint64 units : {0LL, 10000LL, 550000LL, 555000LL, 5000LL, 100LL, -550000LL, -100LL, 12345678900LL,
                               125LL, 26790LL, -26790LL, 6109050LL, 99LL, -1LL}) {
        SCOPED_TRACE(units);
        QString text;
        pripojHodnotu(text, Currency::fromUnits(units));
        EXPECT_EQ(text, formatNumber(Currency::fromUnits(units), u"###0.00"));
    }
}

TEST_F(ClosingTest, StatementFileLayoutsFollowTheSwitches) {
    const struct {
        const char* name;
        bool depo;
        bool bezData;
        QString first;
    } cases[] = {
        {"default", false, false, QStringLiteral("260316;260314;042;1;0123456789010005500001;55,00;Novák")},
        {"without date", false, true, QStringLiteral("260314;042;1;0123456789010005500001;55,00;Novák")},
        {"depot", true, true, QStringLiteral("D07;260314;OB-2026-0001;042;1;0123456789010005500001;55,00;Novák")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        env.state.sw.gFDepo = c.depo;
        env.state.sw.gFVycBezData = c.bezData;
        env.receipt.gDatumVycetky = QStringLiteral("260316");
        QStringList records;
        ASSERT_TRUE(zaznamyVycetky(env.state, *env.types, env.receipt, QStringLiteral(";"),
                                   [&](QStringView record) { records.append(record.toString()); })
                        .ok());
        // Eight codes: NOREAD readings left out, the repeated codes kept.
        ASSERT_EQ(records.size(), 8);
        EXPECT_EQ(records[0], c.first);
        EXPECT_TRUE(records[4].contains(QStringLiteral(";2;1234561000;100,00;")));
        EXPECT_TRUE(records[5].contains(QStringLiteral(";2;1234570555;55,50;")));
    }
}

TEST_F(ClosingTest, StatementModeSaveWritesTheStatementFileAndTellsOfBothFiles) {
    env.state.sw.gFVycetky = true;
    env.writeConfig(QString()); // ";" is the separator
    const auto dayFile = env.dataFile(QStringLiteral("260314_042_Novak_1.txt"));
    UlozeniPrijmu save(env.state, env.receipt, env.prompts, env.clock);
    ASSERT_TRUE(save.uloz(dayFile));

    EXPECT_EQ(env.receipt.gDatumVycetky, QStringLiteral("260316"));
    const auto statement = env.dataFile(QStringLiteral("260314_042_Novak_1.vyc"));
    EXPECT_EQ(env.bytes(statement),
              env.stored(QStringLiteral("260316;260314;042;1;0123456789010005500001;55,00;Novák\r\n"
                                        "260316;260314;042;1;0987654321090010000002;100,00;Novák\r\n"
                                        "260316;260314;042;1;0555555555550005500003;55,00;Novák\r\n"
                                        "260316;260314;042;1;0123456789010005500001;55,00;Novák\r\n"
                                        "260316;260314;042;2;1234561000;100,00;Novák\r\n"
                                        "260316;260314;042;2;1234570555;55,50;Novák\r\n"
                                        "260316;260314;042;2;1234580500;50,00;Novák\r\n"
                                        "260316;260314;042;2;1234561000;100,00;Novák\r\n")));
    EXPECT_EQ(env.bytes(dayFile), env.stored(dayFileText()));
    const QStringList texts = env.prompts.texts();
    ASSERT_EQ(texts.size(), 3u); // the company export, the statement file, the day data file
    EXPECT_EQ(texts[1],
              QStringLiteral("Výčetkový soubor ") + TextFiles::toQString(statement) + QStringLiteral(" byl uložen."));
    EXPECT_EQ(texts[2], QStringLiteral("Soubor ") + TextFiles::toQString(dayFile) + QStringLiteral(" byl uložen."));
    // Statement mode keeps away from the day totals.
    EXPECT_FALSE(TextFiles::exists(env.folder / "export" / "exp_data.dbf"));
}

// A statement file that cannot be written is reported as such, and the end says the day file was saved and the
// statement file was not.
TEST_F(ClosingTest, AFailedStatementFileIsNamedAtTheEnd) {
    env.state.sw.gFVycetky = true;
    env.sod->Export = 0;
    const auto dayFile = env.dataFile(QStringLiteral("260314_042_Novak_1.txt"));
    std::filesystem::create_directory(env.dataFile(QStringLiteral("260314_042_Novak_1.vyc")));
    UlozeniPrijmu save(env.state, env.receipt, env.prompts, env.clock);
    ASSERT_TRUE(save.uloz(dayFile));
    const auto& shown = env.prompts.records();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("Chyba při ukládání výčetkového souboru.\r\ndescr: ")));
    EXPECT_EQ(shown[1].text, QStringLiteral("Soubor ") + TextFiles::toQString(dayFile) +
                                 QStringLiteral(" byl uložen.\r\nUloženo: denní soubor.\r\nNeuloženo: výčetkový soubor."));
    EXPECT_EQ(shown[1].icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(env.bytes(dayFile), env.stored(dayFileText()));
}

TEST_F(ClosingTest, DepotModeInsertsTicketsIntoTheEmbeddedDatabase) {
    env.state.sw.gFVycetky = true;
    env.state.sw.gFDepo = true;
    env.sod->Export = 0;
    const auto dayFile = env.dataFile(QStringLiteral("260314_042_Novak_1.txt"));
    UlozeniPrijmu save(env.state, env.receipt, env.prompts, env.clock);
    ASSERT_TRUE(save.uloz(dayFile));

    EXPECT_EQ(env.prompts.texts(), QStringList{QStringLiteral("Export byl proveden.")});
    auto db = TicketsDatabase::openSqlite(env.folder / "data" / "tickets.sqlite");
    ASSERT_TRUE(db.ok()) << db.message().toStdString();
    const auto rows = db.value()->readAll();
    ASSERT_TRUE(rows.ok());
    ASSERT_EQ(rows.value().size(), 8u);
    TicketRow first;
    first.depo = QStringLiteral("D07");
    first.dat = QDate(2026, 3, 14);
    first.identObalky = QStringLiteral("OB-2026-0001");
    first.identFa = QStringLiteral("FA-77");
    first.ticketType = QStringLiteral("1");
    first.code = QStringLiteral("0123456789010005500001");
    first.value = Currency::fromInt(55);
    first.operatorName = QStringLiteral("Novák");
    EXPECT_EQ(rows.value()[0], first);
    EXPECT_EQ(std::count_if(rows.value().begin(), rows.value().end(),
                            [](const TicketRow& r) { return r.code == QStringLiteral("1234570555"); }),
              1);
    // As the database's other readers see it: the amount in crowns, not in hundredths.
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw-tickets"));
        raw.setDatabaseName(TextFiles::toQString(env.folder / "data" / "tickets.sqlite"));
        ASSERT_TRUE(raw.open());
        QSqlQuery query(raw);
        ASSERT_TRUE(query.exec(QStringLiteral("SELECT VALUE FROM tickets WHERE CODE = '0123456789010005500001'")));
        ASSERT_TRUE(query.next());
        EXPECT_DOUBLE_EQ(query.value(0).toDouble(), 55.0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw-tickets"));
}

// The tickets rows as the depot's other readers see them: per envelope and code, how many rows.
std::map<QString, int> ticketsPerEnvelopeAndCode(const std::filesystem::path& file) {
    std::map<QString, int> counts;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw-count"));
        raw.setDatabaseName(TextFiles::toQString(file));
        EXPECT_TRUE(raw.open());
        QSqlQuery query(raw);
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT DEPO, IDENT_OBALKY, IDENT_FA, CODE, count(*) FROM tickets "
                                              "GROUP BY DEPO, IDENT_OBALKY, IDENT_FA, CODE")));
        while (query.next())
            counts[QStringList{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                               query.value(3).toString()}
                       .join(u'|')] = query.value(4).toInt();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw-count"));
    return counts;
}

// Saved again, after a save a kill cut short or after codes were appended, a receipt adds to the tickets table only
// the rows it does not hold yet with its DEPO, IDENT_OBALKY, IDENT_FA and CODE; a code it holds twice keeps two.
TEST_F(ClosingTest, DepotModeSavedAgainAddsOnlyTheTicketsRowsTheTableLacks) {
    env.state.sw.gFVycetky = true;
    env.state.sw.gFDepo = true;
    env.sod->Export = 0;
    const auto dayFile = env.dataFile(QStringLiteral("260314_042_Novak_1.txt"));
    const auto database = env.folder / "data" / "tickets.sqlite";
    UlozeniPrijmu save(env.state, env.receipt, env.prompts, env.clock);
    ASSERT_TRUE(save.uloz(dayFile));
    // The same code under another envelope is no row of this receipt.
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw-insert"));
        raw.setDatabaseName(TextFiles::toQString(database));
        ASSERT_TRUE(raw.open());
        QSqlQuery query(raw);
        ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO tickets (DEPO, IDENT_OBALKY, IDENT_FA, CODE) "
                                              "VALUES ('D07', 'OB-2026-0002', 'FA-77', '1234561000')")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw-insert"));

    const auto key = [](const QString& obalka, const QString& code) {
        return QStringLiteral("D07|%1|FA-77|%2").arg(obalka, code);
    };
    const QString ob = QStringLiteral("OB-2026-0001");
    std::map<QString, int> expected{{key(ob, ClosingEnv::kChe55a), 2},
                                    {key(ob, ClosingEnv::kChe100), 1},
                                    {key(ob, ClosingEnv::kChe55b), 1},
                                    {key(ob, ClosingEnv::kSod100), 2},
                                    {key(ob, ClosingEnv::kSod55_5), 1},
                                    {key(ob, ClosingEnv::kSod50), 1},
                                    {key(QStringLiteral("OB-2026-0002"), ClosingEnv::kSod100), 1}};
    ASSERT_TRUE(save.uloz(dayFile));
    EXPECT_EQ(ticketsPerEnvelopeAndCode(database), expected);

    // Appended to: a third reading of a code held twice, and a code new to the receipt.
    env.book(env.sod, ClosingEnv::kSod100);
    env.book(env.sod, QStringLiteral("1234590777"));
    ASSERT_TRUE(save.uloz(dayFile));
    expected[key(ob, ClosingEnv::kSod100)] = 3;
    expected[key(ob, QStringLiteral("1234590777"))] = 1;
    EXPECT_EQ(ticketsPerEnvelopeAndCode(database), expected);
}

// DAT is the day of the save, not the day the receipt was read: read as the depot's other readers read it.
TEST_F(ClosingTest, TicketsDateIsTheDayOfTheSave) {
    env.state.sw.gFVycetky = true;
    env.state.sw.gFDepo = true;
    env.sod->Export = 0;
    env.receipt.gDatumPrijmu = QStringLiteral("260310");
    env.receipt.gDatumOdvodu = QDate(2026, 3, 11);
    UlozeniPrijmu save(env.state, env.receipt, env.prompts, env.clock); // the clock says 14 March 2026
    ASSERT_TRUE(save.uloz(env.dataFile(QStringLiteral("260310_042_Novak_1.txt"))));
    QStringList days;
    {
        auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("ticketsDateReader"));
        db.setDatabaseName(TextFiles::toQString(env.folder / "data" / "tickets.sqlite"));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral("SELECT DISTINCT DAT FROM tickets")));
        while (query.next())
            days.append(query.value(0).toString());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("ticketsDateReader"));
    EXPECT_EQ(days, QStringList{QStringLiteral("2026-03-14")});
}

TEST_F(ClosingTest, AnUnreachableDatabaseIsReportedAndNothingIsClaimed) {
    env.state.sw.gFVycetky = true;
    env.state.sw.gFDepo = true;
    env.sod->Export = 0;
    env.writeConfig(QStringLiteral("ConnString=host=%1 dbname=vouchers user=office\r\n")
                        .arg(TextFiles::toQString(env.folder / "no-server")));
    const auto dayFile = env.dataFile(QStringLiteral("260314_042_Novak_1.txt"));
    UlozeniPrijmu save(env.state, env.receipt, env.prompts, env.clock);
    EXPECT_TRUE(save.uloz(dayFile)); // the receipt's codes are saved in its day file

    ASSERT_EQ(env.prompts.records().size(), 1u);
    EXPECT_EQ(env.prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(
        env.prompts.records()[0].text.startsWith(QStringLiteral("Chyba při zápisu do databáze.\r\ndescr: ")));
    EXPECT_EQ(env.bytes(dayFile), env.stored(dayFileText()));
}

TEST_F(ClosingTest, AFailingExportIsReportedAndLeavesTheDayFileWhole) {
    const auto dayFile = env.dataFile(kDayName);
    // A folder where the company export file belongs, and a file where the export folder of the day totals belongs.
    std::filesystem::create_directory(env.folder / "sodexo" / "260314007_2.sod");
    ASSERT_TRUE(TextFiles::writeAll(env.folder / "not-a-folder", QStringLiteral("x")).ok());
    env.writeConfig(QString());
    ASSERT_TRUE(
        env.state.config
            .zapis(QStringLiteral("Data"), QStringLiteral("ExpDir"), TextFiles::toQString(env.folder / "not-a-folder"))
            .ok());
    UlozeniPrijmu save(env.state, env.receipt, env.prompts, env.clock);
    EXPECT_TRUE(save.uloz(dayFile));

    EXPECT_EQ(env.bytes(dayFile), env.stored(dayFileText()));
    const auto& shown = env.prompts.records();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].icon, Prompts::Icon::Critical);
    // Each failure says what failed; the end says what was saved and what was not.
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral(
        "Export společnosti se nezdařil (denní soubor je uložen): Sodexo Pass\r\ndescr: ")));
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("260314007_2.sod")));
    EXPECT_EQ(shown[1].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(shown[1].text.startsWith(
        QStringLiteral("Denní součty do tabulky exp_data se nepodařilo zapsat (denní soubor je uložen).\r\n")))
        << shown[1].text.toStdString();
    EXPECT_EQ(shown[2].text, QStringLiteral("Soubor ") + TextFiles::toQString(dayFile) +
                                 QStringLiteral(" byl uložen.\r\nUloženo: denní soubor.\r\n"
                                                "Neuloženo: export Sodexo Pass, denní součty v exp_data."));
    EXPECT_EQ(shown[2].icon, Prompts::Icon::Exclamation);
}

TEST_F(ClosingTest, AReadOnlyDayFileIsNeitherRewrittenNorExported) {
    const auto dayFile = env.dataFile(kDayName);
    ASSERT_TRUE(TextFiles::writeAll(dayFile, QStringLiteral("puvodni\r\n")).ok());
    std::filesystem::permissions(dayFile, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    UlozeniPrijmu save(env.state, env.receipt, env.prompts, env.clock);

    EXPECT_FALSE(save.uloz(dayFile));
    EXPECT_EQ(env.bytes(dayFile), QByteArray("puvodni\r\n"));
    EXPECT_FALSE(TextFiles::exists(env.folder / "sodexo" / "260314007_2.sod"));
    EXPECT_FALSE(TextFiles::exists(env.folder / "export" / "exp_data.dbf"));
    ASSERT_EQ(env.prompts.records().size(), 1u);
    EXPECT_EQ(env.prompts.records()[0].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(env.prompts.records()[0].text.contains(QStringLiteral("jen pro čtení")));
    // The operator reads what failed, not the name of the procedure that noticed it.
    EXPECT_TRUE(env.prompts.records()[0].text.startsWith(QStringLiteral("Chyba při ukládání souboru.")))
        << env.prompts.records()[0].text.toStdString();

    // A day file whose folder is gone fails the same way, saying that the folder is missing.
    EXPECT_FALSE(save.uloz(env.folder / "gone" / kDayName.toStdU16String()));
    ASSERT_EQ(env.prompts.records().size(), 2u);
    EXPECT_TRUE(env.prompts.records()[1].text.contains(QStringLiteral("soubor nebo složka neexistuje")))
        << env.prompts.records()[1].text.toStdString();
}

TEST_F(ClosingTest, CompanyExportGapsAreReportedAndSkipped) {
    const struct {
        const char* name;
        std::function<void(CStrav&)> change;
        QString message;
    } cases[] = {
        {"type", [](CStrav& t) { t.ExpTyp = QStringLiteral("EDENRED"); },
         QStringLiteral("Pro stravenku Sodexo Pass není definován typ exportu.")},
        {"folder", [](CStrav& t) { t.Cesta.clear(); },
         QStringLiteral("Pro stravenku Sodexo Pass není definována cesta pro export.")},
        {"missing folder", [this](CStrav& t) { t.Cesta = TextFiles::toQString(env.folder / "nowhere"); },
         QStringLiteral("Adresář ") + TextFiles::toQString(env.folder / "nowhere") +
             QStringLiteral(" pro export neexistuje.")},
        {"extension", [](CStrav& t) { t.Pripona.clear(); },
         QStringLiteral("Pro stravenku Sodexo Pass není definována přípona souboru exportu.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClosingEnv local;
        c.change(*local.sod);
        UlozeniPrijmu save(local.state, local.receipt, local.prompts, local.clock);
        ASSERT_TRUE(save.uloz(local.dataFile(kDayName)));
        ASSERT_GE(local.prompts.records().size(), 1u);
        EXPECT_EQ(local.prompts.records()[0].text, c.message);
        EXPECT_EQ(local.prompts.records()[0].title, QStringLiteral("Export dat"));
        EXPECT_EQ(local.prompts.records()[0].icon, Prompts::Icon::Information);
        EXPECT_EQ(local.bytes(local.dataFile(kDayName)), local.stored(dayFileText()));
    }
}

TEST_F(ClosingTest, SafeBagListsOfTheSameSecondGetNamesOfTheirOwn) {
    const auto folder = env.folder / "sfb";
    const QDateTime at(QDate(2026, 3, 14), QTime(16, 45, 30));
    // A list of this second was taken over by the period summary already.
    ASSERT_TRUE(TextFiles::writeAll(folder / "260314164530.exp", QStringLiteral("stara\r\n")).ok());
    const auto first = zapisSafeBag(folder, *env.types, at);
    ASSERT_TRUE(first.ok());
    env.book(env.tic, QStringLiteral("ABCDEFGH0100"));
    const auto second = zapisSafeBag(folder, *env.types, at);
    ASSERT_TRUE(second.ok());

    EXPECT_EQ(first.value().filename(), std::filesystem::path("260314164531.sfb"));
    EXPECT_EQ(second.value().filename(), std::filesystem::path("260314164532.sfb"));
    EXPECT_EQ(env.bytes(first.value()), env.stored(dayFileText()));
    EXPECT_EQ(env.bytes(second.value()), env.stored(dayFileText() + QStringLiteral("ABCDEFGH0100\r\n")));
    EXPECT_EQ(env.bytes(folder / "260314164530.exp"), QByteArray("stara\r\n"));
}

// Without [Data] DirSFB the safe-bag list goes to the program folder, the stand-in for "C:\".
TEST_F(ClosingTest, TheSafeBagListWithoutItsFolderKeyGoesToTheProgramFolder) {
    ASSERT_TRUE(TextFiles::writeAll(env.folder / "TRV7300.ini",
                                    QStringLiteral("[Data]\r\nDir=%1\r\n").arg(TextFiles::toQString(env.folder / "data")))
                    .ok());
    UlozeniPrijmu save(env.state, env.receipt, env.prompts, env.clock);
    EXPECT_TRUE(save.ulozSafeBag());
    EXPECT_EQ(env.bytes(env.folder / "260314164530.sfb"), env.stored(dayFileText()));
    EXPECT_TRUE(env.prompts.records().empty());
}

class ClosingPostgresTest : public PostgresTest {
protected:
    ClosingEnv env;
};

TEST_F(ClosingPostgresTest, DepotModeInsertsTicketsIntoTheConfiguredServer) {
    env.state.sw.gFVycetky = true;
    env.state.sw.gFDepo = true;
    env.sod->Export = 0;
    env.writeConfig(QStringLiteral("ConnString=%1\r\n").arg(connectionString()));
    UlozeniPrijmu save(env.state, env.receipt, env.prompts, env.clock);
    ASSERT_TRUE(save.uloz(env.dataFile(QStringLiteral("260314_042_Novak_1.txt"))));
    EXPECT_EQ(env.prompts.texts(), QStringList{QStringLiteral("Export byl proveden.")});

    auto db = TicketsDatabase::connectPostgres(connectionString());
    ASSERT_TRUE(db.ok()) << db.message().toStdString();
    const auto rows = db.value()->readAll();
    ASSERT_TRUE(rows.ok()) << rows.message().toStdString();
    ASSERT_EQ(rows.value().size(), 8u);
    QStringList codes;
    for (const auto& r : rows.value()) {
        codes.append(r.code);
        EXPECT_EQ(r.operatorName, QStringLiteral("Novák"));
        EXPECT_EQ(r.dat, QDate(2026, 3, 14));
        EXPECT_FALSE(r.imported.isValid());
    }
    EXPECT_EQ(codes.count(QStringLiteral("1234561000")), 2);
    const auto sod55 = std::find_if(rows.value().begin(), rows.value().end(),
                                    [](const TicketRow& r) { return r.code == QStringLiteral("1234570555"); });
    ASSERT_NE(sod55, rows.value().end());
    EXPECT_EQ(sod55->value, Currency::fromCents(5550));
    EXPECT_EQ(sod55->ticketType, QStringLiteral("2"));

    // A row the table cannot take (an operator name longer than its column) fails the whole save of the rows: none
    // is added.
    env.receipt.gOperator = QString(21, QLatin1Char('N'));
    ScriptedPrompts quiet([](const QString&) {});
    UlozeniPrijmu failing(env.state, env.receipt, quiet, env.clock);
    EXPECT_TRUE(failing.uloz(env.dataFile(QStringLiteral("260314_042_Novak_1.txt"))));
    EXPECT_TRUE(quiet.texts().last().startsWith(QStringLiteral("Chyba při zápisu do databáze.")));
    EXPECT_EQ(db.value()->readAll().value().size(), 8u);
}

TEST_F(ClosingTest, RelativeCompanyExportFolderIsTheProgramFolders) {
    // The process runs from another folder, which holds an export folder of the same name: it stays empty.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    std::filesystem::create_directories(TextFiles::toPath(elsewhere.path()) / "sodexo");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    env.sod->Cesta = QStringLiteral("sodexo");
    UlozeniPrijmu save(env.state, env.receipt, env.prompts, env.clock);
    const bool saved = save.uloz(env.dataFile(kDayName));
    QDir::setCurrent(before);

    ASSERT_TRUE(saved);
    EXPECT_TRUE(TextFiles::exists(env.folder / "sodexo" / "260314007_2.sod"));
    EXPECT_FALSE(TextFiles::exists(TextFiles::toPath(elsewhere.path()) / "sodexo" / "260314007_2.sod"));
}

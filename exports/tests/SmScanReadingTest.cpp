#include "exports/SmScan.h"

#include "core/StatementLine.h"
#include "exports/SmExports.h"
#include "platform/Progress.h"
#include "platform/TextCodec.h"
#include "testsupport/CancellingProgress.h"

#include <algorithm>
#include <functional>

#include "ExportsFixture.h"

namespace trv::test {
namespace {

using SmScanReadingTest = ExportsFixture;

// The scan reads a statement file a piece at a time, yet decides its encoding on the whole file. The separator
// "Ĺ¤" is, in Windows-1250, the bytes of "ť" in UTF-8: a first piece taken for UTF-8 would split no line. The file's
// only byte that is no UTF-8 stands in its last line, past the first piece.
TEST_F(SmScanReadingTest, AFileIsReadInTheEncodingOfItsWholeBytesWhereverItsFirstInvalidByteLies) {
    write(home / "TRV7300.ini", "[Data]\r\nDir=data\r\nExpTxtSeparator=\xC4\xB9\xC2\xA4\r\n");
    auto types = newPeriod();
    const SmScanRequest request{QDate(2015, 1, 10), QDate(2015, 1, 12), {}, {}, false, nullptr};
    const SmScanVariant variant{SmScanVariant::Columns::PerType, SmScanVariant::Value::Field, false, false};
    constexpr int kLines = 25000;
    for (const TextEncoding enc : {TextEncoding::Windows1250, TextEncoding::Utf8}) {
        SCOPED_TRACE(int(enc));
        QByteArray file;
        const auto line = [&](int serial, const char* oper) {
            const QString text = QStringLiteral("150110Ĺ¤150110Ĺ¤101Ĺ¤1Ĺ¤") + code(10, 1000, serial) +
                                 QStringLiteral("Ĺ¤10,50Ĺ¤") + QString::fromUtf8(oper) + QStringLiteral("\r\n");
            file += encodeText(text, enc);
        };
        for (int i = 0; i < kLines; ++i)
            line(i, "OP1");
        ASSERT_GT(file.size(), StatementLine::kPieceSize);
        line(kLines, "Šárka");
        write(data / "150110_101_OP1_1.vyc", file);

        const auto scan = scanStatementFiles(*state, prompts, types.get(), 5, request, variant);
        ASSERT_TRUE(scan.ok()) << scan.message().toStdString();
        EXPECT_EQ(scan.value().skippedLines, 0);
        ASSERT_EQ(scan.value().files.size(), 1u);
        EXPECT_EQ(scan.value().files[0].counts[0], kLines + 1);
        EXPECT_EQ(scan.value().files[0].sums[0], Currency::fromUnits(qint64(kLines + 1) * 105000));
    }
}

// A lone CR ends a record as CR LF and LF do, in pieces of any size: each record of such a file is counted and
// summed, and a CR LF a piece cuts is one line end.
TEST_F(SmScanReadingTest, ALoneCrEndsARecordInPiecesOfAnySize) {
    write(home / "TRV7300.ini", "[Data]\r\nDir=data\r\nExpTxtSeparator=;\r\n");
    auto types = newPeriod();
    const SmScanVariant variant{SmScanVariant::Columns::PerType, SmScanVariant::Value::Field, false, false};
    QByteArray file;
    const char* ends[] = {"\r", "\r\n", "\r", "\n", "\r\r", "\r"};
    for (int i = 0; i < 6; ++i)
        file += "150110;150110;101;1;" + code(10, 1000, i).toLatin1() + ";10,50;OP1" + ends[i];
    write(data / "150110_101_OP1_1.vyc", file);
    for (const qsizetype size : {qsizetype(4), qsizetype(7), qsizetype(50), StatementLine::kPieceSize}) {
        SCOPED_TRACE(size);
        SmScanRequest request{QDate(2015, 1, 10), QDate(2015, 1, 12), {}, {}, false, nullptr};
        request.pieceSize = size;
        const auto scan = scanStatementFiles(*state, prompts, types.get(), 5, request, variant);
        ASSERT_TRUE(scan.ok()) << scan.message().toStdString();
        EXPECT_EQ(scan.value().skippedLines, 0);
        ASSERT_EQ(scan.value().files.size(), 1u);
        EXPECT_EQ(scan.value().files[0].counts[0], 6);
        EXPECT_EQ(scan.value().files[0].sums[0], Currency::fromUnits(6 * 105000));
    }
}

// A statement file of several pieces is told again after each piece, by the per-SM scan and by the merged export,
// and a cancel within the file is heard there: the operation fails as cancelled, and the merge leaves no file.
TEST_F(SmScanReadingTest, ALargeFileIsToldPieceByPieceAndACancelWithinItIsHeard) {
    auto types = newPeriod();
    QByteArray file;
    for (int i = 0; i < 80000; ++i)
        file += "150110;150110;101;1;" + code(10, 1000, i).toLatin1() + ";10,50;OP1\r\n";
    ASSERT_GT(file.size(), 3 * StatementLine::kPieceSize);
    write(data / "150110_101_OP1_1.vyc", file);
    const SmScanVariant variant{SmScanVariant::Columns::PerType, SmScanVariant::Value::Field, false, false};
    const auto merged = data / "150115.vyc";
    struct Operation {
        const char* name;
        std::function<Status(Progress*)> run;
    };
    const Operation operations[] = {
        {"scan",
         [&](Progress* progress) {
             const SmScanRequest request{QDate(2015, 1, 10), QDate(2015, 1, 12), {}, {}, false, progress};
             return Status::from(scanStatementFiles(*state, prompts, types.get(), 5, request, variant));
         }},
        {"merge",
         [&](Progress* progress) {
             ctx->progress = progress;
             const Status done = exportSlouceneVycetky(*ctx, {QDate(2015, 1, 10), QDate(2015, 1, 12), {}, false, false},
                                                       QDate(2015, 1, 15));
             ctx->progress = nullptr;
             return done;
         }},
    };
    for (const Operation& op : operations) {
        SCOPED_TRACE(op.name);
        std::filesystem::remove(merged);
        CancelAtStep watching(1000);
        ASSERT_TRUE(op.run(&watching).ok());
        // The file's own step, one after every piece of the encoding check and of the reading, and the last.
        EXPECT_GE(std::count(watching.steps.begin(), watching.steps.end(), std::pair<qint64, qint64>{0, 1}), 1 + 3 + 3);
        EXPECT_EQ(watching.steps.back(), (std::pair<qint64, qint64>{1, 1}));

        std::filesystem::remove(merged);
        CancelAtStep cancelling(3);
        const Status cancelled = op.run(&cancelling);
        ASSERT_FALSE(cancelled.ok());
        EXPECT_EQ(cancelled.message(), Progress::cancelledText());
        EXPECT_EQ(cancelling.steps.back(), (std::pair<qint64, qint64>{0, 1}));
        EXPECT_FALSE(std::filesystem::exists(merged));
    }
}

} // namespace
} // namespace trv::test

#include "core/CompanyExport.h"

#include "VoucherFixture.h"

#include <QBuffer>
#include <QFile>

#include <cerrno>
#include <system_error>

using namespace trv;

namespace {

class CompanyExportTest : public test::VoucherFixture {
protected:
    QByteArray exported(const QString& prefix) {
        QBuffer out;
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        const Status st = ExportProSpolecnosti(prefix, out, *types);
        EXPECT_TRUE(st.ok()) << st.message().toStdString();
        return out.data();
    }
};

} // namespace

TEST_F(CompanyExportTest, ChequeLayoutAndOtherIssuers) {
    // c1..c24 = "ABCDEFGHIJKLMNOPQRSTUVWX" shows which characters land where.
    auto che = addType(QStringLiteral("CHEQUE Dárek"), 24, 22);
    auto che2 = addType(QStringLiteral("cheque Gastro"), 22, 0);
    auto sod = addType(QStringLiteral("Sodik"), 14, 0);
    addType(QStringLiteral("Jiny"), 10, 0);
    book(che, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWX"))->TypNacteni = 1;
    book(che, QStringLiteral("012345678901234567890123"))->TypNacteni = 2;
    book(che2, QStringLiteral("0123456789"))->TypNacteni = 1; // short: the missing parts are empty
    book(sod, QStringLiteral("11112222333344"))->TypNacteni = 1;
    book(sod, QStringLiteral("NOREAD"));
    book(sod, QStringLiteral("55556666777788"));

    const QByteArray cheLines = "BCDEFGHIJKL<MNOPQRSUV<BCDEFGHIJ<1\r\n"
                                "12345678901<234567801<123456789<2\r\n"
                                "123456789<<123456789<1\r\n";
    EXPECT_EQ(exported(QStringLiteral("CHE")), cheLines);
    EXPECT_EQ(exported(QStringLiteral("che")), cheLines);
    EXPECT_EQ(exported(QStringLiteral("SOD")), QByteArray("11112222333344\r\nNOREAD\r\n55556666777788\r\n"));
    EXPECT_EQ(exported(QStringLiteral("TIC")), QByteArray());
    EXPECT_EQ(
        ExportProSpolecnosti(QStringLiteral("Sod"), *types),
        (QStringList{QStringLiteral("11112222333344"), QStringLiteral("NOREAD"), QStringLiteral("55556666777788")}));
}

TEST_F(CompanyExportTest, FailedWriteIsReported) {
    auto sod = addType(QStringLiteral("SOD"), 14, 0);
    book(sod, QStringLiteral("11112222333344"));
    const QString path = TextFiles::toQString(folder / "export.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close(); // a closed file takes nothing
    const Status st = ExportProSpolecnosti(QStringLiteral("SOD"), file, *types);
    ASSERT_FALSE(st.ok());
    EXPECT_TRUE(st.message().contains(path)) << st.message().toStdString();

    // Nothing to write is no error, even on a device that takes nothing.
    EXPECT_TRUE(ExportProSpolecnosti(QStringLiteral("CHE"), file, *types).ok());

#ifdef Q_OS_LINUX
    // A full disk: the cause in Czech, the system's text once after it.
    QFile full(QStringLiteral("/dev/full"));
    ASSERT_TRUE(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const Status onFull = ExportProSpolecnosti(QStringLiteral("SOD"), full, *types);
    ASSERT_FALSE(onFull.ok());
    const QString systemText = QString::fromLocal8Bit(std::generic_category().message(ENOSPC));
    EXPECT_EQ(onFull.message(), QStringLiteral("Nelze zapsat export pro společnost SOD do souboru /dev/full: "
                                               "na disku není volné místo (") +
                                    systemText + u')');
#endif
}

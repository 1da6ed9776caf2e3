#include "summaries/PeriodLoader.h"
#include "summaries/PeriodResult.h"
#include "summaries/tests/SummariesFixture.h"

#include <QRandomGenerator>

#include <map>
#include <set>

using namespace trv;
using namespace trv::test;

namespace {

// A generated stretch of statement files: eleven days, three SMs with two operators, codes of all three types
// with repeats within a file and across files. The expected totals are worked out here on the records as
// written, independently of the loader.
struct GeneratedPeriod : SummariesEnv {
    struct Record {
        QString file;
        QString sm;
        QString code;
        int type = 0;
        Currency value;
    };

    GeneratedPeriod() {
        state.sw.gFVycetky = true;
        QRandomGenerator rng(20150121);
        int serial = 0;
        QStringList earlier;
        for (int day = 10; day <= 20; ++day) {
            for (const char* sm : {"001", "002", "003"}) {
                const QString oper = rng.bounded(2) ? QStringLiteral("AB") : QStringLiteral("CD");
                const QString date = QStringLiteral("1501%1").arg(day);
                const QString file = QStringLiteral("%1_%2_%3_1.vyc").arg(date, QString::fromLatin1(sm), oper);
                QStringList codes;
                for (int i = 0; i < 12; ++i) {
                    const int kind = int(rng.bounded(3));
                    ++serial;
                    codes.append(kind == 0   ? alfa(int(rng.bounded(1, 4)) * 50, serial)
                                 : kind == 1 ? beta(100, serial)
                                             : gama(rng.bounded(2) ? "01" : "02", serial));
                }
                codes.append(codes.first()); // read twice in the file
                if (!earlier.isEmpty())
                    codes.append(earlier[int(rng.bounded(qsizetype(earlier.size())))]); // read again later
                earlier += codes;
                write(file, records(date, QString::fromLatin1(sm), oper, codes));
                for (const QString& c : codes)
                    written.push_back({file, QString::fromLatin1(sm), c, typeOf(c), valueOf(c)});
            }
        }
    }

    static int typeOf(const QString& c) { return c.size() == 12 ? 2 : (c.endsWith(u'7') ? 0 : 1); }
    static Currency valueOf(const QString& c) {
        if (c.size() == 12)
            return c.startsWith(QStringLiteral("01")) ? Currency::fromCents(7550) : Currency::fromInt(100);
        return Currency::fromInt(c.left(3).toInt());
    }

    std::vector<Record> written;
};

TEST(GeneratedPeriodTest, TotalsAndRepeatsMatchTheRecordsWritten) {
    GeneratedPeriod env;
    PeriodChoice choice;
    choice.datumOd = QDate(2015, 1, 12);
    choice.datumDo = QDate(2015, 1, 18);
    choice.sm = QStringLiteral("001, 003");

    // Expected: the first reading of each code per type, in name order of the files, within the selection.
    std::map<std::pair<int, Currency>, qint64> expected;
    std::set<QString> seen;
    qint64 repeats = 0;
    std::vector<GeneratedPeriod::Record> chosen;
    for (const auto& r : env.written) {
        const QString date = r.file.left(6);
        if (date >= QStringLiteral("150112") && date <= QStringLiteral("150118") && r.sm != QStringLiteral("002"))
            chosen.push_back(r);
    }
    std::stable_sort(chosen.begin(), chosen.end(), [](const auto& a, const auto& b) { return a.file < b.file; });
    for (const auto& r : chosen) {
        if (seen.insert(r.code).second)
            ++expected[{r.type, r.value}];
        else
            ++repeats;
    }
    ASSERT_GT(repeats, 7);

    PeriodState st;
    PeriodLoader loader(env.services());
    ASSERT_TRUE(loader.vypocet(st, choice).ok());
    std::map<std::pair<int, Currency>, qint64> loaded;
    for (int t = 0; t < 3; ++t) {
        for (const auto& [value, count] : nominalTable(*st.m_col.codes, t))
            loaded[{t, value}] = count;
    }
    EXPECT_EQ(loaded, expected);

    ASSERT_TRUE(loader.duplicity(st, choice).ok());
    const QString listing = vypisDuplicit(env.state, st.m_col);
    EXPECT_EQ(listing.count(QString(40, u' ')), repeats);
    EXPECT_EQ(env.bytes(env.folder / "Duplicity.log").count("/t/t"), repeats);
}

} // namespace

#include "closing/CheckStatement.h"

#include "closing/StatementFields.h"
#include "closing/StatementTally.h"
#include "closing/StatementText.h"
#include "core/AppState.h"
#include "core/CColStrav.h"

namespace trv {

namespace {

using statement::Field;
namespace s = statement;

// The fields of the check statement.
struct Layout {
    int summaryRule = 46;
    Field summaryName{15, 18};
    Field summaryCount{8, 7};
    Field summaryAmount{11, 16};
    Field totalCount{8, 7};
    Field totalAmount{10, 16};
    int detailRule = 43;
    s::NominalFields line{{7, 7}, {14, 13}, {19, 20}};
    int lineRule = 40;
    Field companyAmount{19, 23};
    Field companyCount{19, 23};
    Field grandAmount{19, 23};
    Field grandCount{19, 20};
};
constexpr Layout kLayout;

} // namespace

Result<QString> zobrazKontrolniVycetku(const AppState& state, const CColStrav& types) {
    const auto text = [&state](const char* key) {
        return state.config.DejText(QStringLiteral("frmKontrVyc"), QString::fromLatin1(key));
    };

    auto counted = sectiVsechny(types, state.gNoRead);
    if (!counted.ok())
        return counted.error();
    const std::vector<CompanyTally> tallies = std::move(counted).value();

    s::TextLines out;
    if (state.sw.gFBalicky)
        out.line(text("TiskBalicekCislo") + QString::number(state.gCisloBaliku));
    out.line(text("rtbSpolPocCelk"));
    out.line(s::repeat(u'_', kLayout.summaryRule));
    qint64 grandCount = 0;
    Currency grandAmount;
    size_t i = 0;
    for (const auto& t : types) {
        const CompanyTally& tally = tallies[i++];
        if (!tally.hasLines())
            continue;
        out.line(s::left(t->Nazev, kLayout.summaryName) + QStringLiteral(":") +
                 s::right(s::count(tally.count), kLayout.summaryCount) + text("rtbKs") +
                 s::right(s::amount(tally.amount), kLayout.summaryAmount));
        grandCount += tally.count;
        grandAmount += tally.amount;
    }
    out.line(s::repeat(u'_', kLayout.summaryRule));
    out.line(text("rtbCelkem") + s::right(s::count(grandCount), kLayout.totalCount) + text("rtbKs") +
             s::right(s::amount(grandAmount), kLayout.totalAmount));
    out.emptyLines(2);

    out.line(text("rtbPodrVycetka"));
    out.line(s::repeat(u'=', kLayout.detailRule));
    out.line();
    i = 0;
    for (const auto& t : types) {
        const CompanyTally& tally = tallies[i++];
        out.line(t->Nazev);
        if (!tally.hasLines()) {
            out.line(text("NebylyNacteny"));
            out.line();
            continue;
        }
        out.line(text("rtbHodnPocCelk"));
        for (const NominalLine& n : tally.lines) {
            out.line(s::nominal(n, kLayout.line));
        }
        out.line(s::repeat(u'_', kLayout.lineRule));
        out.line(text("rtbCelkCastka") + s::right(s::amount(tally.amount), kLayout.companyAmount));
        out.line(text("rtbCelkPocet") + s::right(s::count(tally.count), kLayout.companyCount) + text("rtbKs"));
        out.line();
    }
    out.line();
    out.text(text("rtbCelkemZaVsTypy"));
    out.line();
    out.text(text("rtbCelkCastka") + s::right(s::amount(grandAmount), kLayout.grandAmount));
    out.line();
    out.line(text("rtbCelkPocet") + s::right(s::count(grandCount), kLayout.grandCount) + text("rtbKs"));
    return out.result();
}

} // namespace trv

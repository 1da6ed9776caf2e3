#include "closing/CheckStatement.h"

#include "closing/StatementBlocks.h"
#include "closing/StatementTally.h"
#include "closing/StatementText.h"
#include "core/AppState.h"
#include "core/CColStrav.h"

namespace trv {

namespace {

namespace s = statement;

// The fields of the check statement.
constexpr s::ShownLayout kLayout{
    .summaryRule = 46,
    .summaryName = {15, 18},
    .summaryCount = {8, 7},
    .summaryAmount = {11, 16},
    .totalCount = {8, 7},
    .totalAmount = {10, 16},
    .detailRule = 43,
    .line = {{7, 7}, {14, 13}, {19, 20}},
    .lineRule = 40,
    .companyAmount = {19, 23},
    .companyCount = {19, 23},
    .grandAmount = {19, 23},
    .grandCount = {19, 20},
};

} // namespace

Result<QString> zobrazKontrolniVycetku(const AppState& state, const CColStrav& types) {
    const auto text = [&state](const char* key) {
        return state.config.DejText(QStringLiteral("frmKontrVyc"), QString::fromLatin1(key));
    };
    const s::ShownTexts texts{.pieces = text("rtbKs"),
                              .notRead = text("NebylyNacteny"),
                              .linesTitle = text("rtbHodnPocCelk"),
                              .companyAmount = text("rtbCelkCastka"),
                              .companyCount = text("rtbCelkPocet")};

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
        out.line(s::summaryLine(t->Nazev, tally, texts, kLayout));
        grandCount += tally.count;
        grandAmount += tally.amount;
    }
    out.line(s::repeat(u'_', kLayout.summaryRule));
    out.line(s::totalLine(text("rtbCelkem"), grandCount, grandAmount, texts, kLayout));
    out.emptyLines(2);

    out.line(text("rtbPodrVycetka"));
    out.line(s::repeat(u'=', kLayout.detailRule));
    out.line();
    i = 0;
    for (const auto& t : types)
        s::companyBlock(out, t->Nazev, tallies[i++], texts, kLayout);
    out.line();
    out.text(text("rtbCelkemZaVsTypy"));
    out.line();
    out.text(FieldLine(texts.companyAmount).right(s::amount(grandAmount), kLayout.grandAmount).str());
    out.line();
    out.line(FieldLine(texts.companyCount).right(s::count(grandCount), kLayout.grandCount).text(texts.pieces).str());
    return out.result();
}

} // namespace trv

#include "closing/ClosingStatement.h"

#include "closing/StatementBlocks.h"
#include "closing/StatementText.h"
#include "core/AppState.h"
#include "core/CColStrav.h"

namespace trv {

namespace {

namespace s = statement;

// The fields of the closing window's statement.
constexpr s::ShownLayout kLayout{
    .summaryRule = 47,
    .summaryName = {15, 18},
    .summaryCount = {8, 7},
    .summaryAmount = {10, 16},
    .totalCount = {8, 7},
    .totalAmount = {7, 16},
    .detailRule = 43,
    .line = {{9, 7}, {12, 13}, {20, 20}},
    .lineRule = 40,
    .companyAmount = {18, 23},
    .companyCount = {19, 20},
    .grandAmount = {18, 23},
    .grandCount = {16, 20},
};

} // namespace

std::vector<std::shared_ptr<CStrav>> vybraneTypy(const CColStrav& types, const StatementChoice& choice) {
    std::vector<std::shared_ptr<CStrav>> chosen;
    for (const auto& t : types) {
        if (choice.all || t->Nazev == choice.typeName)
            chosen.push_back(t);
    }
    return chosen;
}

Result<QString> zobrazVycetku(const AppState& state, const CColStrav& types, const ZvolenyZakaznik& zakaznik,
                              const StatementChoice& choice) {
    const auto text = [&state](const char* key) {
        return state.config.DejText(QStringLiteral("frmUkonceniPr"), QString::fromLatin1(key));
    };
    const s::ShownTexts texts{.pieces = text("ks"),
                              .notRead = text("NebylyNact"),
                              .linesTitle = text("rtbHodnPocCelk"),
                              .companyAmount = text("CelkCastka"),
                              .companyCount = text("CelkPocet")};

    const auto chosen = vybraneTypy(types, choice);
    auto counted = sectiVsechny(chosen, state.gNoRead);
    if (!counted.ok())
        return counted.error();
    const std::vector<CompanyTally> tallies = std::move(counted).value();
    qint64 grandCount = 0;
    Currency grandAmount;
    for (const CompanyTally& tally : tallies) {
        grandCount += tally.count;
        grandAmount += tally.amount;
    }

    s::TextLines out;
    if (state.sw.gFZakaznik && !choice.all) {
        out.line(text("KodPart") + zakaznik.kodPartnera(choice.listIndex));
        out.line(text("Nazev") + zakaznik.gZakNazev);
        out.line(text("Adr") + zakaznik.gZakAdresa);
        out.line(text("IC") + zakaznik.gZakIC);
        out.line(text("Odpov") + zakaznik.gZakOdpovida);
        out.line(text("Tel") + zakaznik.gZakTelefon);
        out.line();
    }
    out.line(text("rtbSpolPocCelk"));
    out.line(s::repeat(u'_', kLayout.summaryRule));
    for (size_t i = 0; i < chosen.size(); ++i) {
        const CompanyTally& tally = tallies[i];
        if (!tally.hasLines())
            continue;
        out.line(s::summaryLine(chosen[i]->Nazev, tally, texts, kLayout));
    }
    out.line(s::repeat(u'_', kLayout.summaryRule));
    out.line(s::totalLine(text("rtbCelk"), grandCount, grandAmount, texts, kLayout));
    out.emptyLines(2);

    out.line(state.sw.gFZakaznik ? text("rtbPodrVyc") : text("rtbPodrVycZaSpol"));
    out.line(s::repeat(u'=', kLayout.detailRule));
    out.line();
    for (size_t i = 0; i < chosen.size(); ++i)
        s::companyBlock(out, chosen[i]->Nazev, tallies[i], texts, kLayout);
    if (choice.all) {
        out.line();
        out.line(text("CelkZaVsTypy"));
        out.line(FieldLine(texts.companyAmount).right(s::amount(grandAmount), kLayout.grandAmount).str());
        out.text(
            FieldLine(texts.companyCount).right(s::count(grandCount), kLayout.grandCount).text(texts.pieces).str());
    }
    return out.result();
}

} // namespace trv

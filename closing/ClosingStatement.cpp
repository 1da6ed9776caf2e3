#include "closing/ClosingStatement.h"

#include "closing/StatementFields.h"
#include "closing/StatementText.h"
#include "core/AppState.h"
#include "core/CColStrav.h"

namespace trv {

namespace {

using statement::Field;
namespace s = statement;

// The fields of the closing window's statement.
struct Layout {
    int summaryRule = 47;
    Field summaryName{15, 18};
    Field summaryCount{8, 7};
    Field summaryAmount{10, 16};
    Field totalCount{8, 7};
    Field totalAmount{7, 16};
    int detailRule = 43;
    s::NominalFields line{{9, 7}, {12, 13}, {20, 20}};
    int lineRule = 40;
    Field companyAmount{18, 23};
    Field companyCount{19, 20};
    Field grandAmount{18, 23};
    Field grandCount{16, 20};
};
constexpr Layout kLayout;

struct Summary {
    QString name;
    qint64 count = 0;
    Currency amount;
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

    const auto chosen = vybraneTypy(types, choice);
    auto counted = sectiVsechny(chosen, state.gNoRead);
    if (!counted.ok())
        return counted.error();
    const std::vector<CompanyTally> tallies = std::move(counted).value();
    std::vector<Summary> summaries;
    qint64 grandCount = 0;
    Currency grandAmount;
    for (size_t i = 0; i < chosen.size(); ++i) {
        const CompanyTally& tally = tallies[i];
        if (tally.hasLines()) {
            summaries.push_back({chosen[i]->Nazev, tally.count, tally.amount});
            grandCount += tally.count;
            grandAmount += tally.amount;
        }
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
    for (const Summary& r : summaries) {
        out.line(s::left(r.name, kLayout.summaryName) + QStringLiteral(":") +
                 s::right(s::count(r.count), kLayout.summaryCount) + text("ks") +
                 s::right(s::amount(r.amount), kLayout.summaryAmount));
    }
    out.line(s::repeat(u'_', kLayout.summaryRule));
    out.line(text("rtbCelk") + s::right(s::count(grandCount), kLayout.totalCount) + text("ks") +
             s::right(s::amount(grandAmount), kLayout.totalAmount));
    out.emptyLines(2);

    out.line(state.sw.gFZakaznik ? text("rtbPodrVyc") : text("rtbPodrVycZaSpol"));
    out.line(s::repeat(u'=', kLayout.detailRule));
    out.line();
    for (size_t i = 0; i < chosen.size(); ++i) {
        const CompanyTally& tally = tallies[i];
        out.line(chosen[i]->Nazev);
        if (!tally.hasLines()) {
            out.line(text("NebylyNact"));
            out.line();
            continue;
        }
        out.line(text("rtbHodnPocCelk"));
        for (const NominalLine& n : tally.lines) {
            out.line(s::nominal(n, kLayout.line));
        }
        out.line(s::repeat(u'_', kLayout.lineRule));
        out.line(text("CelkCastka") + s::right(s::amount(tally.amount), kLayout.companyAmount));
        out.line(text("CelkPocet") + s::right(s::count(tally.count), kLayout.companyCount) + text("ks"));
        out.line();
    }
    if (choice.all) {
        out.line();
        out.line(text("CelkZaVsTypy"));
        out.line(text("CelkCastka") + s::right(s::amount(grandAmount), kLayout.grandAmount));
        out.text(text("CelkPocet") + s::right(s::count(grandCount), kLayout.grandCount) + text("ks"));
    }
    return out.result();
}

} // namespace trv

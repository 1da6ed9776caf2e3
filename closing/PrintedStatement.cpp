#include "closing/PrintedStatement.h"

#include "closing/ClosingStatement.h"
#include "closing/PrintedLines.h"
#include "closing/StatementFields.h"
#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Conventions.h"
#include "platform/Printer.h"

namespace trv {

namespace {

using statement::Field;
namespace s = statement;

// The printout's fields, indents and sizes.
struct Layout {
    int indent = 5;
    int customerIndent = 20;
    int companyIndent = 5;       // before each company's name
    int customerNameIndent = 18; // before the company's name in customer mode
    double bodySize = 10;
    double titleSize = 16;
    int headerWidth = 60;
    Field customerLabel{16, 16};
    s::NominalFields line{{7, 7}, {10, 10}, {15, 15}};
    int lineRule = 32;
    Field companyAmount{15, 15};
    Field companyCount{12, 12};
    Field grandAmount{15, 15};
    Field grandCount{12, 12};
    const char* signatureLine = ".................                             .................";
};
constexpr Layout kLayout;

} // namespace

QStringList radkyHlavicky(const QString& header) {
    if (header.size() <= kLayout.headerWidth)
        return {header};
    qsizetype p = header.indexOf(u',', kLayout.headerWidth - 1);
    if (p < 0)
        p = header.indexOf(u' ', kLayout.headerWidth - 1);
    const qsizetype cut = p < 0 ? 0 : p + 1;
    return {header.left(cut), header.mid(cut).trimmed()};
}

Result<bool> tiskniVycetku(Printer& printer, const AppState& state, const CColStrav& types, const ReceiptInfo& receipt,
                           const StatementChoice& choice, const QDate& today) {
    const bool zakaznik = state.sw.gFZakaznik;
    const bool euro = state.sw.gFEuro;
    const auto text = [&state](const char* key) {
        return state.config.DejText(QStringLiteral("frmUkonceniPr"), QString::fromLatin1(key));
    };
    const auto euroText = [&](const char* euroKey, const char* key) { return euro ? text(euroKey) : text(key); };
    const QString indent(zakaznik ? kLayout.customerIndent : kLayout.indent, u' ');

    const auto chosen = vybraneTypy(types, choice);
    if (zakaznik && !choice.all) {
        const auto company = types.NajdiNazev(choice.typeName);
        if (company && company->Polozky->count() == 0)
            return false;
    }
    // Every company is counted before anything reaches the printer: a code that cannot be valued prints nothing.
    auto counted = sectiVsechny(chosen, state.gNoRead);
    if (!counted.ok())
        return counted.error();
    const std::vector<CompanyTally> tallies = std::move(counted).value();

    s::zacniTisk(printer, kLayout.bodySize);
    for (const QString& line : radkyHlavicky(state.gFirmaHlavicka))
        printer.print(indent + line);
    if (!zakaznik)
        printer.print(indent + text("CisSM") + receipt.gSM);
    printer.print();
    if (zakaznik) {
        const ZvolenyZakaznik& z = receipt.zakaznik;
        const std::pair<const char*, QString> rows[] = {
            {"KodPart", z.kodPartnera(choice.all ? 0 : choice.listIndex)},
            {"IC", z.gZakIC},
            {"Nazev", z.gZakNazev},
            {"Adr", z.gZakAdresa},
            {"Odpov", z.gZakOdpovida},
            {"Tel", z.gZakTelefon},
        };
        for (const auto& [key, value] : rows)
            printer.print(indent + s::left(text(key), kLayout.customerLabel) + value);
    }
    printer.print();
    printer.setFontSize(kLayout.titleSize);
    if (!zakaznik)
        s::printUnderlined(printer, indent, euroText("PrehlEURO", "Prehl"));
    printer.setFontSize(kLayout.bodySize);
    printer.setUnderline(false);
    printer.print();
    printer.print();

    qint64 grandCount = 0;
    Currency grandAmount;
    for (size_t i = 0; i < chosen.size(); ++i) {
        const CompanyTally& tally = tallies[i];
        printer.printContinued(QString(kLayout.companyIndent, u' '));
        if (zakaznik) {
            printer.setFontSize(kLayout.titleSize);
            s::printUnderlined(printer, QString(kLayout.customerNameIndent, u' '), chosen[i]->Nazev);
            printer.print();
            printer.print();
            printer.setFontSize(kLayout.bodySize);
            printer.setUnderline(false);
            printer.print(indent + text("Prehl"));
        } else {
            printer.print(indent + chosen[i]->Nazev);
        }
        if (!tally.hasLines()) {
            printer.print(euroText("NebylyNactMezEURO", "NebylyNactMez"));
            printer.print();
            continue;
        }
        s::tiskniNominaly(printer, indent, euroText("tiskSoucHodnPocEURO", "tiskSoucHodnPoc"), tally, kLayout.line,
                          kLayout.lineRule);
        printer.print(FieldLine(indent + euroText("CelkCastkaEURO", "CelkCastka"))
                          .right(s::amount(tally.amount), kLayout.companyAmount)
                          .str());
        printer.print(FieldLine(indent + text("CelkPocet"))
                          .right(s::count(tally.count), kLayout.companyCount)
                          .text(text("ks"))
                          .str());
        printer.print();
        grandCount += tally.count;
        grandAmount += tally.amount;
    }

    printer.printContinued(indent);
    if (choice.all) {
        printer.print(euroText("CelkZaVsTypyEURO", "CelkZaVsTypy"));
        printer.print(FieldLine(indent + euroText("CelkCastkaEURO", "CelkCastka"))
                          .right(s::amount(grandAmount), kLayout.grandAmount)
                          .str());
        printer.print(FieldLine(indent + text("CelkPocet"))
                          .right(s::count(grandCount), kLayout.grandCount)
                          .text(QStringLiteral(" ks"))
                          .str());
        printer.print();
        printer.print();
    }
    if (zakaznik) {
        for (int i = 0; i < 5; ++i)
            printer.print();
        printer.print(indent + QString::fromLatin1(kLayout.signatureLine));
        printer.print(indent + text("RazPodpis"));
        for (int i = 0; i < 5; ++i)
            printer.print();
        printer.print(indent + text("DatumOdevz") + dateShort(today));
    } else {
        printer.print();
        printer.print(indent + dateShort(today));
    }
    return true;
}

} // namespace trv

#include "closing/CheckStatementPrint.h"

#include "closing/PrintedLines.h"
#include "closing/StatementFields.h"
#include "closing/StatementTally.h"
#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Conventions.h"
#include "platform/Printer.h"

namespace trv {

namespace {

using statement::Field;
namespace s = statement;

// The fields, indent and sizes of the printed check statement.
struct Layout {
    int indent = 5;
    double bodySize = 10;
    double titleSize = 16;
    s::NominalFields line{{7, 7}, {10, 10}, {15, 20}};
    int lineRule = 37;
    Field companyAmount{15, 20};
    Field companyCount{12, 17};
    Field grandAmount{15, 20};
    Field grandCount{12, 17};
};
constexpr Layout kLayout;

} // namespace

Status tiskniKontrolniVycetku(Printer& printer, const AppState& state, const CColStrav& types,
                              const ReceiptInfo& receipt, const QDate& today) {
    const Config& config = state.config;
    const auto text = [&config](const char* key) {
        return config.DejText(QStringLiteral("frmKontrVyc"), QString::fromLatin1(key));
    };
    const QString indent(kLayout.indent, u' ');

    auto counted = sectiVsechny(types, state.gNoRead);
    if (!counted.ok())
        return Status(counted.error());
    const std::vector<CompanyTally> tallies = std::move(counted).value();

    s::zacniTisk(printer, kLayout.bodySize);

    printer.print(indent + state.gFirmaHlavicka);
    if (!state.sw.gFBalicky)
        printer.print(indent + text("TiskCisSM") + receipt.gSM);
    if (state.sw.gFZakaznik) {
        const ZvolenyZakaznik& z = receipt.zakaznik;
        printer.print(indent + config.DejText(QStringLiteral("frmZakaznik"), QStringLiteral("Label1")) + z.gZakCislo);
        printer.print(indent + config.DejText(QStringLiteral("frmUkonceniPr"), QStringLiteral("Nazev")) + z.gZakNazev);
        printer.print(indent + config.DejText(QStringLiteral("frmUkonceniPr"), QStringLiteral("IC")) + z.gZakIC);
    }
    printer.print();
    printer.print();
    printer.printContinued(indent);
    printer.setFontSize(kLayout.titleSize);
    printer.setUnderline(true);
    if (state.sw.gFBalicky)
        printer.print(text("TiskBalicekCislo") + QString::number(state.gCisloBaliku) + QStringLiteral("\r\n"));
    else
        printer.print(text("TiskKontrVyc"));
    printer.setFontSize(kLayout.bodySize);
    printer.setUnderline(false);
    printer.print();
    printer.print();

    qint64 grandCount = 0;
    Currency grandAmount;
    size_t i = 0;
    for (const auto& t : types) {
        const CompanyTally& tally = tallies[i++];
        printer.print(indent + t->Nazev);
        if (!tally.hasLines()) {
            printer.print(indent + text("NebylyNacteny"));
            printer.print();
            continue;
        }
        s::tiskniNominaly(printer, indent, text("TiskHodnPocCelk"), tally, kLayout.line, kLayout.lineRule);
        printer.print(
            FieldLine(indent + text("TiskCelkCastka")).right(s::amount(tally.amount), kLayout.companyAmount).str());
        printer.print(FieldLine(indent + text("TiskCelkPocet"))
                          .right(s::count(tally.count), kLayout.companyCount)
                          .text(text("TiskKs"))
                          .str());
        printer.print();
        grandCount += tally.count;
        grandAmount += tally.amount;
    }

    printer.print();
    printer.setBold(true);
    printer.print(indent + text("TiskCelkemZaVsTypy"));
    printer.print(FieldLine(indent + text("TiskCelkCastka")).right(s::amount(grandAmount), kLayout.grandAmount).str());
    printer.print(FieldLine(indent + text("TiskCelkPocet"))
                      .right(s::count(grandCount), kLayout.grandCount)
                      .text(text("TiskKs"))
                      .str());
    printer.print();
    printer.print();
    printer.print(indent + dateShort(today));
    return Status::success();
}

} // namespace trv

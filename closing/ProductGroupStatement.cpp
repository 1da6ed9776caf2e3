#include "closing/ProductGroupStatement.h"

#include "closing/PrintedLines.h"
#include "closing/StatementFields.h"
#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/CColVycet.h"
#include "core/CPolVycet.h"
#include "core/CStrav.h"
#include "core/ReaderControl.h"
#include "core/SharedHelpers.h"
#include "platform/Conventions.h"
#include "platform/Printer.h"

namespace trv {

namespace {

namespace s = statement;
using statement::Field;

const QString kCrLf = QStringLiteral("\r\n");
const QString kUnderscores(37, u'_');
const QString kEquals(37, u'=');

// The booking in the group collection has no reader to stop (the statement only reports), but a code no group
// type recognises is told like any refused code: with switch 43 in the program's error-log window.
class ErrorLogReader final : public ReaderControl {
public:
    explicit ErrorLogReader(const std::function<void(const QString&)>& errorLog) : m_errorLog(errorLog) {}
    void ZastavCteni() override {}
    void LogujDoOkna(const QString& text) override {
        if (m_errorLog)
            m_errorLog(text);
    }

private:
    const std::function<void(const QString&)>& m_errorLog;
};

} // namespace

Result<GroupStatement> sectiSkupiny(AppState& state, Prompts& prompts, const Clock& clock, const CColStrav& types,
                                    const QString& chosenName, const PackageCounts& packages,
                                    const std::function<void(const QString&)>& errorLog) {
    CColStrav groups(state, prompts, clock);
    if (Status loaded = groups.NactiINIGroup(); !loaded.ok())
        return loaded.error();
    ErrorLogReader reader(errorLog);
    Booking booking(state, groups, prompts, reader);
    for (const auto& type : types) {
        for (const auto& code : *type->Polozky) {
            if (code->Kod != state.gNoRead)
                booking.PridejKod(code->Kod, 1, false);
        }
    }
    qint64 chosen = 0;
    for (const auto& g : groups) {
        if (g->Nazev == chosenName)
            chosen = g->groupType;
    }
    GroupStatement statement;
    for (qint64 i = 1; i <= types.pocetSpolecnosti(); ++i) {
        if (chosen != 0 && chosen != i)
            continue;
        ProductTally product;
        product.name = types.Item(i)->Nazev;
        for (const auto& g : groups) {
            if (g->groupType != i)
                continue;
            const auto package = packages ? packages(g->PoradiSpolecnosti) : std::vector<std::pair<QString, qint64>>{};
            auto tally = sectiNominaly(*g, state.gNoRead, package);
            if (!tally.ok())
                return tally.error();
            product.amount += tally.value().amount;
            product.count += tally.value().count;
            product.types.push_back({g->Nazev, std::move(tally).value()});
        }
        statement.amount += product.amount;
        statement.count += product.count;
        statement.products.push_back(std::move(product));
    }
    return statement;
}

QString zobrazVycetkuSkupin(const AppState& state, const GroupStatement& statement) {
    const auto text = [&state](const char* key) {
        return state.config.DejText(QStringLiteral("frmUkonceniPr"), QString::fromLatin1(key));
    };
    const s::NominalFields line{{11, 7}, {14, 10}, {19, 20}};
    const Field amount{19, 20};
    const Field count{16, 17};
    QString out;
    for (const ProductTally& product : statement.products) {
        for (const GroupTypeTally& type : product.types) {
            out += type.name + kCrLf;
            if (!type.tally.hasLines()) {
                out += text("NebylyNact") + kCrLf + kCrLf;
                continue;
            }
            out += (state.sw.gFEuro ? text("vycProdHodnPocCelkEUR") : text("vycProdHodnPocCelk")) + kCrLf;
            for (const NominalLine& n : type.tally.lines)
                out += s::nominal(n, line) + kCrLf;
            out += kUnderscores + kCrLf;
            out += FieldLine(text("CelkCastka")).right(s::amount(type.tally.amount), amount).str() + kCrLf;
            out += FieldLine(text("CelkPocet")).right(s::count(type.tally.count), count).str() + text("ks") + kCrLf +
                   kCrLf;
        }
        out += kEquals + kCrLf;
        out += text("CelkZaProd") + product.name + kCrLf;
        out += FieldLine(text("CelkCastka")).right(s::amount(product.amount), amount).str() + kCrLf;
        out += FieldLine(text("CelkPocet")).right(s::count(product.count), count).str() + text("ks") + kCrLf + kCrLf;
        out += kCrLf;
    }
    out += kCrLf + text("CelkZaVsTypy");
    out += kCrLf + FieldLine(text("CelkCastka")).right(s::amount(statement.amount), amount).str();
    out += kCrLf + FieldLine(text("CelkPocet")).right(s::count(statement.count), count).str() + text("ks") + kCrLf;
    return out;
}

void tiskniVycetkuSkupin(Printer& printer, const AppState& state, const GroupStatement& statement, const QDate& today) {
    const bool euro = state.sw.gFEuro;
    const auto text = [&state](const char* key) {
        return state.config.DejText(QStringLiteral("frmUkonceniPr"), QString::fromLatin1(key));
    };
    const auto euroText = [&](const char* euroKey, const char* key) { return euro ? text(euroKey) : text(key); };
    const QString indent(5, u' ');
    const s::NominalFields line{{7, 7}, {10, 10}, {15, 20}};
    const Field amount{15, 20};
    const Field count{16, 18};

    s::zacniTisk(printer, 10);
    printer.print(indent + state.gFirmaHlavicka);
    printer.print();
    printer.print();
    printer.printContinued(indent);
    printer.setFontSize(16);
    s::printUnderlined(printer, indent, euroText("PrehlEURO", "Prehl"));
    printer.setFontSize(10);
    printer.setUnderline(false);
    for (int i = 0; i < 3; ++i)
        printer.print();
    for (const ProductTally& product : statement.products) {
        for (const GroupTypeTally& type : product.types) {
            printer.setBold(true);
            printer.print(indent + type.name);
            if (!type.tally.hasLines()) {
                printer.print(euroText("NebylyNactMezEURO", "NebylyNactMez"));
                printer.print();
                continue;
            }
            s::tiskniNominaly(printer, indent, euroText("tiskSoucHodnPocEURO", "tiskSoucHodnPoc"), type.tally, line,
                              37);
            printer.print(FieldLine(indent + euroText("CelkCastkaEURO", "CelkCastka"))
                              .right(s::amount(type.tally.amount), amount)
                              .str());
            printer.print(indent + FieldLine(text("CelkPocet")).right(s::count(type.tally.count), count).str() +
                          text("ks"));
            printer.print();
        }
        printer.print(indent + kEquals);
        printer.print(indent + text("CelkZaProd") + product.name);
        printer.print(FieldLine(indent + euroText("CelkCastkaEURO", "CelkCastka"))
                          .right(s::amount(product.amount), amount)
                          .str());
        printer.print(indent + FieldLine(text("CelkPocet")).right(s::count(product.count), count).str() + text("ks"));
        printer.print();
    }
    printer.setBold(true);
    printer.print(indent + euroText("CelkZaVsTypyEURO", "CelkZaVsTypy"));
    printer.print(
        FieldLine(indent + euroText("CelkCastkaEURO", "CelkCastka")).right(s::amount(statement.amount), amount).str());
    printer.print(indent + FieldLine(text("CelkPocet")).right(s::count(statement.count), count).str() + text("ks"));
    printer.print();
    printer.print();
    printer.print(indent + dateShort(today));
}

} // namespace trv

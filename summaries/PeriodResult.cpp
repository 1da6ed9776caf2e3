#include "summaries/PeriodResult.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "core/SharedHelpers.h"
#include "platform/Conventions.h"

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmSoucVycObd");
const QString kCrLf = QStringLiteral("\r\n");

struct Texts {
    explicit Texts(const AppState& s) : state(s) {}
    QString operator()(const char* key) const { return state.config.DejText(kSection, QString::fromLatin1(key)); }
    const AppState& state;
};

struct Totals {
    Currency amount;
    qint64 count = 0;
};

// The amount line and the count line of a total, without a line end after the count.
QString totalLines(const AppState& state, const Totals& totals) {
    const Texts text(state);
    return FieldLine(text("tiskCelkCastka")).right(formatCurrency(totals.amount), 20).str() + kCrLf +
           FieldLine(text("tiskCelkPocet")).right(QString::number(totals.count), 18).text(text("tiskKs")).str();
}

int positionOf(const CColStrav& col, const CStrav& type) {
    int i = 0;
    for (const auto& t : col) {
        if (t.get() == &type)
            return i;
        ++i;
    }
    return -1;
}

// One type's block: heading, table (or the no-codes line), rule and totals; its totals are returned.
Totals typeBlock(const AppState& state, QString& out, const PeriodCollection& col, int index,
                 const PeriodCollection& packages) {
    const Texts text(state);
    const auto type = col.types->Item(index + 1);
    out += type->Nazev + kCrLf;
    NominalTable table = nominalTable(*col.codes, index);
    if (state.sw.gFBalicky && packages.types) {
        // The package files' codes of the type at the same number are already handed over: taken off the
        // values the period holds (a value only the packages hold adds no row).
        const int at = type->PoradiSpolecnosti - 1;
        if (at >= 0 && at < packages.codes->typeCount()) {
            for (const auto& [value, count] : nominalTable(*packages.codes, at)) {
                if (auto it = table.find(value); it != table.end())
                    it->second -= count;
            }
        }
    }
    Totals totals;
    if (table.empty()) {
        out += text("tiskNebylyNacteny") + kCrLf + kCrLf;
        return totals;
    }
    out += text(state.sw.gFEuro ? "tiskHodnPocCelkEURO" : "tiskHodnPocCelk") + kCrLf;
    for (const auto& [value, count] : table) {
        const Currency amount = value * count;
        out += FieldLine()
                   .right(formatNumber(value, u"###0.00"), 7)
                   .right(QString::number(count), 10)
                   .right(formatCurrency(amount), 20)
                   .str() +
               kCrLf;
        totals.amount += amount;
        totals.count += count;
    }
    out += QString(37, u'_') + kCrLf;
    out += totalLines(state, totals) + kCrLf + kCrLf;
    return totals;
}

QString filterLines(const AppState& state, const QString& sm, const QString& oper) {
    const Texts text(state);
    QString out;
    if (!sm.isEmpty())
        out += text("tiskFiltrSM") + sm + kCrLf;
    if (!oper.isEmpty())
        out += text("tiskFiltrOPer") + oper + kCrLf;
    return out;
}

void grandTotals(const AppState& state, QString& out, const Totals& grand) {
    const Texts text(state);
    out += kCrLf + text("tiskJNZCelkZaVsTypy");
    out += kCrLf + totalLines(state, grand) + kCrLf;
}

} // namespace

namespace {

// Whether the sums sumsFit forms stay in range, told from the codes' counts per face value: each sum only grows
// away from zero, so it stays in range throughout when its end does. A month's check then costs a few values per
// type instead of a pass over millions of codes.
bool sumsFitByCounts(const PeriodCollection& col, const PeriodCollection& packages) {
    Currency typeUp, typeDown, allUp, allDown;
    const auto add = [&](Currency value, qint64 count) {
        const auto amount = value.times(count);
        if (!amount)
            return false;
        Currency& typeSum = amount->isNegative() ? typeDown : typeUp;
        Currency& allSum = amount->isNegative() ? allDown : allUp;
        const auto t = typeSum.plus(*amount);
        const auto a = allSum.plus(*amount);
        if (!t || !a)
            return false;
        typeSum = *t;
        allSum = *a;
        return true;
    };
    const auto addType = [&](const StoredCodes& codes, int type, bool taken) {
        const auto& counts = codes.valueCounts(type);
        for (size_t i = 0; i < counts.size(); ++i) {
            if (counts[i] > 0 && !add(taken ? -codes.values()[i] : codes.values()[i], counts[i]))
                return false;
        }
        return true;
    };
    int index = 0;
    for (const auto& type : *col.types) {
        typeUp = typeDown = Currency();
        if (!addType(*col.codes, index, false))
            return false;
        const int at = type->PoradiSpolecnosti - 1;
        if (packages.codes && at >= 0 && at < packages.codes->typeCount() && !addType(*packages.codes, at, true))
            return false;
        ++index;
    }
    return true;
}

} // namespace

Status sumsFit(const PeriodCollection& col, const PeriodCollection& packages) {
    if (!col.types || !col.codes)
        return Status::success();
    if (sumsFitByCounts(col, packages))
        return Status::success();
    // A sum out of range: the codes are walked in reading order for the first one that takes it there.
    // Above and below zero: of the type, and of all types.
    Currency typeUp, typeDown, allUp, allDown;
    const auto add = [&](Currency v, const StoredCodes& codes, const StoredCodes::Code& c,
                         const QString& type) -> Status {
        Currency& typeSum = v.isNegative() ? typeDown : typeUp;
        Currency& allSum = v.isNegative() ? allDown : allUp;
        const auto t = typeSum.plus(v);
        const auto a = allSum.plus(v);
        if (!t || !a) {
            return Status::fail(
                sumOutOfRangeText(QStringLiteral("soubor %1, %2")
                                      .arg(codes.fileName(c.file), t ? QStringLiteral("součet všech typů") : type)));
        }
        typeSum = *t;
        allSum = *a;
        return Status::success();
    };
    int index = 0;
    for (const auto& type : *col.types) {
        typeUp = typeDown = Currency();
        for (const auto& c : col.codes->codes(index))
            if (!col.codes->isNoRead(c))
                if (Status s = add(col.codes->value(c), *col.codes, c, type->Nazev); !s.ok())
                    return s;
        // The package codes handed over are taken off: they count with the other sign.
        const int at = type->PoradiSpolecnosti - 1;
        if (packages.codes && at >= 0 && at < packages.codes->typeCount())
            for (const auto& c : packages.codes->codes(at))
                if (!packages.codes->isNoRead(c))
                    if (Status s = add(-packages.codes->value(c), *packages.codes, c, type->Nazev); !s.ok())
                        return s;
        ++index;
    }
    return Status::success();
}

NominalTable nominalTable(const StoredCodes& codes, int type) {
    const std::vector<qint64>& counts = codes.valueCounts(type);
    // Values are held once per run; two indexes of one value cannot occur, but adding keeps the count right.
    NominalTable table;
    for (size_t i = 0; i < counts.size(); ++i) {
        if (counts[i] > 0)
            table[codes.values()[i]] += counts[i];
    }
    return table;
}

QString zobrazVysledek(const AppState& state, const PeriodCollection& col, const PeriodCollection& packages,
                       const TypeChoice& choice, const QString& sm, const QString& oper) {
    QString out = filterLines(state, sm, oper);
    Totals grand;
    int index = 0;
    for (const auto& t : *col.types) {
        if (choice.shows(t->Nazev)) {
            const Totals totals = typeBlock(state, out, col, index, packages);
            grand.amount += totals.amount;
            grand.count += totals.count;
        }
        ++index;
    }
    grandTotals(state, out, grand);
    return out;
}

QString zobrazVysledekSkupin(const AppState& state, const PeriodCollection& col, const PeriodCollection& packages,
                             const CColStrav& global, const QString& chosenName, const QString& sm,
                             const QString& oper) {
    const Texts text(state);
    int selected = 0;
    for (const auto& t : *col.types) {
        if (t->Nazev == chosenName)
            selected = t->groupType;
    }
    QString out = filterLines(state, sm, oper) + kCrLf;
    Totals grand;
    for (int g = 1; g <= global.pocetSpolecnosti(); ++g) {
        if (selected != 0 && g != selected)
            continue;
        Totals group;
        for (const auto& t : *col.types) {
            if (t->groupType != g)
                continue;
            const Totals totals = typeBlock(state, out, col, positionOf(*col.types, *t), packages);
            group.amount += totals.amount;
            group.count += totals.count;
        }
        out += QString(37, u'=') + kCrLf;
        out += text("tiskCelkZaVsProdukty") + global.Item(g)->Nazev + kCrLf;
        out += totalLines(state, group) + kCrLf + kCrLf;
        out += kCrLf;
        grand.amount += group.amount;
        grand.count += group.count;
    }
    grandTotals(state, out, grand);
    return out;
}

QString vypisDuplicit(const AppState& state, const PeriodCollection& col) {
    const Texts text(state);
    const StoredCodes& codes = *col.codes;
    QString out = text("rtbKontrDup") + kCrLf + QString(17, u'*') + kCrLf;
    int index = 0;
    for (const auto& t : *col.types) {
        out += t->Nazev + kCrLf;
        const auto& repeats = codes.setAside(index);
        if (repeats.empty()) {
            out += text("rtbNebylyNactDup") + kCrLf;
        } else {
            out += text("rtbKodSoub") + kCrLf + QString(58, u'-') + kCrLf;
            for (const auto& r : repeats) {
                out += (codes.kod(r.again) + QString(37, u' ')).left(40) + codes.fileName(r.again.file) + kCrLf;
                out += QString(40, u' ') + codes.fileName(r.first.file) + kCrLf;
            }
        }
        out += kCrLf;
        ++index;
    }
    return out;
}

} // namespace trv

#include "closing/StatementBlocks.h"

#include "closing/StatementTally.h"
#include "closing/StatementText.h"

namespace trv::statement {

QString summaryLine(const QString& name, const CompanyTally& tally, const ShownTexts& texts, const ShownLayout& f) {
    return FieldLine(left(name, f.summaryName) + QStringLiteral(":"))
        .right(count(tally.count), f.summaryCount)
        .text(texts.pieces)
        .right(amount(tally.amount), f.summaryAmount)
        .str();
}

QString totalLine(const QString& label, qint64 n, Currency v, const ShownTexts& texts, const ShownLayout& f) {
    return FieldLine(label).right(count(n), f.totalCount).text(texts.pieces).right(amount(v), f.totalAmount).str();
}

void companyBlock(TextLines& out, const QString& name, const CompanyTally& tally, const ShownTexts& texts,
                  const ShownLayout& f) {
    out.line(name);
    if (!tally.hasLines()) {
        out.line(texts.notRead);
        out.line();
        return;
    }
    out.line(texts.linesTitle);
    for (const NominalLine& n : tally.lines)
        out.line(nominal(n, f.line));
    out.line(repeat(u'_', f.lineRule));
    out.line(FieldLine(texts.companyAmount).right(amount(tally.amount), f.companyAmount).str());
    out.line(FieldLine(texts.companyCount).right(count(tally.count), f.companyCount).text(texts.pieces).str());
    out.line();
}

} // namespace trv::statement

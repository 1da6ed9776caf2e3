#include "closing/StatementBlocks.h"

#include "closing/StatementTally.h"
#include "closing/StatementText.h"

namespace trv::statement {

QString summaryLine(const QString& name, const CompanyTally& tally, const ShownTexts& texts, const ShownLayout& f) {
    return left(name, f.summaryName) + QStringLiteral(":") + right(count(tally.count), f.summaryCount) + texts.pieces +
           right(amount(tally.amount), f.summaryAmount);
}

QString totalLine(const QString& label, qint64 n, Currency v, const ShownTexts& texts, const ShownLayout& f) {
    return label + right(count(n), f.totalCount) + texts.pieces + right(amount(v), f.totalAmount);
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
    out.line(texts.companyAmount + right(amount(tally.amount), f.companyAmount));
    out.line(texts.companyCount + right(count(tally.count), f.companyCount) + texts.pieces);
    out.line();
}

} // namespace trv::statement

#pragma once

#include "closing/StatementFields.h"

#include <QString>

namespace trv {

struct CompanyTally;

namespace statement {

class TextLines;

// The fields of a statement shown on screen. The check statement and the closing window's statement are built
// alike; their fields and texts differ.
struct ShownLayout {
    int summaryRule = 0;
    Field summaryName;
    Field summaryCount;
    Field summaryAmount;
    Field totalCount;
    Field totalAmount;
    int detailRule = 0;
    NominalFields line;
    int lineRule = 0;
    Field companyAmount;
    Field companyCount;
    Field grandAmount;
    Field grandCount;
};

// The texts of the shown lines, from the window's own language section.
struct ShownTexts {
    QString pieces;        // after every count
    QString notRead;       // a company without codes
    QString linesTitle;    // above a company's nominal values
    QString companyAmount; // before a company's amount, also before the amount of all companies
    QString companyCount;  // before a company's count, also before the count of all companies
};

// A company's line of the summary: its name, its count and its amount.
QString summaryLine(const QString& name, const CompanyTally& tally, const ShownTexts& texts, const ShownLayout& f);
// The summary's line of all companies after `label`.
QString totalLine(const QString& label, qint64 count, Currency amount, const ShownTexts& texts, const ShownLayout& f);
// A company's block of the detail: its name, then either the "not read" line, or its lines per nominal value, the
// rule and its amount and count; an empty line after either.
void companyBlock(TextLines& out, const QString& name, const CompanyTally& tally, const ShownTexts& texts,
                  const ShownLayout& f);

} // namespace statement

} // namespace trv

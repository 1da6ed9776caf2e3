#include "closing/PrintedLines.h"

#include "closing/StatementTally.h"
#include "platform/Printer.h"

namespace trv::statement {

void zacniTisk(Printer& printer, double bodySize) {
    printer.setBold(true);
    printer.setFontName(QStringLiteral("Courier New"));
    for (int i = 0; i < 3; ++i)
        printer.print();
    printer.setFontSize(bodySize);
}

void printUnderlined(Printer& printer, const QString& lead, const QString& text) {
    const bool underline = printer.font().underline;
    printer.setUnderline(false);
    printer.printContinued(lead);
    printer.setUnderline(true);
    printer.print(text);
    printer.setUnderline(underline);
}

void tiskniNominaly(Printer& printer, const QString& indent, const QString& title, const CompanyTally& tally,
                    const NominalFields& fields, int ruleWidth) {
    printUnderlined(printer, indent, title);
    printer.print();
    for (const NominalLine& n : tally.lines)
        printer.print(indent + nominal(n, fields));
    printer.print(indent + repeat(u'_', ruleWidth));
    printer.print();
}

} // namespace trv::statement

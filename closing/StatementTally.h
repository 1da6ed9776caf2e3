#pragma once

#include "platform/Currency.h"
#include "platform/Result.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace trv {

class CColStrav;
class CStrav;

// One line of a company's statement: the codes of one face value.
struct NominalLine {
    QString text;   // the value in its shortest form ("55", "55,5"), the line's key
    Currency value; // that text read back
    qint32 count = 0;
    Currency amount; // value x count
};

// The tally of one voucher type: its codes other than the NOREAD text counted per face value, the lines in
// ascending order of value, with the company's amount and count.
struct CompanyTally {
    std::vector<NominalLine> lines;
    Currency amount;
    qint64 count = 0;

    bool hasLines() const { return !lines.empty(); }
};

// sectiNominaly: every statement and print counts a company this way. An error when a code cannot be valued.
// `takenOff` counts (per nominal text) are subtracted before the lines are made, as the product-group statement
// takes off what its packages hold.
Result<CompanyTally> sectiNominaly(const CStrav& type, const QString& noRead,
                                   const std::vector<std::pair<QString, qint64>>& takenOff = {});

// sectiNominaly for every type of `types` (the collection or a choice from it), in their order; the first error
// when a code cannot be valued. A statement counts every company before it writes a line.
template <typename Types> Result<std::vector<CompanyTally>> sectiVsechny(const Types& types, const QString& noRead) {
    std::vector<CompanyTally> tallies;
    for (const auto& t : types) {
        auto tally = sectiNominaly(*t, noRead);
        if (!tally.ok())
            return tally.error();
        tallies.push_back(std::move(tally).value());
    }
    return tallies;
}

// The company list of the statement windows: an entry for all companies first (item data 0) unless the
// collection holds exactly one type, then one entry per type with item data 1, 2, ... (the single type: 0).
struct CompanyEntry {
    QString text;
    int itemData = 0;
};
std::vector<CompanyEntry> seznamSpolecnosti(const CColStrav& types, const QString& allCompaniesText);

// Which companies a statement covers: all of them (the entry with item data 0), or those named as the chosen
// entry, at its position in the list.
struct StatementChoice {
    bool all = true;
    QString typeName;
    int listIndex = 0;

    static StatementChoice allCompanies() { return {}; }
    static StatementChoice company(const QString& name, int listIndex) { return {false, name, listIndex}; }
};

} // namespace trv

#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace trv {

// The name of a day data file started by cash desk: the date YYMMDD, the three-digit cash desk, "_", the
// reading order and ".txt" ("241209007_2.txt").
struct CashDeskFileName {
    QString datum; // YYMMDD
    QDate den;
    QString pokladna; // three digits
    QString poradi;

    // nullopt for any other name (Barcode.txt, the names of the receipts with SM).
    static std::optional<CashDeskFileName> parse(const QString& fileName);
};

} // namespace trv

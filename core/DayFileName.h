#pragma once

#include "platform/Result.h"

#include <QString>

#include <optional>

namespace trv {

// The name of a day data file and the parts it carries. Every form the receipt starts write:
//   CashDesk     <YYMMDD><ccc>_<order>.txt                         "241209007_2.txt"
//   Sm           <date>_<SM>_<operator>_<order>.txt                "141215_123_AB_1.txt"
//   PackageWeek  <date>_<SM>_<operator>_<order>_<package>_<week>.txt "141215_123_AB_1_2_3.txt"
//   HandOver     <date>-<YYMMDD>_<SM>_<operator>_<order>.txt       "141215-141215_123_AB_1.txt"
// <date> is YYMMDD, or in customer mode any text without "_" and "-" (by default the 8-character YYYYMMDD).
// build() and parse() are inverse: build refuses any part parse could not recover.
struct DayFileName {
    enum class Form { CashDesk, Sm, PackageWeek, HandOver };

    Form form = Form::Sm;
    QString datum;       // receipt date: the first part (before "-" in the hand-over form)
    QString datumOdvodu; // HandOver: the hand-over date YYMMDD
    QString pokladna;    // CashDesk: the three-digit cash desk
    QString sm;
    QString operator_;
    QString poradi;
    QString balik; // PackageWeek: package digits
    QString tyden; // PackageWeek: week

    // The file name with ".txt"; an error naming the part that cannot stand in a name.
    Result<QString> build() const;
    // The parts of a name (with its extension, ".txt" in any letter case); nullopt when it fits no form
    // (Barcode.txt, a package file, any other file).
    static std::optional<DayFileName> parse(const QString& fileName);

    bool operator==(const DayFileName&) const = default;
};

} // namespace trv

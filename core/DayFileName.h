#pragma once

#include "platform/Result.h"

#include <QString>

#include <optional>

namespace trv {

// The name of a day data file and the parts it carries. Every form the receipt starts write:
//   CashDesk     <YYMMDD><ccc>_<order>.txt                         "241209007_2.txt"
//   Sm           <date>_<SM>_<operator>_<order>.txt                "141215_123_AB_1.txt"
//   Package      <date>_<SM>_<operator>_<order>_<package>.txt        "150121_101_X_1_2.txt" (week "1")
//   PackageWeek  <date>_<SM>_<operator>_<order>_<package>_<week>.txt "141215_123_AB_1_2_3.txt"
//   HandOver     <date>-<YYMMDD>_<SM>_<operator>_<order>.txt       "141215-141215_123_AB_1.txt"
// <date> is YYMMDD, or in customer mode any text without "_" and "-" (by default the 8-character YYYYMMDD).
// build() and parse() are inverse: build refuses any part parse could not recover.
// keys() reads every name, of a known form or not, so that every reader of names reads them alike.
struct DayFileName {
    enum class Form { CashDesk, Sm, Package, PackageWeek, HandOver };

    Form form = Form::Sm;
    QString datum;       // receipt date: the first part (before "-" in the hand-over form)
    QString datumOdvodu; // HandOver: the hand-over date YYMMDD
    QString pokladna;    // CashDesk: the three-digit cash desk
    QString sm;
    QString operator_;
    QString poradi;
    QString balik; // Package, PackageWeek: package digits
    QString tyden; // PackageWeek: week; Package: "1"

    // The file name with ".txt"; an error naming the part that cannot stand in a name.
    Result<QString> build() const;
    // The parts of a name (with its extension, ".txt" in any letter case); nullopt when it fits no form
    // (Barcode.txt, a package file, any other file).
    static std::optional<DayFileName> parse(const QString& fileName);

    // What a name gives, whatever its form. The date part is the text before the first "_" of every name (of a
    // cash-desk name the date and the cash desk, of a hand-over name both dates; the receipt date is parse()'s).
    // A name of a known form gives its other parts (a cash-desk name has no SM, operator or package). Any other
    // name is read by position, split at "_": the SM part between the first two, the operator part between the
    // second and the third, the package part after the fourth (without the extension when it ends the name, the
    // week then "1") and the week part after the fifth; a part the name does not have is absent.
    struct Keys {
        std::optional<QString> datum;
        std::optional<QString> sm;
        std::optional<QString> operator_;
        std::optional<QString> balik;
        std::optional<QString> tyden;
    };
    static Keys keys(const QString& fileName);

    // The name with `sm` in place of its SM part (the text between the first two "_"), everything else as it
    // was; nullopt for a name without an SM part.
    static std::optional<QString> withSm(const QString& fileName, const QString& sm);

    bool operator==(const DayFileName&) const = default;
};

} // namespace trv

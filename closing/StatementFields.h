#pragma once

#include "platform/Conventions.h"
#include "platform/Currency.h"

#include <QString>

namespace trv {
struct NominalLine;
}

namespace trv::statement {

// A field of a fixed-pitch statement line: the value preceded (right-aligned, FieldLine) or followed (left-aligned)
// by `blanks` blanks, of which `width` characters remain. A value shorter than width - blanks gives a shorter
// field; the statements have always looked that way and the columns of the stored layouts rely on it.
using Field = FixedField;

// The first `width` characters of x + blanks; a longer name is cut.
QString left(const QString& x, Field f);

// The amount in the Czech currency form ("365,00 Kč").
QString amount(Currency v);
// A nominal value with two decimals ("55,00").
QString price(Currency v);
QString count(qint64 n);
QString repeat(QChar c, int n);

// The columns of a line of one nominal value: the value, the count of its codes and their amount.
struct NominalFields {
    Field price;
    Field count;
    Field amount;
};
QString nominal(const NominalLine& n, const NominalFields& f);

} // namespace trv::statement

#include "closing/StatementFields.h"

#include "closing/StatementTally.h"
#include "platform/Conventions.h"

namespace trv::statement {

QString left(const QString& x, Field f) {
    return trv::left(x + QString(f.blanks, u' '), f.width);
}

QString amount(Currency v) {
    return formatCurrency(v);
}

QString price(Currency v) {
    return formatNumber(v, u"###0.00");
}

QString count(qint64 n) {
    return QString::number(n);
}

QString repeat(QChar c, int n) {
    return QString(n, c);
}

QString nominal(const NominalLine& n, const NominalFields& f) {
    return FieldLine()
        .right(price(n.value), f.price)
        .right(count(n.count), f.count)
        .right(amount(n.amount), f.amount)
        .str();
}

} // namespace trv::statement

#pragma once

#include "core/CColStrav.h"
#include "core/CStrav.h"

#include <QString>

#include <memory>

namespace trv::bench {

// The reader benchmarks' voucher types: type n (from 0) takes codes of 8 + n digits with the value in digits 2
// to 4, and the code of a serial number for it.
constexpr int kTypes = 20;

inline void addTypes(CColStrav& types) {
    for (int n = 0; n < kTypes; ++n) {
        auto t = std::make_shared<CStrav>();
        t->Nazev = QStringLiteral("Typ%1 Stravenky").arg(n + 1);
        t->Delka = 8 + n;
        t->PozCastka = 2;
        t->DelkaCastka = 3;
        t->KoefCastka = 1;
        t->PoradiSpolecnosti = static_cast<qint16>(n + 1);
        (void)types.Add(t);
    }
}

inline QString code(int type, qint64 serial) {
    const int length = 8 + type;
    const QString digits = QString::number(100 + serial % 900) + QString::number(serial);
    return (QStringLiteral("9") + digits + QString(length, u'0')).left(length);
}

} // namespace trv::bench

#pragma once

#include "core/CStrav.h"

#include <QString>

#include <memory>

namespace trv::test {

// A voucher type of the reader tests: its value stands in the code (`delkaCastka` digits from `pozCastka`, in
// whole crowns), interleaved codes are checked, and the reader keeps its own gain, scan speed and laser power.
struct TestType {
    QString name;
    qint32 delka = 0;
    qint32 delka2 = 0;
    qint32 pozCastka = 6;
    qint32 delkaCastka = 3;
    qint16 pozInterleave1 = 0;
    qint16 order = 0;
};

inline std::shared_ptr<CStrav> makeTestType(const TestType& def) {
    auto t = std::make_shared<CStrav>();
    t->Nazev = def.name;
    t->Delka = def.delka;
    t->Delka2 = def.delka2;
    t->PozCastka = def.pozCastka;
    t->DelkaCastka = def.delkaCastka;
    t->KoefCastka = 1;
    t->pozInterleave1 = def.pozInterleave1;
    t->PoradiSpolecnosti = def.order;
    t->CheckIL = 1;
    t->GainLevel = -1;
    t->ScanSpeed = -1;
    t->LaserPower = -1;
    return t;
}

} // namespace trv::test

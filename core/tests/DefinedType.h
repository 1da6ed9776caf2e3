#pragma once

#include "core/CStrav.h"

#include <QString>

#include <functional>
#include <memory>

namespace trv::test {

// A voucher type as the definition file gives it when a section names only its lengths: the distinguishing-
// number positions and the "contains" switches absent (-1). `configure` sets what a test needs besides.
inline std::shared_ptr<CStrav> makeDefinedType(const QString& name, qint32 delka, qint32 delka2,
                                               const std::function<void(CStrav&)>& configure = {}) {
    auto t = std::make_shared<CStrav>();
    t->Nazev = name;
    t->Delka = delka;
    t->Delka2 = delka2;
    t->PoziceRC = -1;
    t->ObsahujeRC = -1;
    t->delka1PoziceRC1 = t->delka2PoziceRC1 = t->delka1PoziceRC2 = t->delka2PoziceRC2 = -1;
    t->delka1PoziceRC3 = t->delka2PoziceRC3 = -1;
    t->ObsahujeRC2 = t->ObsahujeRC3 = -1;
    if (configure)
        configure(*t);
    return t;
}

} // namespace trv::test

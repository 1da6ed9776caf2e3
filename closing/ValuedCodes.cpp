#include "closing/ValuedCodes.h"

#include "core/CColStrav.h"

namespace trv {

Status proKazdyOcenenyKod(const CColStrav& types, const QString& noRead,
                          const std::function<void(const ValuedCode&)>& visit) {
    for (const auto& t : types) {
        for (const auto& code : *t->Polozky) {
            if (code->Kod == noRead)
                continue;
            const auto value = code->DejHodnotu();
            if (!value.ok())
                return Status(value.error());
            const auto type = code->TypS();
            visit(ValuedCode{*code, value.value(), type ? type->kodTypu : t->kodTypu});
        }
    }
    return Status::success();
}

} // namespace trv

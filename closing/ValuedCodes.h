#pragma once

#include "platform/Currency.h"
#include "platform/Result.h"

#include <QString>

#include <functional>

namespace trv {

class CColStrav;
class CPolozka;

// A code of the receipt as the exports write it: its value and the number of the type it was booked to (the
// number of the company that holds it when its type is gone).
struct ValuedCode {
    const CPolozka& code;
    Currency value;
    qint16 typeNumber = 0;
};

// Hands every code of every company other than the NOREAD text to `visit`, in collection order. Stops at the
// first code that cannot be valued and returns its error.
Status proKazdyOcenenyKod(const CColStrav& types, const QString& noRead,
                          const std::function<void(const ValuedCode&)>& visit);

} // namespace trv

#pragma once

#include "platform/Result.h"

namespace trv {

struct AppState;

// The working modes of a safe-bag customer: cash desk, daily safe bag and collected safe bag.
enum class PracovniRezim { Pokladni, DennySafeBag, SafeBag };

// Sets the two mode flags and the data folder of the mode ([Data] Dir, DirDenSFB or DirSFB). A mode whose
// folder key is missing is refused with the getter's message and the previous mode stays.
Status zvolRezim(AppState& state, PracovniRezim rezim);

} // namespace trv

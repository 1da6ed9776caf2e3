// The definitions loader: any bytes as TypStrav.ini, loaded into a voucher-type collection.
#include "FuzzFolder.h"
#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"

using namespace trv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::writeInput("TypStrav.ini", data, size);
    AppState state(fuzz::folder());
    ScriptedPrompts prompts([](const QString&) {}); // what the loader tells the operator is not under test
    const FixedClock clock(QDateTime(QDate(2026, 3, 14), QTime(10, 0)));
    CColStrav types(state, prompts, clock);
    if (types.NactiINI().ok())
        (void)types.GetStrSum();
    return 0;
}

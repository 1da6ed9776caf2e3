#include "closing/PackageSums.h"

#include "closing/ReceiptInfo.h"
#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/ReaderControl.h"
#include "platform/Prompts.h"

namespace trv {

void souctyBaliku(AppState& state, Prompts& prompts, const ClosingHooks& hooks) {
    if (!state.sw.gFBalikyTyden || !state.gColStravBalik)
        return;
    NullReaderControl noReader;
    Booking(state, *state.gColStravBalik, prompts, noReader).VyhodDupl();
    if (Status summed = state.gColStravBalik->nactiSouctyStravenek(); !summed.ok()) {
        prompts.error(summed.message());
        return;
    }
    if (hooks.zobrazSouctyBaliku)
        hooks.zobrazSouctyBaliku(state.gColStravBalik->GetStrSum());
}

} // namespace trv

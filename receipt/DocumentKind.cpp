#include "receipt/DocumentKind.h"

#include "core/AppState.h"

namespace trv {

void nastavDruhDokladu(AppState& state, const QString& typSeku) {
    state.gTypDobropis = typSeku == kDruhDobropis;
    state.gTypDovolena = typSeku == kDruhDovolena;
    state.gTypDarkove = typSeku == kDruhDarkove;
    state.gTypUni = typSeku == kDruhUni;
}

} // namespace trv

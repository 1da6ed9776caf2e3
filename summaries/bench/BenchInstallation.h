#pragma once

// The generated office the period benchmarks load: its program folder in statement mode, recognition by the
// whole code, repeated codes dropped.

#include "core/AppState.h"
#include "core/ReaderControl.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"
#include "summaries/PeriodFiles.h"
#include "summaries/PeriodState.h"
#include "testsupport/BenchSupport.h"

namespace trv::bench {

struct Installation {
    Installation() : state(benchDir()) {
        state.gDatovyAdresar = state.programFolder / "data";
        state.sw.gFVycetky = true;
        state.sw.gFRozpoznaniKodem = true;
        state.gAutoDupl = QStringLiteral("True");
    }
    PeriodServices services() { return {state, prompts, clock, reader}; }

    AppState state;
    ScriptedPrompts prompts;
    SystemClock clock;
    NullReaderControl reader;
};

// The generated data's whole span, the year-long load of the benchmarks.
inline PeriodChoice wholeSpan() {
    PeriodChoice c;
    c.datumOd = QDate(2024, 1, 1);
    c.datumDo = QDate(2025, 12, 31);
    return c;
}

} // namespace trv::bench

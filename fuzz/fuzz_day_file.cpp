// The receipt (day) file reader: any bytes as a day data file, each line booked into the sample installation's
// voucher types as the day totals and the append mode book stored lines, then valued.
#include "FuzzFolder.h"
#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/ReaderControl.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompts.h"

#include <memory>

using namespace trv;

namespace {

struct Installation {
    Installation() : clock(QDateTime(QDate(2026, 3, 14), QTime(10, 0))) {
        for (const char* name : {"TRV7300.ini", "TypStrav.ini", "hodnoty_beta.ini", "langCS.ini"}) {
            std::error_code ec;
            std::filesystem::copy_file(std::filesystem::path(TRV_SAMPLE_DIR) / name, fuzz::folder() / name,
                                       std::filesystem::copy_options::overwrite_existing, ec);
        }
        state = AppState(fuzz::folder());
        types = std::make_unique<CColStrav>(state, prompts, clock);
        if (!types->NactiINI().ok() || types->count() == 0)
            __builtin_trap(); // the sample installation must load
    }

    AppState state;
    ScriptedPrompts prompts{[](const QString&) {}};
    FixedClock clock;
    std::unique_ptr<CColStrav> types;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Installation inst;
    const auto file = fuzz::writeInput("260314_001_Fuzz_1.txt", data, size);
    const auto lines = TextFiles::readLines(file);
    if (!lines.ok())
        return 0;
    NullReaderControl reader;
    Booking booking(inst.state, *inst.types, inst.prompts, reader);
    for (const QString& line : lines.value()) {
        if (!line.trimmed().isEmpty())
            (void)booking.PridejKod(line, 1, false);
    }
    (void)inst.types->GetStrSum();
    booking.VymazBuf();
    return 0;
}

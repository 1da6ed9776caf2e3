// The receipt (day) file reader: any bytes as a day data file, each line booked into the sample installation's
// voucher types as the day totals and the append mode book stored lines, then valued.
#include "SampleInstallation.h"
#include "core/Booking.h"
#include "core/ReaderControl.h"

using namespace trv;

namespace {

using Installation = fuzz::SampleInstallation;

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

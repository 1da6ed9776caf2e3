// The per-SM scan of statement files: any bytes as the one statement file of a day, summed by every variant the
// period exports and the reports per SM use (per voucher type by the value field and by the code's own value, three
// and five fixed issuers), in each record layout. A value field that is no amount, or a sum that leaves the money
// type's range, must end as a skipped line or an error, never as undefined behaviour.
#include "SampleInstallation.h"
#include "exports/SmScan.h"

using namespace trv;

namespace {

// The scan reads the statement files of the data folder.
struct Installation : fuzz::SampleInstallation {
    Installation() {
        std::filesystem::create_directories(fuzz::folder() / "data");
        state.gDatovyAdresar = fuzz::folder() / "data";
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Installation inst;
    (void)fuzz::writeInput("data/260314_101_OP1_1.vyc", data, size);
    using V = SmScanVariant;
    static const V kVariants[] = {
        {V::Columns::PerType, V::Value::Field, false, false},
        {V::Columns::PerType, V::Value::Always, false, false},
        {V::Columns::Three, V::Value::Field, false, false},
        {V::Columns::Five, V::Value::Field, false, false},
    };
    const SmScanRequest request{QDate(2026, 3, 14), QDate(2026, 3, 14), {}, {}, false, nullptr};
    // The first byte, when there is one, picks the record layout: default, without the date, depot.
    const int layout = size > 0 ? data[0] % 3 : 0;
    inst.state.sw.gFVycBezData = layout == 1;
    inst.state.sw.gFDepo = layout == 2;
    // A prompts object of this input's own: the messages of a run are not kept past it.
    ScriptedPrompts prompts{[](const QString&) {}};
    for (const V& variant : kVariants) {
        const int columns = variant.columns == V::Columns::Three  ? 3
                            : variant.columns == V::Columns::Five ? 5
                                                                  : inst.types->pocetSpolecnosti();
        const auto scanned = scanStatementFiles(inst.state, prompts, inst.types.get(), columns, request, variant);
        if (scanned.ok())
            tellLeftOut(inst.state, prompts, scanned.value());
    }
    return 0;
}

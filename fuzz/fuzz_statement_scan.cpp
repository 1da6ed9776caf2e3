// The per-SM scan of statement files: any bytes as the one statement file of a day, summed by every variant the
// period exports and the reports per SM use (per voucher type by the value field and by the code's own value, three
// and five fixed issuers), in each record layout, read in pieces of a few bytes so that lines and line ends are cut
// between pieces, then summed per SM into the scratch table. A value field that is no amount, or a sum that leaves
// the money type's range or the table's column, must end as a skipped line or an error, never as undefined
// behaviour.
#include "SampleInstallation.h"
#include "exports/SmScan.h"
#include "exports/SmSums.h"
#include "platform/Shell.h"

using namespace trv;

namespace {

// The scan reads the statement files of the data folder, and the sums go to its scratch table.
struct Installation : fuzz::SampleInstallation {
    Installation() {
        std::filesystem::create_directories(fuzz::folder() / "data");
        state.gDatovyAdresar = fuzz::folder() / "data";
    }
    RecordingShell shell;
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
    // The first byte, when there is one, picks the record layout (default, without the date, depot) and the per-SM
    // sums' variant; the second the size of the pieces the file is read in, 4 to 66 bytes.
    const uint8_t first = size > 0 ? data[0] : 0;
    const int layout = first % 3;
    inst.state.sw.gFVycBezData = layout == 1;
    inst.state.sw.gFDepo = layout == 2;
    const qsizetype pieceSize = 4 + (size > 1 ? data[1] % 63 : 0);
    SmScanRequest request{QDate(2026, 3, 14), QDate(2026, 3, 14), {}, {}, false, nullptr};
    request.pieceSize = pieceSize;
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

    // Through to the scratch table (data.dbf), grouped per SM or per SM, operator and order.
    static const SmSumsVariant kSums[] = {SmSumsVariant::Cba, SmSumsVariant::Tesco, SmSumsVariant::Counts};
    SmSumsRequest sums{QDate(2026, 3, 14), QDate(2026, 3, 14), {}, false, (first / 3) % 2 == 1};
    sums.pieceSize = pieceSize;
    const ExportContext ctx{inst.state, prompts, inst.shell, inst.clock, nullptr};
    (void)sumPeriodPerSm(ctx, sums, kSums[(first / 6) % 3]);
    return 0;
}

// The dBASE reader: any bytes as a table file, opened read-only and read whole.
#include "FuzzFolder.h"
#include "platform/DbfTable.h"

using namespace trv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto file = fuzz::writeInput("exp_data.dbf", data, size);
    Result<DbfTable> table = DbfTable::open(file, DbfTable::Access::ReadOnly);
    if (!table.ok())
        return 0;
    for (int row = 0; row < table.value().recordCount(); ++row) {
        if (!table.value().read(row).ok())
            break;
    }
    (void)table.value().readAll();
    return 0;
}

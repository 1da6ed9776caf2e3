// The value table of a voucher type: any bytes as the table file.
#include "FuzzFolder.h"
#include "core/TypeDefinitions.h"
#include "core/ValueTable.h"

using namespace trv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto file = fuzz::writeInput("hodnoty.ini", data, size);
    ValueTable table;
    (void)TypeDefinitions::loadValueTable(file, table);
    for (const auto& [key, value] : table.entries())
        (void)table.value(key);
    return 0;
}

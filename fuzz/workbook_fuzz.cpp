// Workbooks as the price-list import reads them: archive, relationships, shared strings and
// the first sheet, all from hostile bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/xlsx/workbook_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr int kColumns = 7;
    // A smaller limit than the import's keeps each run quick; the rule is the same.
    const auto rows = tf::readFirstSheet(
        std::string_view(reinterpret_cast<const char*>(data), size), kColumns, 16u << 20);
    if (rows) {
        for (const tf::SheetRow& row : *rows) {
            if (row.cells.size() != kColumns) {
                __builtin_trap();
            }
        }
    }
    return 0;
}

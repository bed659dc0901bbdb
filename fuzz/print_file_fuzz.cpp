// Print file bytes: raw input, and the same input with a valid checksum appended to its grid
// part so the fuzzer reaches the grid parser behind the fixed fields.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/base/crc32.h"
#include "core/print/print_file.h"
#include "core/print/print_sheet.h"

namespace {

void exercise(const std::string& bytes) {
    auto file = tf::parsePrintFile(bytes);
    if (!file) {
        return;
    }
    tf::PrintSheet sheet = tf::emptySheet();
    tf::applyPrintFile(sheet, std::move(*file));
    // Whatever loads must save and load back to the same sheet.
    const auto again = tf::serializePrintFile(sheet);
    if (!again) {
        __builtin_trap();
    }
    const auto reread = tf::parsePrintFile(again->bytes);
    if (!reread || !(reread->grid == sheet.grid) || reread->hidden != sheet.hidden) {
        __builtin_trap();
    }
    (void)tf::sheetTitle(sheet);
    sheet.grid.setCursor(sheet.grid.rowCount() / 2, sheet.grid.columnCount() / 2);
    tf::insertSheetColumn(sheet);
    tf::deleteSheetRow(sheet);
    tf::showAllSheetColumns(sheet);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    exercise(input);
    if (size >= 2) {
        const std::size_t gridStart = 2 + 5 * std::size_t{data[1]} + tf::kPrintTitleBytes +
                                      tf::kPrintFontBytes + tf::kPrintSizeBytes;
        if (gridStart <= size) {
            std::string sealed = input;
            const std::uint32_t crc = tf::crc32(std::string_view(input).substr(gridStart));
            for (int i = 0; i < 4; ++i) {
                sealed.push_back(static_cast<char>((crc >> (8 * i)) & 0xFF));
            }
            exercise(sealed);
        }
    }
    return 0;
}

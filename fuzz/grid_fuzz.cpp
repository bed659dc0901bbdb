// Grid bytes: raw input, and the same input with a valid checksum appended so the fuzzer
// reaches the parser behind the checksum.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/base/crc32.h"
#include "core/grid/grid.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    tf::Grid grid(2, 2);
    grid.load(input);

    std::string sealed = input;
    const std::uint32_t crc = tf::crc32(sealed);
    for (int i = 0; i < 4; ++i) {
        sealed.push_back(static_cast<char>((crc >> (8 * i)) & 0xFF));
    }
    if (grid.load(sealed)) {
        // Whatever loads must save and load back to the same grid.
        tf::Grid again;
        if (!again.load(grid.save()) || !(again == grid)) {
            __builtin_trap();
        }
        grid.recalculate();
        grid.mergeAt(grid.rowCount() / 2, 0);
        grid.deleteRows(0);
        grid.insertColumns(0);
    }
    return 0;
}

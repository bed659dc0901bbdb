// Structure parts: the tree part, the item-table part (raw, and sealed with a valid
// checksum so the fuzzer gets past it) and the structure file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/base/crc32.h"
#include "core/structure/default_structure.h"
#include "core/structure/item_table.h"
#include "core/structure/structure_file.h"
#include "core/structure/structure_tree.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (const auto tree = tf::parseTree(input)) {
        if (tf::parseTree(tf::serializeTree(*tree)) != tree) {
            __builtin_trap();  // what was read writes and reads back the same
        }
    }
    std::string sealed = input;
    const std::uint32_t crc = tf::crc32(sealed);
    for (int i = 0; i < 4; ++i) {
        sealed.push_back(static_cast<char>((crc >> (8 * i)) & 0xFF));
    }
    if (const auto items = tf::parseItemTable(sealed)) {
        if (tf::parseItemTable(tf::serializeItemTable(*items)) != items) {
            __builtin_trap();
        }
    }
    tf::parseItemTable(input);
    tf::parseStructureFile(input);
    return 0;
}

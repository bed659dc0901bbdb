// Material text files as the import reads them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/materials/material_text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tf::forEachMaterialLine(std::string_view(reinterpret_cast<const char*>(data), size),
                            [](const tf::MaterialFields& fields) {
                                if (fields[0].empty() || fields[1].empty()) {
                                    __builtin_trap();  // only lines with a category and a name
                                }
                            });
    return 0;
}

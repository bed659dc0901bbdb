// Material text files as the import reads them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/materials/price_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tf::PriceList list =
        tf::parsePriceList(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const tf::PriceLine& line : list.materials) {
        // Only lines with a category, a name and a price that is what it shows.
        if (line.fields[0].empty() || line.fields[1].empty() ||
            !(tf::isBlank(line.fields[4]) || tf::isPlainNumber(line.fields[4]))) {
            __builtin_trap();
        }
    }
    return 0;
}

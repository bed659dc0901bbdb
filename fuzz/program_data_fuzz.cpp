// "ZUdavu.dat" as start-up reads it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/shell/program_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto parsed = tf::parseProgramData(bytes)) {
        if (tf::parseProgramData(tf::buildProgramData(*parsed)) != parsed) {
            __builtin_trap();
        }
    }
    return 0;
}

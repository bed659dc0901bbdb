// The update package and the version file, as any server might send them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/update/update_package.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (const auto files = tf::parseUpdatePackage(input)) {
        std::size_t total = 0;
        for (const tf::PackageFile& f : *files) {
            if (!tf::plainPackageName(f.name)) {
                __builtin_trap();
            }
            total += f.content.size();
        }
        if (total > size) {
            __builtin_trap();
        }
    }
    (void)tf::latestDataNumber(input);
    return 0;
}

// Project files as loadProject reads them, without the file around them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/base/prompter.h"
#include "core/project/project_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tf::SilentPrompter prompter;
    const auto document =
        tf::readProjectImage(std::string_view(reinterpret_cast<const char*>(data), size), prompter);
    if (document.has_value() == prompter.told) {
        __builtin_trap();  // a refusal is always told, a success never
    }
    return 0;
}

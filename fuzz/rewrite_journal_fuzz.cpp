// The journals of rewrites in place, as the next open of a project reads them from the user's
// cache folder.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/base/rewrite_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto parsed = tf::parseRewriteJournal(bytes)) {
        // Only ever a plain name in the safety folder, and read back as written.
        if (parsed->copyName.find_first_of("/\\:") != std::string::npos ||
            tf::parseRewriteJournal(tf::serializeRewriteJournal(*parsed)) != parsed) {
            __builtin_trap();
        }
    }
    return 0;
}

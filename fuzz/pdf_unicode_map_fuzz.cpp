// A PDF's text layer corrected after the writer: any bytes. Nothing is read outside them, no
// byte moves, and only the destinations of the maps change.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/print/pdf_unicode_map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string pdf = bytes;
    const tf::CodePointMap corrected = {{0x2F54, 0x6C34}, {0x0009, 0x0020}, {0x3B35, 0x80F6}};
    const int replaced = tf::correctToUnicodeMaps(pdf, corrected);
    if (pdf.size() != bytes.size() || replaced < 0) {
        __builtin_trap();
    }
    int changed = 0;
    for (std::size_t i = 0; i < pdf.size(); ++i) {
        changed += pdf[i] != bytes[i] ? 1 : 0;
    }
    if (changed > 4 * replaced) {
        __builtin_trap();
    }
    return 0;
}

#include "core/base/file_names.h"

#include <algorithm>
#include <array>
#include <string>

#include "core/base/text_util.h"

namespace tf {

bool forbiddenInFileName(unsigned char c) {
    return c < 0x20 || c == 0x7F ||
           std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
}

bool reservedDeviceName(std::string_view name) {
    std::string stem = asciiLower(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') {
        stem.pop_back();
    }
    static constexpr std::array<std::string_view, 4> kPlain = {"con", "prn", "aux", "nul"};
    if (std::ranges::find(kPlain, stem) != kPlain.end()) {
        return true;
    }
    return stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

bool hasExtension(std::string_view name, std::string_view extension) {
    return name.size() > extension.size() &&
           equalIgnoringAsciiCase(name.substr(name.size() - extension.size()), extension);
}

}  // namespace tf

#include "core/base/text_util.h"

#include <algorithm>

namespace tf {
namespace {

char upperOf(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}
char lowerOf(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

}  // namespace

bool isWholeNumber(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

std::string_view trimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string withoutSpaces(std::string_view text) {
    std::string out(text);
    std::erase(out, ' ');
    return out;
}

std::string asciiUpper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), upperOf);
    return out;
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lowerOf);
    return out;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerOf(x) == lowerOf(y);
           });
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out(text);
    for (std::size_t at = out.find(from); at != std::string::npos;
         at = out.find(from, at + to.size())) {
        out.replace(at, from.size(), to);
    }
    return out;
}

}  // namespace tf

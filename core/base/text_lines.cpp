#include "core/base/text_lines.h"

#include <algorithm>

#include "core/base/text_codec.h"
#include "core/base/utf8.h"

namespace tf {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Text in UTF-8 without its mark, as editors save it. Chinese in GBK is valid UTF-8 only by
// chance, about one character in ten, and never for long: a file that is valid UTF-8 with
// at least 8 characters beyond ASCII is taken for UTF-8.
bool readsAsUtf8(std::string_view bytes) {
    constexpr int kEnoughCharacters = 8;
    int beyondAscii = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t from = pos;
        if (utf8::next(bytes, pos) == utf8::kMalformed) {
            return false;
        }
        beyondAscii += pos - from > 1 ? 1 : 0;
    }
    return beyondAscii >= kEnoughCharacters;
}

}  // namespace

std::string tabField(std::string_view cell) {
    std::string text(cell);
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

void forEachTextLine(std::string_view bytes,
                     const std::function<void(int number, std::string_view line)>& visit,
                     const std::function<void(int number)>& tooLong) {
    const bool marked = bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (marked) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    const bool utf8Text = marked || readsAsUtf8(bytes);
    // GBK and UTF-8 never use the line feed inside a character: lines split on raw bytes.
    int number = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        std::string_view raw = bytes.substr(start, end - start);
        start = end + 1;
        ++number;
        if (raw.size() > kLongestTextLine) {
            if (tooLong) {
                tooLong(number);
            }
            continue;
        }
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        visit(number, utf8Text ? utf8::sanitize(raw) : fromGbk(raw));
    }
}

std::vector<std::string> textLines(std::string_view bytes) {
    std::vector<std::string> lines;
    forEachTextLine(bytes, [&](int, std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::vector<std::string_view> tabFields(std::string_view line, std::size_t limit) {
    std::vector<std::string_view> fields;
    std::size_t from = 0;
    while (fields.size() + 1 < limit) {
        const std::size_t tab = line.find('\t', from);
        if (tab == std::string_view::npos) {
            break;
        }
        fields.push_back(line.substr(from, tab - from));
        from = tab + 1;
    }
    fields.push_back(line.substr(from));
    return fields;
}

}  // namespace tf

#include "core/base/text_lines.h"

#include <algorithm>

#include "core/base/text_codec.h"
#include "core/base/utf8.h"

namespace tf {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::string tabField(std::string_view cell) {
    std::string text(cell);
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::vector<std::string> textLines(std::string_view bytes) {
    const std::string text = bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark
                                 ? utf8::sanitize(bytes.substr(kByteOrderMark.size()))
                                 : fromGbk(bytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string_view> tabFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t from = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', from);
        if (tab == std::string_view::npos) {
            fields.push_back(line.substr(from));
            return fields;
        }
        fields.push_back(line.substr(from, tab - from));
        from = tab + 1;
    }
}

}  // namespace tf

#include "core/print/pdf_unicode_map.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace tf {
namespace {

constexpr std::string_view kMapStart = "/CIDInit /ProcSet findresource begin";
constexpr std::string_view kMapEnd = "endcmap";

std::optional<int> hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return std::nullopt;
}

// The token <XXXX> of one code point starting at `at`, or nothing.
std::optional<char16_t> codePointAt(const std::string& s, std::size_t at) {
    if (at + 6 > s.size() || s[at] != '<' || s[at + 5] != '>') {
        return std::nullopt;
    }
    unsigned value = 0;
    for (std::size_t i = 1; i <= 4; ++i) {
        const auto digit = hexDigit(s[at + i]);
        if (!digit) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<unsigned>(*digit);
    }
    return static_cast<char16_t>(value);
}

void writeCodePoint(std::string& s, std::size_t at, char16_t value) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    for (std::size_t i = 0; i < 4; ++i) {
        s[at + 4 - i] = kDigits[(value >> (4 * i)) & 0xF];
    }
}

// Reads the entries of one bfchar or bfrange block as tokens: <hex> strings and the brackets
// of a range's list of destinations.
class MapTokens {
  public:
    MapTokens(const std::string& s, std::size_t from, std::size_t to) : s_(s), at_(from), to_(to) {}

    // Where the next <hex> token starts, or nothing at the block's end or at anything else.
    std::optional<std::size_t> hex() {
        skipSpace();
        if (at_ >= to_ || s_[at_] != '<') {
            return std::nullopt;
        }
        const std::size_t start = at_;
        const std::size_t close = s_.find('>', at_);
        if (close >= to_) {
            return std::nullopt;
        }
        at_ = close + 1;
        return start;
    }
    bool take(char c) {
        skipSpace();
        if (at_ < to_ && s_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

  private:
    void skipSpace() {
        while (at_ < to_ &&
               (s_[at_] == ' ' || s_[at_] == '\n' || s_[at_] == '\r' || s_[at_] == '\t')) {
            ++at_;
        }
    }

    const std::string& s_;
    std::size_t at_;
    std::size_t to_;
};

bool correctToken(std::string& s, std::size_t at, const CodePointMap& corrected) {
    const auto code = codePointAt(s, at);
    const auto it = code ? corrected.find(*code) : corrected.end();
    if (it == corrected.end()) {
        return false;
    }
    writeCodePoint(s, at, it->second);
    return true;
}

// The entries of one block. The sources (glyphs) stay; a destination that is a single code
// point is corrected, except the start of a range of several glyphs, where every later glyph
// counts on from it. Anything that does not read as an entry ends the block.
int correctBlock(std::string& s, std::size_t from, std::size_t to, bool range,
                 const CodePointMap& corrected) {
    MapTokens tokens(s, from, to);
    int replaced = 0;
    while (const auto source = tokens.hex()) {
        std::optional<std::size_t> last = source;
        if (range && !(last = tokens.hex())) {
            break;
        }
        if (range && tokens.take('[')) {
            while (const auto destination = tokens.hex()) {
                replaced += correctToken(s, *destination, corrected) ? 1 : 0;
            }
            if (!tokens.take(']')) {
                break;
            }
            continue;
        }
        const auto destination = tokens.hex();
        if (!destination) {
            break;
        }
        const bool oneGlyph = !range || codePointAt(s, *source) == codePointAt(s, *last);
        if (oneGlyph && codePointAt(s, *source)) {
            replaced += correctToken(s, *destination, corrected) ? 1 : 0;
        }
    }
    return replaced;
}

int correctBlocks(std::string& s, std::size_t from, std::size_t to, std::string_view begin,
                  std::string_view end, bool range, const CodePointMap& corrected) {
    int replaced = 0;
    for (std::size_t at = s.find(begin, from); at < to; at = s.find(begin, at + 1)) {
        const std::size_t stop = std::min(s.find(end, at), to);
        replaced += correctBlock(s, at + begin.size(), stop, range, corrected);
        at = stop;
    }
    return replaced;
}

}  // namespace

int correctToUnicodeMaps(std::string& pdf, const CodePointMap& corrected) {
    if (corrected.empty()) {
        return 0;
    }
    int replaced = 0;
    for (std::size_t at = pdf.find(kMapStart); at != std::string::npos;
         at = pdf.find(kMapStart, at + 1)) {
        const std::size_t end = pdf.find(kMapEnd, at);
        if (end == std::string::npos) {
            break;
        }
        replaced += correctBlocks(pdf, at, end, "beginbfchar", "endbfchar", false, corrected);
        replaced += correctBlocks(pdf, at, end, "beginbfrange", "endbfrange", true, corrected);
        at = end;
    }
    return replaced;
}

}  // namespace tf

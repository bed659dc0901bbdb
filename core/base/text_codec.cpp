#include "core/base/text_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "core/base/gb18030_four_byte.h"
#include "core/base/platform_codec.h"
#include "core/base/utf8.h"

namespace tf {
namespace {

constexpr unsigned kLeadFirst = 0x81;
constexpr unsigned kLeadLast = 0xFE;
constexpr unsigned kTrailFirst = 0x40;
constexpr unsigned kTrailLast = 0xFE;
constexpr unsigned kTrailCount = kTrailLast - kTrailFirst + 1;

bool isLead(unsigned b) {
    return b >= kLeadFirst && b <= kLeadLast;
}
bool isTrail(unsigned b) {
    return b >= kTrailFirst && b <= kTrailLast && b != 0x7F;
}
bool isFourByteDigit(unsigned b) {
    return b >= 0x30 && b <= 0x39;
}

// The double-byte plane both ways, filled once from the platform converter so that the
// hot paths (saving and loading large tables) are plain table look-ups.
struct DoubleByteTables {
    std::vector<char32_t> decode;       // (lead, trail) -> code point, 0 = unmapped
    std::vector<std::uint16_t> encode;  // BMP code point -> lead << 8 | trail, 0 = none
    // The few double-byte characters beyond the basic plane, with their bytes.
    std::vector<std::pair<char32_t, std::uint16_t>> supplementary;

    DoubleByteTables() : decode((kLeadLast - kLeadFirst + 1) * kTrailCount, 0), encode(0x10000, 0) {
        std::string pairs;
        pairs.reserve(decode.size() * 2);
        for (unsigned lead = kLeadFirst; lead <= kLeadLast; ++lead) {
            for (unsigned trail = kTrailFirst; trail <= kTrailLast; ++trail) {
                if (isTrail(trail)) {
                    pairs += {static_cast<char>(lead), static_cast<char>(trail)};
                }
            }
        }
        // The whole plane in one call (a pair never runs into the next: every trail byte
        // ends its character); pair by pair only when the converter left some unmapped.
        const auto whole = detail::platformGb18030ToUtf32(pairs);
        const bool oneEach = whole && whole->size() * 2 == pairs.size();
        for (std::size_t k = 0; k * 2 < pairs.size(); ++k) {
            const std::string_view pair = std::string_view(pairs).substr(k * 2, 2);
            std::optional<std::u32string> single;
            if (!oneEach) {
                single = detail::platformGb18030ToUtf32(pair);
                if (!single || single->size() != 1) {
                    continue;
                }
            }
            const char32_t cp = oneEach ? (*whole)[k] : (*single)[0];
            const auto lead = static_cast<unsigned char>(pair[0]);
            const auto trail = static_cast<unsigned char>(pair[1]);
            decode[index(lead, trail)] = cp;
            const auto bytes = static_cast<std::uint16_t>(lead << 8 | trail);
            if (cp >= 0x10000) {
                supplementary.emplace_back(cp, bytes);
            } else if (encode[cp] == 0) {
                encode[cp] = bytes;
            }
        }
    }

    static std::size_t index(unsigned lead, unsigned trail) {
        return (lead - kLeadFirst) * kTrailCount + (trail - kTrailFirst);
    }
};

const DoubleByteTables& tables() {
    static const DoubleByteTables instance;
    return instance;
}

// Bytes of one code point in GB18030; empty when it cannot be written.
std::string_view encodeOne(char32_t cp, const DoubleByteTables& t, std::array<char, 4>& buf,
                           std::string& fallback) {
    if (cp < 0x80) {
        buf[0] = static_cast<char>(cp);
        return {buf.data(), 1};
    }
    if (cp < 0x10000 && t.encode[cp] != 0) {
        buf[0] = static_cast<char>(t.encode[cp] >> 8);
        buf[1] = static_cast<char>(t.encode[cp] & 0xFF);
        return {buf.data(), 2};
    }
    if (cp == utf8::kMalformed) {
        return {};
    }
    for (const auto& [character, bytes] : t.supplementary) {
        if (character == cp) {
            buf[0] = static_cast<char>(bytes >> 8);
            buf[1] = static_cast<char>(bytes & 0xFF);
            return {buf.data(), 2};
        }
    }
    const auto four = gb18030FourBytes(cp);
    if (!four) {
        return {};
    }
    fallback.assign(four->data(), four->size());
    return fallback;
}

}  // namespace

std::string toGbk(std::string_view text) {
    // No code point takes more than twice its UTF-8 length in GB18030.
    std::string out(text.size() * 2, '\0');
    out.resize(static_cast<std::size_t>(encodeGbk(text, out.data()) - out.data()));
    return out;
}

char* encodeGbk(std::string_view text, char* dst) {
    const auto& t = tables();
    const auto* src = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::array<char, 4> buf{};
    std::string fallback;
    std::size_t pos = 0;
    while (pos < n) {
        const unsigned c = src[pos];
        if (c < 0x80) {
            *dst++ = static_cast<char>(c);
            ++pos;
            continue;
        }
        // Fast path: a three-byte sequence of the double-byte plane (all of Chinese).
        if ((c & 0xF0) == 0xE0 && pos + 2 < n && (src[pos + 1] & 0xC0) == 0x80 &&
            (src[pos + 2] & 0xC0) == 0x80) {
            const char32_t cp =
                (c & 0x0F) << 12 | (src[pos + 1] & 0x3F) << 6 | (src[pos + 2] & 0x3F);
            if (cp >= 0x800 && t.encode[cp] != 0) {
                *dst++ = static_cast<char>(t.encode[cp] >> 8);
                *dst++ = static_cast<char>(t.encode[cp] & 0xFF);
                pos += 3;
                continue;
            }
        }
        const std::string_view bytes = encodeOne(utf8::next(text, pos), t, buf, fallback);
        if (bytes.empty()) {
            *dst++ = '?';
        } else {
            dst = std::copy(bytes.begin(), bytes.end(), dst);
        }
    }
    return dst;
}

std::string fromGbk(std::string_view gbk) {
    // No byte sequence takes more than three times its length in UTF-8.
    std::string out(gbk.size() * 3, '\0');
    out.resize(static_cast<std::size_t>(decodeGbk(gbk, out.data()) - out.data()));
    return out;
}

char* decodeGbk(std::string_view gbk, char* dst) {
    const auto& t = tables();
    const auto put = [&dst](char32_t cp) {
        std::string encoded;
        utf8::append(encoded, cp);
        dst = std::copy(encoded.begin(), encoded.end(), dst);
    };
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(gbk[i]); };
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        const unsigned b = byte(pos);
        if (b < 0x80) {
            *dst++ = static_cast<char>(b);
            ++pos;
            continue;
        }
        if (isLead(b) && pos + 1 < gbk.size()) {
            const unsigned trail = byte(pos + 1);
            if (isTrail(trail)) {
                const char32_t cp = t.decode[DoubleByteTables::index(b, trail)];
                if (cp >= 0x800 && cp < 0x10000) {  // the usual case, written inline
                    *dst++ = static_cast<char>(0xE0 | (cp >> 12));
                    *dst++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                    *dst++ = static_cast<char>(0x80 | (cp & 0x3F));
                } else {
                    put(cp != 0 ? cp : utf8::kReplacement);
                }
                pos += 2;
                continue;
            }
            if (isFourByteDigit(trail) && pos + 3 < gbk.size() && isLead(byte(pos + 2)) &&
                isFourByteDigit(byte(pos + 3))) {
                if (const auto cp = gb18030FourByteCodePoint(gbk.substr(pos, 4))) {
                    put(*cp);
                    pos += 4;
                    continue;
                }
            }
        }
        put(utf8::kReplacement);
        ++pos;
    }
    return dst;
}

std::size_t gbkLength(std::string_view text) {
    const auto& t = tables();
    std::array<char, 4> buf{};
    std::string fallback;
    std::size_t length = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t bytes = encodeOne(utf8::next(text, pos), t, buf, fallback).size();
        length += bytes == 0 ? 1 : bytes;
    }
    return length;
}

std::string gbkPrefix(std::string_view text, std::size_t limit) {
    const auto& t = tables();
    std::array<char, 4> buf{};
    std::string fallback;
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::string_view bytes = encodeOne(utf8::next(text, pos), t, buf, fallback);
        if (bytes.empty()) {
            bytes = "?";
        }
        if (out.size() + bytes.size() > limit) {
            break;
        }
        out.append(bytes);
    }
    return out;
}

}  // namespace tf

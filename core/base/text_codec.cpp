#include "core/base/text_codec.h"

#include <array>
#include <cstdint>
#include <vector>

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

    DoubleByteTables() : decode((kLeadLast - kLeadFirst + 1) * kTrailCount, 0), encode(0x10000, 0) {
        for (unsigned lead = kLeadFirst; lead <= kLeadLast; ++lead) {
            for (unsigned trail = kTrailFirst; trail <= kTrailLast; ++trail) {
                if (!isTrail(trail)) {
                    continue;
                }
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                const auto decoded = detail::platformGb18030ToUtf32(std::string_view(pair, 2));
                if (!decoded || decoded->size() != 1) {
                    continue;
                }
                const char32_t cp = (*decoded)[0];
                decode[index(lead, trail)] = cp;
                if (cp < 0x10000 && encode[cp] == 0) {
                    encode[cp] = static_cast<std::uint16_t>(lead << 8 | trail);
                }
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
    auto bytes = detail::platformUtf32ToGb18030(cp);
    if (!bytes) {
        return {};
    }
    fallback = std::move(*bytes);
    return fallback;
}

}  // namespace

std::string toGbk(std::string_view text) {
    const auto& t = tables();
    std::string out;
    out.reserve(text.size());
    std::array<char, 4> buf{};
    std::string fallback;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto c = static_cast<unsigned char>(text[pos]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++pos;
            continue;
        }
        const std::string_view bytes = encodeOne(utf8::next(text, pos), t, buf, fallback);
        if (bytes.empty()) {
            out.push_back('?');
        } else {
            out.append(bytes);
        }
    }
    return out;
}

std::string fromGbk(std::string_view gbk) {
    const auto& t = tables();
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(gbk[i]); };
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        const unsigned b = byte(pos);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++pos;
            continue;
        }
        if (isLead(b) && pos + 1 < gbk.size()) {
            const unsigned trail = byte(pos + 1);
            if (isTrail(trail)) {
                const char32_t cp = t.decode[DoubleByteTables::index(b, trail)];
                utf8::append(out, cp != 0 ? cp : utf8::kReplacement);
                pos += 2;
                continue;
            }
            if (isFourByteDigit(trail) && pos + 3 < gbk.size() && isLead(byte(pos + 2)) &&
                isFourByteDigit(byte(pos + 3))) {
                const auto decoded = detail::platformGb18030ToUtf32(gbk.substr(pos, 4));
                if (decoded && decoded->size() == 1) {
                    utf8::append(out, (*decoded)[0]);
                    pos += 4;
                    continue;
                }
            }
        }
        utf8::append(out, utf8::kReplacement);
        ++pos;
    }
    return out;
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

}  // namespace tf

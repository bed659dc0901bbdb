#include "core/base/platform_codec.h"

#include <windows.h>

#include <cstdint>

namespace tf::detail {
namespace {

// GB18030 is code page 54936. Where the system lacks it (Wine), code page 936 gives the
// double-byte plane, and the characters GB18030 gives other code points there (out of the
// private-use area, mostly) are put right from the list below.
constexpr UINT kGb18030 = 54936;
constexpr UINT kGbk = 936;

// (bytes, code point in GB18030), read off the Linux build's converter.
struct Moved {
    std::uint16_t bytes;
    char32_t codePoint;
};
constexpr Moved kMovedFrom936[] = {
    {0xA2E3, 0x20AC},  {0xA6D9, 0xFE10}, {0xA6DA, 0xFE12},  {0xA6DB, 0xFE11},  {0xA6DC, 0xFE13},
    {0xA6DD, 0xFE14},  {0xA6DE, 0xFE15}, {0xA6DF, 0xFE16},  {0xA6EC, 0xFE17},  {0xA6ED, 0xFE18},
    {0xA6F3, 0xFE19},  {0xA8BC, 0x1E3F}, {0xA8BF, 0x1F9},   {0xA989, 0x303E},  {0xA98A, 0x2FF0},
    {0xA98B, 0x2FF1},  {0xA98C, 0x2FF2}, {0xA98D, 0x2FF3},  {0xA98E, 0x2FF4},  {0xA98F, 0x2FF5},
    {0xA990, 0x2FF6},  {0xA991, 0x2FF7}, {0xA992, 0x2FF8},  {0xA993, 0x2FF9},  {0xA994, 0x2FFA},
    {0xA995, 0x2FFB},  {0xFE50, 0x2E81}, {0xFE51, 0x20087}, {0xFE52, 0x20089}, {0xFE53, 0x200CC},
    {0xFE54, 0x2E84},  {0xFE55, 0x3473}, {0xFE56, 0x3447},  {0xFE57, 0x2E88},  {0xFE58, 0x2E8B},
    {0xFE59, 0x9FB4},  {0xFE5A, 0x359E}, {0xFE5B, 0x361A},  {0xFE5C, 0x360E},  {0xFE5D, 0x2E8C},
    {0xFE5E, 0x2E97},  {0xFE5F, 0x396E}, {0xFE60, 0x3918},  {0xFE61, 0x9FB5},  {0xFE62, 0x39CF},
    {0xFE63, 0x39DF},  {0xFE64, 0x3A73}, {0xFE65, 0x39D0},  {0xFE66, 0x9FB6},  {0xFE67, 0x9FB7},
    {0xFE68, 0x3B4E},  {0xFE69, 0x3C6E}, {0xFE6A, 0x3CE0},  {0xFE6B, 0x2EA7},  {0xFE6C, 0x215D7},
    {0xFE6D, 0x9FB8},  {0xFE6E, 0x2EAA}, {0xFE6F, 0x4056},  {0xFE70, 0x415F},  {0xFE71, 0x2EAE},
    {0xFE72, 0x4337},  {0xFE73, 0x2EB3}, {0xFE74, 0x2EB6},  {0xFE75, 0x2EB7},  {0xFE76, 0x2298F},
    {0xFE77, 0x43B1},  {0xFE78, 0x43AC}, {0xFE79, 0x2EBB},  {0xFE7A, 0x43DD},  {0xFE7B, 0x44D6},
    {0xFE7C, 0x4661},  {0xFE7D, 0x464C}, {0xFE7E, 0x9FB9},  {0xFE80, 0x4723},  {0xFE81, 0x4729},
    {0xFE82, 0x477C},  {0xFE83, 0x478D}, {0xFE84, 0x2ECA},  {0xFE85, 0x4947},  {0xFE86, 0x497A},
    {0xFE87, 0x497D},  {0xFE88, 0x4982}, {0xFE89, 0x4983},  {0xFE8A, 0x4985},  {0xFE8B, 0x4986},
    {0xFE8C, 0x499F},  {0xFE8D, 0x499B}, {0xFE8E, 0x49B7},  {0xFE8F, 0x49B6},  {0xFE90, 0x9FBA},
    {0xFE91, 0x241FE}, {0xFE92, 0x4CA3}, {0xFE93, 0x4C9F},  {0xFE94, 0x4CA0},  {0xFE95, 0x4CA1},
    {0xFE96, 0x4C77},  {0xFE97, 0x4CA2}, {0xFE98, 0x4D13},  {0xFE99, 0x4D14},  {0xFE9A, 0x4D15},
    {0xFE9B, 0x4D16},  {0xFE9C, 0x4D17}, {0xFE9D, 0x4D18},  {0xFE9E, 0x4D19},  {0xFE9F, 0x4DAE},
    {0xFEA0, 0x9FBB}};

std::optional<std::wstring> toWide(UINT codePage, std::string_view bytes) {
    const int length = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                             static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                          static_cast<int>(bytes.size()), wide.data(), length);
    return wide;
}

}  // namespace

std::optional<std::u32string> platformGb18030ToUtf32(std::string_view gb18030) {
    // Asked once: a system without the code page looks for its table file at every call.
    static const bool hasGb18030 = ::IsValidCodePage(kGb18030) != 0;
    std::optional<std::wstring> wide = hasGb18030 ? toWide(kGb18030, gb18030) : std::nullopt;
    if (!hasGb18030) {
        // Only pair by pair, so that the moved characters are put right.
        if (gb18030.size() != 2) {
            return std::nullopt;
        }
        const auto bytes = static_cast<std::uint16_t>(static_cast<unsigned char>(gb18030[0]) << 8 |
                                                      static_cast<unsigned char>(gb18030[1]));
        for (const Moved& moved : kMovedFrom936) {
            if (moved.bytes == bytes) {
                return std::u32string(1, moved.codePoint);
            }
        }
        wide = toWide(kGbk, gb18030);
    }
    if (!wide) {
        return std::nullopt;
    }
    std::u32string codePoints;
    for (std::size_t i = 0; i < wide->size(); ++i) {
        char32_t unit = (*wide)[i];
        const bool pairs = unit >= 0xD800 && unit < 0xDC00 && i + 1 < wide->size() &&
                           (*wide)[i + 1] >= 0xDC00 && (*wide)[i + 1] < 0xE000;
        if (pairs) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + ((*wide)[++i] - 0xDC00);
        }
        codePoints.push_back(unit);
    }
    return codePoints;
}

}  // namespace tf::detail

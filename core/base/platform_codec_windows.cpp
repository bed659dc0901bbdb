#include "core/base/platform_codec.h"

#include <windows.h>

namespace tf::detail {
namespace {

// GB18030 both ways: the code page that takes every sequence the Linux build's converter
// takes (936 alone refuses GB18030's four-byte sequences), so both builds read and write
// the same bytes.
constexpr UINT kGb18030 = 54936;

}  // namespace

std::optional<std::u32string> platformGb18030ToUtf32(std::string_view gb18030) {
    if (gb18030.empty()) {
        return std::u32string();
    }
    const int length = ::MultiByteToWideChar(kGb18030, MB_ERR_INVALID_CHARS, gb18030.data(),
                                             static_cast<int>(gb18030.size()), nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(kGb18030, MB_ERR_INVALID_CHARS, gb18030.data(),
                          static_cast<int>(gb18030.size()), wide.data(), length);
    std::u32string result;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const char32_t unit = static_cast<char16_t>(wide[i]);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < wide.size()) {
            const char32_t low = static_cast<char16_t>(wide[++i]);
            result += 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        } else {
            result += unit;
        }
    }
    return result;
}

std::optional<std::string> platformUtf32ToGb18030(char32_t codePoint) {
    wchar_t units[2];
    int count = 1;
    if (codePoint >= 0x10000) {
        units[0] = static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        count = 2;
    } else {
        units[0] = static_cast<wchar_t>(codePoint);
    }
    char out[8];
    const int length = ::WideCharToMultiByte(kGb18030, WC_ERR_INVALID_CHARS, units, count, out,
                                             sizeof(out), nullptr, nullptr);
    if (length <= 0) {
        return std::nullopt;
    }
    return std::string(out, static_cast<std::size_t>(length));
}

}  // namespace tf::detail

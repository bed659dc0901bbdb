#include "core/base/gb18030_four_byte.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cstring>
#include <string>

namespace tf {
namespace {

std::string bytesOf(std::uint32_t index) {
    return {static_cast<char>(0x81 + index / 12600), static_cast<char>(0x30 + index / 1260 % 10),
            static_cast<char>(0x81 + index / 10 % 126), static_cast<char>(0x30 + index % 10)};
}

// What the system converter says of four bytes: one code point, or none.
std::optional<char32_t> systemDecode(iconv_t cd, const std::string& four) {
    char in[4];
    std::memcpy(in, four.data(), 4);
    char out[16];
    char* ip = in;
    char* op = out;
    std::size_t il = 4;
    std::size_t ol = sizeof(out);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1) || ol != 12) {
        return std::nullopt;
    }
    std::uint32_t cp = 0;
    std::memcpy(&cp, out, 4);
    return cp;
}

TEST(Gb18030FourByte, KnownSequences) {
    EXPECT_EQ(gb18030FourByteCodePoint("\x81\x30\x81\x30"), U'\u0080');
    EXPECT_EQ(gb18030FourByteCodePoint("\x90\x30\x81\x30"), U'\U00010000');
    EXPECT_EQ(gb18030FourBytes(U'\U0001F600'),
              (std::array<char, 4>{'\x94', '\x39', '\xFC', '\x36'}));
    EXPECT_EQ(gb18030FourByteCodePoint("\x94\x39\xFC\x36"), U'\U0001F600');
    EXPECT_FALSE(gb18030FourByteCodePoint("\xE3\x32\x9A\x36"));  // past U+10FFFF
    EXPECT_FALSE(gb18030FourByteCodePoint("\x81\x30\x81"));
    EXPECT_FALSE(gb18030FourBytes(U'\u4E00'));  // 一 is a double-byte character
    EXPECT_FALSE(gb18030FourBytes(0x110000));
}

// The table agrees with the system converter of the Linux build on every four-byte
// sequence of the basic plane and on the supplementary planes' ends.
TEST(Gb18030FourByte, AgreesWithTheSystemConverter) {
    iconv_t cd = iconv_open("UTF-32LE", "GB18030");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int mapped = 0;
    for (std::uint32_t index = 0; index < 39420; ++index) {
        const std::string four = bytesOf(index);
        const auto expected = systemDecode(cd, four);
        ASSERT_EQ(gb18030FourByteCodePoint(four), expected) << index;
        if (expected) {
            const auto back = gb18030FourBytes(*expected);
            ASSERT_TRUE(back) << index;
            ASSERT_EQ(std::string(back->data(), 4), four) << index;
            ++mapped;
        }
    }
    EXPECT_EQ(mapped, 39402);
    for (const std::uint32_t index : {189000u, 189001u, 189000u + 0xFFFFF}) {
        ASSERT_EQ(gb18030FourByteCodePoint(bytesOf(index)), systemDecode(cd, bytesOf(index)));
    }
    iconv_close(cd);
}

}  // namespace
}  // namespace tf

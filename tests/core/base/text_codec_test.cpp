#include "core/base/text_codec.h"

#include <gtest/gtest.h>

#include <random>

namespace tf {
namespace {

TEST(TextCodec, EncodesChineseAsTwoBytesEach) {
    const std::string gbk = toGbk("建筑装饰装修");
    EXPECT_EQ(gbk.size(), 12u);
    EXPECT_EQ(gbk.substr(0, 2), "\xBD\xA8");  // 建
    EXPECT_EQ(fromGbk(gbk), "建筑装饰装修");
    EXPECT_EQ(gbkLength("建筑装饰装修"), 12u);
    EXPECT_EQ(gbkLength("a×b"), 4u);
}

TEST(TextCodec, EveryDoubleByteCharacterRoundTrips) {
    int checked = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string text = fromGbk(bytes);
            ASSERT_NE(text, "\xEF\xBF\xBD") << std::hex << lead << ' ' << trail;
            ASSERT_EQ(toGbk(text), bytes) << std::hex << lead << ' ' << trail;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 126 * 190);
}

TEST(TextCodec, KeepsCharactersOutsideGbk) {
    const std::string text = "€ 😀 𠀀 ẞ";  // euro is in GBK; the rest need four bytes
    EXPECT_EQ(fromGbk(toGbk(text)), text);
    EXPECT_EQ(toGbk("😀").size(), 4u);
}

TEST(TextCodec, AsciiPassesThrough) {
    const std::string ascii = "Brix BOQ 2009 ^|[] az AZ 09\r\n";
    EXPECT_EQ(toGbk(ascii), ascii);
    EXPECT_EQ(fromGbk(ascii), ascii);
}

TEST(TextCodec, BadBytesBecomeReplacementCharacters) {
    EXPECT_EQ(fromGbk("\x80"), "\xEF\xBF\xBD");
    EXPECT_EQ(fromGbk("\xFF"), "\xEF\xBF\xBD");
    EXPECT_EQ(fromGbk("a\xB0"), "a\xEF\xBF\xBD");      // lead byte at the end
    EXPECT_EQ(fromGbk("\xB0\x0A"), "\xEF\xBF\xBD\n");  // lead byte before a control
    EXPECT_EQ(fromGbk("\x81\x30\x81"),
              "\xEF\xBF\xBD"
              "0\xEF\xBF\xBD");               // cut four-byte form
    EXPECT_EQ(toGbk("\xC3"), "?");            // cut UTF-8
    EXPECT_EQ(toGbk("\xED\xA0\x80"), "???");  // encoded surrogate
}

TEST(TextCodec, RandomBytesNeverFail) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(64, '\0');
        for (auto& b : bytes) {
            b = static_cast<char>(random());
        }
        const std::string text = fromGbk(bytes);
        EXPECT_EQ(fromGbk(toGbk(text)), text);
    }
}

}  // namespace
}  // namespace tf

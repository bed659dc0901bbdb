#include "core/base/byte_io.h"
#include "core/base/crc32.h"

#include <gtest/gtest.h>

namespace tf {
namespace {

TEST(ByteIo, WritesLittleEndianAndReadsBack) {
    ByteWriter w;
    w.i32(-2);
    w.u32(0x01020304);
    w.u16(0xBEEF);
    w.u8(7);
    w.sized("abc");
    EXPECT_EQ(w.data().substr(0, 8), std::string("\xFE\xFF\xFF\xFF\x04\x03\x02\x01", 8));

    ByteReader r(w.data());
    EXPECT_EQ(r.i32(), -2);
    EXPECT_EQ(r.u32(), 0x01020304u);
    EXPECT_EQ(r.u16(), 0xBEEF);
    EXPECT_EQ(r.u8(), 7);
    EXPECT_EQ(r.sized(), "abc");
    EXPECT_TRUE(r.atEnd());
}

TEST(ByteIo, ReadsPastTheEndFailWithoutMoving) {
    ByteReader r(std::string_view("\x01\x02\x03", 3));
    EXPECT_FALSE(r.i32());
    EXPECT_EQ(r.position(), 0u);
    EXPECT_EQ(r.u16(), 0x0201);
    EXPECT_FALSE(r.u16());
    EXPECT_FALSE(r.bytes(2));
    EXPECT_EQ(r.bytes(1), "\x03");
    EXPECT_FALSE(r.u8());
}

TEST(ByteIo, SizedRefusesLengthsBeyondTheData) {
    ByteWriter w;
    w.u32(0xFFFFFFFF);
    w.bytes("xy");
    ByteReader r(w.data());
    EXPECT_FALSE(r.sized());
    EXPECT_EQ(r.position(), 0u);
}

TEST(ByteIo, UpToYieldsWhatIsThere) {
    ByteReader r("abcdef");
    EXPECT_EQ(r.upTo(2), "ab");
    EXPECT_EQ(r.upTo(100), "cdef");
    EXPECT_EQ(r.upTo(5), "");
    EXPECT_EQ(r.rest(), "");
}

}  // namespace
}  // namespace tf

namespace tf {
namespace {

TEST(Crc32, KnownAnswers) {
    EXPECT_EQ(crc32(""), 0u);
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
    const std::string text = "The quick brown fox jumps over the lazy dog";
    EXPECT_EQ(crc32(text), 0x414FA339u);
    // Chained over parts equals over the whole.
    EXPECT_EQ(crc32(text.substr(13), crc32(text.substr(0, 13))), crc32(text));
}

}  // namespace
}  // namespace tf

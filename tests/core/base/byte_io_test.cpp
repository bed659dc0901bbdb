#include "core/base/byte_io.h"
#include "core/base/byte_stream.h"
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
    // A tail's CRC from the whole's and the head's, and the whole's joined from the two
    // parts': "123456789" split anywhere, an empty head or tail, and a tail longer than a
    // power of two.
    const std::string digits = "123456789";
    for (std::size_t cut = 0; cut <= digits.size(); ++cut) {
        const std::uint32_t head = crc32(digits.substr(0, cut));
        const std::uint32_t tail = crc32(digits.substr(cut));
        EXPECT_EQ(crc32Tail(0xCBF43926u, head, digits.size() - cut), tail) << cut;
        EXPECT_EQ(crc32Join(head, tail, digits.size() - cut), 0xCBF43926u) << cut;
    }
    EXPECT_EQ(crc32Join(crc32("The quick"), crc32(text.substr(9)), 34), 0x414FA339u);
    EXPECT_EQ(crc32Tail(0x414FA339u, crc32("The "), 39), crc32(text.substr(4)));
}

TEST(ByteStream, ReadsAFileThroughAWindowAsFromMemory) {
    using namespace std::string_literals;
    const std::string bytes = "\x05\x00\x00\x00hello\x34\x12tail bytes, longer than the window"s;
    const auto file = [&](std::uint64_t offset, std::span<char> out) -> std::optional<std::size_t> {
        const auto part =
            std::string_view(bytes).substr(static_cast<std::size_t>(offset), out.size());
        std::copy(part.begin(), part.end(), out.begin());
        return part.size();
    };
    const auto check = [&](ByteStream s) {
        EXPECT_EQ(s.sized(), "hello");
        const ByteStream::Checkpoint mark = s.checkpoint();
        // A length past the limit fails and leaves the position alone.
        const std::uint64_t outer = s.limitTo(5);
        EXPECT_EQ(s.u16(), 0x1234);
        EXPECT_EQ(s.sized(), std::nullopt);
        EXPECT_EQ(s.take(4), std::nullopt);
        EXPECT_EQ(s.upTo(4), "tai");
        EXPECT_TRUE(s.atEnd());
        s.restoreLimit(outer);
        EXPECT_EQ(s.crcSince(mark), crc32("\x34\x12tai"));
        EXPECT_EQ(s.peekAt(4, 5), "hello");
        EXPECT_EQ(s.peekAt(bytes.size() - 2, 3), std::nullopt);
        EXPECT_EQ(s.take(30), std::string_view(bytes).substr(14, 30));
        EXPECT_TRUE(s.skipRest());
        EXPECT_EQ(s.crc(), crc32(bytes));
    };
    check(ByteStream(bytes));
    for (std::size_t window : {1, 7, 4096}) {
        SCOPED_TRACE(window);
        check(ByteStream(file, bytes.size(), window));
    }
}

}  // namespace
}  // namespace tf

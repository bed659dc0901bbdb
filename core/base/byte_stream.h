#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tf {

// Bounds-checked little-endian reading front to back, from memory or from a file through a
// window of bounded size: a large project is parsed without ever being held whole, which
// halves the memory its opening touches. Every byte handed out goes into a running CRC-32,
// so a format's checksums are verified in the same pass (see checkpoint/crcSince).
class ByteStream {
  public:
    // Fills `out` from `offset` on: how many bytes it read (a short read is asked again, none
    // means the source ended), nothing on error.
    using ReadAt =
        std::function<std::optional<std::size_t>(std::uint64_t offset, std::span<char> out)>;

    explicit ByteStream(std::string_view bytes);
    ByteStream(ReadAt source, std::uint64_t size, std::size_t window = kDefaultWindow);

    // The next n bytes, valid until the next read; nothing (and the position unchanged) when
    // fewer remain before the limit or the source fails.
    std::optional<std::string_view> take(std::size_t n);
    // Up to n bytes: a length that claims more than remains yields what is there.
    std::optional<std::string_view> upTo(std::size_t n);
    std::optional<std::uint8_t> u8();
    std::optional<std::uint16_t> u16();
    std::optional<std::uint32_t> u32();
    std::optional<std::int32_t> i32();
    // u32 length, then that many bytes.
    std::optional<std::string_view> sized();
    // Passes over the rest up to the limit (checksummed all the same); false on a read error.
    bool skipRest();

    // n bytes at an absolute offset, read aside: neither position nor checksum move.
    std::optional<std::string> peekAt(std::uint64_t offset, std::size_t n) const;

    std::uint64_t size() const { return size_; }
    std::uint64_t position() const { return position_; }
    std::uint64_t remaining() const { return limit_ - position_; }
    bool atEnd() const { return position_ == limit_; }

    // Reads stop n bytes from here (n no more than remain); the previous limit, to restore.
    std::uint64_t limitTo(std::uint64_t n);
    void restoreLimit(std::uint64_t previous) { limit_ = previous; }

    struct Checkpoint {
        std::uint64_t position;
        std::uint32_t crc;
    };
    Checkpoint checkpoint() const { return {position_, crc()}; }
    // The CRC-32 of the bytes handed out since the checkpoint.
    std::uint32_t crcSince(const Checkpoint& from) const;
    // The CRC-32 of every byte handed out.
    std::uint32_t crc() const;

    static constexpr std::size_t kDefaultWindow = std::size_t{1} << 20;

  private:
    bool fill(std::size_t n);
    std::string_view handOut(std::size_t n);
    // The checksum takes in what was handed out since it last did, in one call: reads are
    // small and many, the checksum fastest over long runs.
    void catchUp() const;

    ReadAt source_;
    std::uint64_t size_ = 0;
    std::uint64_t limit_ = 0;
    std::uint64_t position_ = 0;
    mutable std::uint32_t crc_ = 0;
    mutable std::uint64_t checked_ = 0;  // the bytes before it are in crc_
    // Memory: the bytes themselves. File: the window, its unread bytes from `begin_`.
    std::string_view memory_;
    std::unique_ptr<char[]> window_;
    std::size_t capacity_ = 0;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::uint64_t nextRead_ = 0;
};

}  // namespace tf

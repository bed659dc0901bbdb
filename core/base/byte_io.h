#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/base/fill_advice.h"

namespace tf {

// Little-endian values at `p`, which the caller has checked to hold them.
inline std::uint16_t loadU16(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}
inline std::uint32_t loadU32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

// Little-endian values written at `p`, which the caller has made room for.
inline void storeU16(char* p, std::uint16_t value) {
    p[0] = static_cast<char>(value & 0xFF);
    p[1] = static_cast<char>(value >> 8);
}
inline void storeU32(char* p, std::uint32_t value) {
    p[0] = static_cast<char>(value & 0xFF);
    p[1] = static_cast<char>((value >> 8) & 0xFF);
    p[2] = static_cast<char>((value >> 16) & 0xFF);
    p[3] = static_cast<char>(value >> 24);
}

// Little-endian writer for the program's byte formats.
class ByteWriter {
  public:
    void u8(std::uint8_t value) { out_.push_back(static_cast<char>(value)); }
    void u16(std::uint16_t value) {
        char bytes[2];
        storeU16(bytes, value);
        out_.append(bytes, 2);
    }
    void u32(std::uint32_t value) {
        char bytes[4];
        storeU32(bytes, value);
        out_.append(bytes, 4);
    }
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    void u64(std::uint64_t value) {
        u32(static_cast<std::uint32_t>(value));
        u32(static_cast<std::uint32_t>(value >> 32));
    }
    void bytes(std::string_view data) { out_.append(data); }
    // u32 length, then the bytes.
    void sized(std::string_view data);

    // Overwrites four bytes written before (a length known only after what it measures).
    void patchI32(std::size_t offset, std::int32_t value);

    // Room for `bytes` in one piece, which the writer is about to fill.
    void reserve(std::size_t bytes) {
        out_.reserve(bytes);
        adviseFilling(out_.data(), out_.capacity());
    }
    std::size_t size() const { return out_.size(); }
    const std::string& data() const { return out_; }
    std::string take() { return std::move(out_); }

  private:
    std::string out_;
};

// Bounds-checked little-endian reader over bytes it does not own. Every read that would
// pass the end fails (and leaves the position alone) instead of reading past it.
class ByteReader {
  public:
    explicit ByteReader(std::string_view data) : data_(data) {}

    std::optional<std::uint8_t> u8() {
        if (remaining() < 1) {
            return std::nullopt;
        }
        return static_cast<std::uint8_t>(data_[pos_++]);
    }
    std::optional<std::uint16_t> u16() {
        if (remaining() < 2) {
            return std::nullopt;
        }
        const std::uint16_t value = loadU16(data_.data() + pos_);
        pos_ += 2;
        return value;
    }
    std::optional<std::uint32_t> u32() {
        if (remaining() < 4) {
            return std::nullopt;
        }
        const std::uint32_t value = loadU32(data_.data() + pos_);
        pos_ += 4;
        return value;
    }
    std::optional<std::int32_t> i32() {
        const auto value = u32();
        if (!value) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(*value);
    }
    std::optional<std::uint64_t> u64() {
        if (remaining() < 8) {
            return std::nullopt;
        }
        const std::uint64_t low = *u32();
        return low | (std::uint64_t{*u32()} << 32);
    }
    // Exactly n bytes, or nothing.
    std::optional<std::string_view> bytes(std::size_t n);
    // u32 length, then that many bytes; nothing when the length claims more than remains.
    std::optional<std::string_view> sized();
    // Up to n bytes: a length that claims more than remains yields what is there.
    std::string_view upTo(std::size_t n);
    std::string_view rest();

    std::size_t remaining() const { return data_.size() - pos_; }
    std::size_t position() const { return pos_; }
    bool atEnd() const { return pos_ == data_.size(); }

  private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

}  // namespace tf

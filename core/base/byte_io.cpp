#include "core/base/byte_io.h"

#include <algorithm>

namespace tf {

void ByteWriter::u16(std::uint16_t value) {
    out_.push_back(static_cast<char>(value & 0xFF));
    out_.push_back(static_cast<char>(value >> 8));
}

void ByteWriter::u32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out_.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

void ByteWriter::sized(std::string_view data) {
    u32(static_cast<std::uint32_t>(data.size()));
    bytes(data);
}

std::optional<std::uint8_t> ByteReader::u8() {
    if (remaining() < 1) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(data_[pos_++]);
}

std::optional<std::uint16_t> ByteReader::u16() {
    if (remaining() < 2) {
        return std::nullopt;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(data_.data() + pos_);
    pos_ += 2;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::optional<std::uint32_t> ByteReader::u32() {
    if (remaining() < 4) {
        return std::nullopt;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(data_.data() + pos_);
    pos_ += 4;
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::optional<std::int32_t> ByteReader::i32() {
    const auto value = u32();
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*value);
}

std::optional<std::string_view> ByteReader::bytes(std::size_t n) {
    if (remaining() < n) {
        return std::nullopt;
    }
    const std::string_view result = data_.substr(pos_, n);
    pos_ += n;
    return result;
}

std::optional<std::string_view> ByteReader::sized() {
    const std::size_t start = pos_;
    const auto length = u32();
    if (!length || remaining() < *length) {
        pos_ = start;
        return std::nullopt;
    }
    return bytes(*length);
}

std::string_view ByteReader::upTo(std::size_t n) {
    const std::string_view result = data_.substr(pos_, std::min(n, remaining()));
    pos_ += result.size();
    return result;
}

std::string_view ByteReader::rest() {
    return upTo(remaining());
}

}  // namespace tf

#include "core/base/byte_io.h"

#include <algorithm>

namespace tf {

void ByteWriter::patchI32(std::size_t offset, std::int32_t value) {
    ByteWriter bytes;
    bytes.i32(value);
    out_.replace(offset, 4, bytes.out_);
}

void ByteWriter::sized(std::string_view data) {
    u32(static_cast<std::uint32_t>(data.size()));
    bytes(data);
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

#include "core/base/byte_stream.h"

#include <algorithm>
#include <cstring>

#include "core/base/byte_io.h"
#include "core/base/crc32.h"

namespace tf {
namespace {

// Fills `out` from `offset`, asking again after a short read; false when the source fails
// or ends first.
bool readExactly(const ByteStream::ReadAt& source, std::uint64_t offset, std::span<char> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const auto got = source(offset + done, out.subspan(done));
        if (!got || *got == 0 || *got > out.size() - done) {
            return false;
        }
        done += *got;
    }
    return true;
}

}  // namespace

ByteStream::ByteStream(std::string_view bytes)
    : size_(bytes.size()), limit_(bytes.size()), memory_(bytes) {}

ByteStream::ByteStream(ReadAt source, std::uint64_t size, std::size_t window)
    : source_(std::move(source)),
      size_(size),
      limit_(size),
      capacity_(std::max<std::size_t>(window, 64)) {
    window_ = std::make_unique_for_overwrite<char[]>(capacity_);
}

bool ByteStream::fill(std::size_t n) {
    if (end_ - begin_ >= n) {
        return true;
    }
    catchUp();  // before the bytes handed out leave the window
    // Unread bytes move to the front; a read longer than the window widens it (n is bounded
    // by what the file holds, checked by the callers).
    const std::size_t kept = end_ - begin_;
    if (n > capacity_) {
        auto wider = std::make_unique_for_overwrite<char[]>(n);
        std::memcpy(wider.get(), window_.get() + begin_, kept);
        window_ = std::move(wider);
        capacity_ = n;
    } else if (begin_ != 0) {
        std::memmove(window_.get(), window_.get() + begin_, kept);
    }
    begin_ = 0;
    end_ = kept;
    // Read as much as the window holds, at least the n bytes asked for.
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(capacity_ - end_, size_ - nextRead_));
    if (want < n - end_ || !readExactly(source_, nextRead_, {window_.get() + end_, want})) {
        return false;
    }
    end_ += want;
    nextRead_ += want;
    return true;
}

std::string_view ByteStream::handOut(std::size_t n) {
    std::string_view out;
    if (window_) {
        out = {window_.get() + begin_, n};
        begin_ += n;
    } else {
        out = memory_.substr(static_cast<std::size_t>(position_), n);
    }
    position_ += n;
    return out;
}

std::optional<std::string_view> ByteStream::take(std::size_t n) {
    if (n > remaining() || (window_ && !fill(n))) {
        return std::nullopt;
    }
    return handOut(n);
}

std::optional<std::string_view> ByteStream::upTo(std::size_t n) {
    return take(static_cast<std::size_t>(std::min<std::uint64_t>(n, remaining())));
}

std::optional<std::uint8_t> ByteStream::u8() {
    const auto b = take(1);
    return b ? ByteReader(*b).u8() : std::nullopt;
}

std::optional<std::uint16_t> ByteStream::u16() {
    const auto b = take(2);
    return b ? ByteReader(*b).u16() : std::nullopt;
}

std::optional<std::uint32_t> ByteStream::u32() {
    const auto b = take(4);
    return b ? ByteReader(*b).u32() : std::nullopt;
}

std::optional<std::int32_t> ByteStream::i32() {
    const auto value = u32();
    return value ? std::optional(static_cast<std::int32_t>(*value)) : std::nullopt;
}

std::optional<std::string_view> ByteStream::sized() {
    // The length is looked at before anything is handed out, so a bad one moves nothing.
    if (remaining() < 4 || (window_ && !fill(4))) {
        return std::nullopt;
    }
    const char* at = window_ ? window_.get() + begin_ : memory_.data() + position_;
    const std::uint32_t length = *ByteReader({at, 4}).u32();
    if (length > remaining() - 4) {
        return std::nullopt;
    }
    take(4);
    return take(length);
}

bool ByteStream::skipRest() {
    while (!atEnd()) {
        const std::size_t step = window_ ? capacity_ : static_cast<std::size_t>(remaining());
        if (!take(static_cast<std::size_t>(std::min<std::uint64_t>(step, remaining())))) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> ByteStream::peekAt(std::uint64_t offset, std::size_t n) const {
    if (offset > size_ || n > size_ - offset) {
        return std::nullopt;
    }
    if (!window_) {
        return std::string(memory_.substr(static_cast<std::size_t>(offset), n));
    }
    std::string bytes(n, '\0');
    return readExactly(source_, offset, bytes) ? std::optional(std::move(bytes)) : std::nullopt;
}

std::uint64_t ByteStream::limitTo(std::uint64_t n) {
    const std::uint64_t previous = limit_;
    limit_ = position_ + std::min(n, remaining());
    return previous;
}

void ByteStream::catchUp() const {
    const auto pending = static_cast<std::size_t>(position_ - checked_);
    if (pending == 0) {
        return;
    }
    const char* end = window_ ? window_.get() + begin_ : memory_.data() + position_;
    crc_ = crc32({end - pending, pending}, crc_);
    checked_ = position_;
}

std::uint32_t ByteStream::crc() const {
    catchUp();
    return crc_;
}

std::uint32_t ByteStream::crcSince(const Checkpoint& from) const {
    return crc32Tail(crc(), from.crc, position_ - from.position);
}

}  // namespace tf

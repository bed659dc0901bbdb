#include "core/base/sealed_bytes.h"

#include "core/base/crc32.h"

namespace tf {

ByteWriter beginSealed(std::string_view magic) {
    ByteWriter w;
    w.bytes(magic);
    return w;
}

std::string endSealed(ByteWriter& writer) {
    writer.u32(crc32(writer.data()));
    return writer.take();
}

std::optional<std::string_view> openSealed(std::string_view bytes, std::string_view magic) {
    if (bytes.size() < magic.size() + 4 || bytes.substr(0, magic.size()) != magic) {
        return std::nullopt;
    }
    const std::string_view body = bytes.substr(0, bytes.size() - 4);
    ByteReader tail(bytes.substr(bytes.size() - 4));
    if (tail.u32() != crc32(body)) {
        return std::nullopt;
    }
    return body.substr(magic.size());
}

}  // namespace tf

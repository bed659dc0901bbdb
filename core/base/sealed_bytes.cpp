#include "core/base/sealed_bytes.h"

#include "core/base/crc32.h"

namespace tf {

ByteWriter beginSealed(std::string_view magic) {
    ByteWriter w;
    beginSealed(w, magic);
    return w;
}

std::string endSealed(ByteWriter& writer) {
    endSealed(writer, 0);
    return writer.take();
}

std::size_t beginSealed(ByteWriter& writer, std::string_view magic) {
    const std::size_t start = writer.size();
    writer.bytes(magic);
    return start;
}

void endSealed(ByteWriter& writer, std::size_t start) {
    writer.u32(crc32(std::string_view(writer.data()).substr(start)));
}

std::uint32_t sealedCrc(std::string_view sealed) {
    return sealed.size() < 4 ? 0 : loadU32(sealed.data() + sealed.size() - 4);
}

std::optional<std::string_view> openSealed(std::string_view bytes, std::string_view magic) {
    if (bytes.size() < magic.size() + 4 || bytes.substr(0, magic.size()) != magic) {
        return std::nullopt;
    }
    const std::string_view body = bytes.substr(0, bytes.size() - 4);
    if (sealedCrc(bytes) != crc32(body)) {
        return std::nullopt;
    }
    return body.substr(magic.size());
}

void appendIntegrityRecord(std::string& bytes) {
    appendIntegrityRecord(bytes, crc32(bytes));
}

void appendIntegrityRecord(std::string& bytes, std::uint32_t check) {
    ByteWriter record;
    record.bytes(kIntegrityMagic);
    record.u32(check);
    bytes += record.take();
}

CoveredBytes splitIntegrityRecord(std::string_view bytes) {
    constexpr std::size_t kRecordSize = kIntegrityMagic.size() + 4;
    if (bytes.size() < kRecordSize ||
        bytes.substr(bytes.size() - kRecordSize, kIntegrityMagic.size()) != kIntegrityMagic) {
        return {bytes, Integrity::Absent};
    }
    const std::string_view covered = bytes.substr(0, bytes.size() - kRecordSize);
    ByteReader record(bytes.substr(bytes.size() - 4));
    return {covered, record.u32() == crc32(covered) ? Integrity::Whole : Integrity::Broken};
}

}  // namespace tf

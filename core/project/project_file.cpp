#include "core/project/project_file.h"

#include "core/base/byte_io.h"
#include "core/base/crc32.h"
#include "core/base/sealed_bytes.h"
#include "core/project/project_document.h"

namespace tf {
namespace {

// An i32 length and that many bytes; nothing when the length cannot be right.
std::optional<std::uint64_t> sectionLength(ByteStream& stream) {
    const auto length = stream.i32();
    if (!length || *length < 0 || static_cast<std::uint64_t>(*length) > stream.remaining()) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(*length);
}

std::optional<std::string> lengthPrefixed(ByteStream& stream) {
    const auto length = sectionLength(stream);
    const auto bytes = length ? stream.take(static_cast<std::size_t>(*length)) : std::nullopt;
    return bytes ? std::optional<std::string>(*bytes) : std::nullopt;
}

// Where the integrity record sits, when the file has one, and the CRC it holds.
struct RecordAtEnd {
    std::uint64_t covered;
    std::uint32_t check;
};

std::optional<RecordAtEnd> findIntegrityRecord(const ByteStream& stream) {
    constexpr std::size_t kRecordSize = kIntegrityMagic.size() + 4;
    if (stream.size() < kRecordSize) {
        return std::nullopt;
    }
    const std::uint64_t covered = stream.size() - kRecordSize;
    const auto record = stream.peekAt(covered, kRecordSize);
    if (!record || std::string_view(*record).substr(0, kIntegrityMagic.size()) != kIntegrityMagic) {
        return std::nullopt;
    }
    ByteReader check(std::string_view(*record).substr(kIntegrityMagic.size()));
    return RecordAtEnd{covered, *check.u32()};
}

}  // namespace

std::string buildProjectImage(const ProjectDocument& document) {
    const std::string attachments = serializeAttachments(document.attachments);
    const std::string materials = document.materials.save();
    // One buffer, reserved for the whole image: the analysis table, by far the largest part,
    // is written straight into it and its length filled in afterwards.
    ByteWriter w;
    w.reserve(4 + attachments.size() + kProjectMagic.size() + kProjectVersion.size() + 4 +
              document.analysis.saveSizeHint() + 4 + materials.size() + 4 +
              document.structure.tree.size() + document.structure.items.size() + 64);
    w.i32(static_cast<std::int32_t>(attachments.size()));
    w.bytes(attachments);
    w.bytes(kProjectMagic);
    w.bytes(kProjectVersion);
    const std::size_t analysisLength = w.size();
    w.i32(0);
    const std::size_t analysisStart = w.size();
    document.analysis.saveTo(w);
    const std::size_t analysisEnd = w.size();
    w.patchI32(analysisLength, static_cast<std::int32_t>(analysisEnd - analysisStart));
    w.i32(static_cast<std::int32_t>(materials.size()));
    w.bytes(materials);
    w.i32(static_cast<std::int32_t>(document.structure.tree.size()));
    w.bytes(document.structure.tree);
    w.bytes(document.structure.items);
    std::string image = w.take();
    // The analysis table is sealed with the CRC of its bytes: the image's CRC is joined from
    // it and those of the small parts around it instead of reading the table a second time.
    const std::string_view all = image;
    const std::size_t sealEnd = analysisEnd - 4;
    std::uint32_t check = crc32(all.substr(0, analysisStart));
    check = crc32Join(check, sealedCrc(all.substr(analysisStart, analysisEnd - analysisStart)),
                      sealEnd - analysisStart);
    check = crc32Join(check, crc32(all.substr(sealEnd)), all.size() - sealEnd);
    appendIntegrityRecord(image, check);
    return image;
}

ProjectParse parseProjectImage(ByteStream& stream) {
    // The integrity record, when there is one, is no part of the sections.
    const auto record = findIntegrityRecord(stream);
    if (record) {
        stream.limitTo(record->covered);
    }
    const auto attachmentLength = stream.i32();
    if (!attachmentLength || *attachmentLength < 0) {
        return NotAProject{};
    }
    ProjectSections sections;
    const auto attachments = stream.upTo(static_cast<std::size_t>(*attachmentLength));
    if (!attachments) {
        return DamagedProject{};  // the file could not be read
    }
    sections.attachments = *attachments;
    if (stream.upTo(kProjectMagic.size()) != kProjectMagic) {
        return NotAProject{};
    }
    const auto version = stream.upTo(kProjectVersion.size());
    if (version != kProjectVersion) {
        return WrongVersion{std::string(version.value_or(""))};
    }
    const auto analysisLength = sectionLength(stream);
    if (!analysisLength) {
        return DamagedProject{};
    }
    sections.analysisBytes = static_cast<std::size_t>(*analysisLength);
    const std::uint64_t afterAnalysis = stream.limitTo(*analysisLength);
    if (!sections.analysis.load(stream)) {
        return DamagedProject{};
    }
    stream.restoreLimit(afterAnalysis);
    sections.materials = lengthPrefixed(stream);
    sections.tree = sections.materials ? lengthPrefixed(stream) : std::nullopt;
    if (sections.tree) {
        const auto items = stream.take(static_cast<std::size_t>(stream.remaining()));
        sections.items = items ? std::optional<std::string>(*items) : std::nullopt;
    }
    if (record) {
        const bool read = stream.skipRest();
        sections.integrity =
            read && stream.crc() == record->check ? Integrity::Whole : Integrity::Broken;
    }
    return sections;
}

}  // namespace tf

#include "core/project/project_file.h"

#include "core/base/byte_io.h"
#include "core/base/crc32.h"
#include "core/project/project_document.h"

namespace tf {
namespace {

std::optional<std::string_view> lengthPrefixed(ByteReader& reader) {
    const auto length = reader.i32();
    if (!length || *length < 0) {
        return std::nullopt;
    }
    return reader.bytes(static_cast<std::size_t>(*length));
}

}  // namespace

std::string buildProjectImage(const ProjectDocument& document) {
    ByteWriter w;
    const std::string attachments = serializeAttachments(document.attachments);
    w.i32(static_cast<std::int32_t>(attachments.size()));
    w.bytes(attachments);
    w.bytes(kProjectMagic);
    w.bytes(kProjectVersion);
    for (const std::string& table : {document.analysis.save(), document.materials.save()}) {
        w.i32(static_cast<std::int32_t>(table.size()));
        w.bytes(table);
    }
    w.i32(static_cast<std::int32_t>(document.structure.tree.size()));
    w.bytes(document.structure.tree);
    w.bytes(document.structure.items);
    const std::uint32_t check = crc32(w.data());
    w.bytes(kIntegrityMagic);
    w.u32(check);
    return w.take();
}

ProjectParse parseProjectImage(std::string_view bytes) {
    // The integrity record, when there is one, is no part of the sections.
    constexpr std::size_t kRecordSize = kIntegrityMagic.size() + 4;
    bool integrityFailed = false;
    if (bytes.size() >= kRecordSize &&
        bytes.substr(bytes.size() - kRecordSize, kIntegrityMagic.size()) == kIntegrityMagic) {
        const std::string_view covered = bytes.substr(0, bytes.size() - kRecordSize);
        ByteReader record(bytes.substr(bytes.size() - 4));
        integrityFailed = record.u32() != crc32(covered);
        bytes = covered;
    }
    ByteReader reader(bytes);
    const auto attachmentLength = reader.i32();
    if (!attachmentLength || *attachmentLength < 0) {
        return NotAProject{};
    }
    ProjectSections sections;
    sections.integrityFailed = integrityFailed;
    sections.attachments = reader.upTo(static_cast<std::size_t>(*attachmentLength));
    if (reader.upTo(kProjectMagic.size()) != kProjectMagic) {
        return NotAProject{};
    }
    const std::string_view version = reader.upTo(kProjectVersion.size());
    if (version != kProjectVersion) {
        return WrongVersion{version};
    }
    const auto analysis = lengthPrefixed(reader);
    if (!analysis) {
        return DamagedProject{};
    }
    sections.analysis = *analysis;
    sections.materials = lengthPrefixed(reader);
    sections.tree = sections.materials ? lengthPrefixed(reader) : std::nullopt;
    if (sections.tree) {
        sections.items = reader.rest();
    }
    return sections;
}

}  // namespace tf

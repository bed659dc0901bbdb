#include "core/project/project_file.h"

#include "core/base/byte_io.h"
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
    const std::string attachments = serializeAttachments(document.attachments);
    const std::string analysis = document.analysis.save();
    const std::string materials = document.materials.save();
    // One buffer of the final size (the integrity record included): no copy while it grows.
    ByteWriter w;
    w.reserve(4 + attachments.size() + kProjectMagic.size() + kProjectVersion.size() + 4 +
              analysis.size() + 4 + materials.size() + 4 + document.structure.tree.size() +
              document.structure.items.size() + 64);
    w.i32(static_cast<std::int32_t>(attachments.size()));
    w.bytes(attachments);
    w.bytes(kProjectMagic);
    w.bytes(kProjectVersion);
    for (const std::string* table : {&analysis, &materials}) {
        w.i32(static_cast<std::int32_t>(table->size()));
        w.bytes(*table);
    }
    w.i32(static_cast<std::int32_t>(document.structure.tree.size()));
    w.bytes(document.structure.tree);
    w.bytes(document.structure.items);
    std::string image = w.take();
    appendIntegrityRecord(image);
    return image;
}

ProjectParse parseProjectImage(std::string_view bytes) {
    // The integrity record, when there is one, is no part of the sections.
    const CoveredBytes covered = splitIntegrityRecord(bytes);
    bytes = covered.bytes;
    ByteReader reader(bytes);
    const auto attachmentLength = reader.i32();
    if (!attachmentLength || *attachmentLength < 0) {
        return NotAProject{};
    }
    ProjectSections sections;
    sections.integrity = covered.integrity;
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

#include "core/project/project_file.h"

#include <algorithm>

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

// The check a section gets in the record of checks: the CRC-32 of its length or magic in front
// (`head`) and its bytes, but for a section that ends with a seal of its own, without that
// seal: the CRC-32 of bytes that end with their own CRC-32 is the same whatever they say,
// and the seal is checked where the section is read.
std::uint32_t sectionCheck(std::string_view head, std::string_view body, bool sealed) {
    if (sealed) {
        body = body.substr(0, body.size() >= 4 ? body.size() - 4 : 0);
    }
    return crc32(body, crc32(head));
}

std::string lengthBytes(std::size_t length) {
    ByteWriter w;
    w.i32(static_cast<std::int32_t>(length));
    return w.take();
}

constexpr std::size_t kChecksRecordSize = kSectionChecksMagic.size() + 4 * kProjectSections + 4;

// The record at the end of a file, when it has one: the whole-file CRC of older saves, or the
// checks of each section, and where the sections end.
struct RecordAtEnd {
    std::uint64_t covered = 0;
    std::optional<std::uint32_t> wholeFile;  // "TFCHECK1"
    // "TFCHECK2": the sections' CRCs, nothing when the record fails its own check.
    std::optional<std::array<std::uint32_t, kProjectSections>> sections;
};

std::optional<RecordAtEnd> findRecord(const ByteStream& stream) {
    if (stream.size() >= kChecksRecordSize) {
        const std::uint64_t covered = stream.size() - kChecksRecordSize;
        const auto record = stream.peekAt(covered, kChecksRecordSize);
        if (record && std::string_view(*record).starts_with(kSectionChecksMagic)) {
            RecordAtEnd found{covered, std::nullopt, std::nullopt};
            const std::string_view body =
                std::string_view(*record).substr(0, kChecksRecordSize - 4);
            ByteReader r(std::string_view(*record).substr(kSectionChecksMagic.size()));
            std::array<std::uint32_t, kProjectSections> crcs{};
            for (auto& crc : crcs) {
                crc = *r.u32();
            }
            if (*r.u32() == crc32(body)) {
                found.sections = crcs;
            }
            return found;
        }
    }
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
    return RecordAtEnd{covered, *check.u32(), std::nullopt};
}

// Where the item-table part ends when the file was cut short inside its record of checks
// (a copy that lost its last bytes): the part still ends with its seal, and what follows is
// the first bytes of a record. Nothing when the part is as its file ended.
std::optional<std::size_t> endBeforeCutRecord(std::string_view items) {
    const auto sealed = [](std::string_view part) {
        return part.size() >= 4 && sealedCrc(part) == crc32(part.substr(0, part.size() - 4));
    };
    if (sealed(items)) {
        return std::nullopt;
    }
    for (std::size_t cut = 1; cut < kChecksRecordSize && cut + 4 <= items.size(); ++cut) {
        const std::string_view tail = items.substr(items.size() - cut);
        const std::size_t magic = std::min(cut, kSectionChecksMagic.size());
        if (tail.substr(0, magic) == kSectionChecksMagic.substr(0, magic) &&
            sealed(items.substr(0, items.size() - cut))) {
            return items.size() - cut;
        }
    }
    return std::nullopt;
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
    const std::size_t attachmentEnd = 4 + attachments.size();
    const std::size_t treeStart = analysisEnd + 4 + materials.size();
    const std::size_t itemsStart = treeStart + 4 + document.structure.tree.size();
    const std::string_view all = w.data();
    const auto range = [&](std::size_t from, std::size_t to) {
        return all.substr(from, to - from);
    };
    // The analysis table's check is joined from the CRC of what stands before it and its own
    // seal, the CRC of its bytes: the table is not read a second time.
    const std::array<std::uint32_t, kProjectSections> crcs = {
        sectionCheck(range(0, 4), range(4, attachmentEnd), true),
        crc32Join(crc32(range(attachmentEnd, analysisStart)),
                  sealedCrc(range(analysisStart, analysisEnd)), analysisEnd - 4 - analysisStart),
        sectionCheck(range(analysisEnd, analysisEnd + 4), range(analysisEnd + 4, treeStart), true),
        sectionCheck(range(treeStart, treeStart + 4), range(treeStart + 4, itemsStart), false),
        sectionCheck({}, range(itemsStart, all.size()), true)};
    const std::size_t recordStart = w.size();
    w.bytes(kSectionChecksMagic);
    for (const std::uint32_t crc : crcs) {
        w.u32(crc);
    }
    w.u32(crc32(std::string_view(w.data()).substr(recordStart)));
    return w.take();
}

ProjectParse parseProjectImage(ByteStream& stream) {
    // The record, when there is one, is no part of the sections.
    const auto record = findRecord(stream);
    if (record) {
        stream.limitTo(record->covered);
    }
    // Each section's check as the record of checks keeps it (sectionCheck).
    std::array<std::optional<std::uint32_t>, kProjectSections> read{};
    const auto checked = [&](ProjectSection section, std::uint32_t crc) {
        read[static_cast<std::size_t>(section)] = crc;
    };
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
    checked(ProjectSection::Attachments,
            sectionCheck(lengthBytes(static_cast<std::size_t>(*attachmentLength)),
                         sections.attachments, true));
    const ByteStream::Checkpoint analysisFrom = stream.checkpoint();
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
    const std::uint32_t beforeTable = stream.crcSince(analysisFrom);
    sections.analysisBytes = static_cast<std::size_t>(*analysisLength);
    const std::uint64_t afterAnalysis = stream.limitTo(*analysisLength);
    if (!sections.analysis.load(stream)) {
        return DamagedProject{};
    }
    stream.restoreLimit(afterAnalysis);
    // A table that loaded ends with its seal, the CRC of the bytes before it.
    if (const auto seal = stream.peekAt(stream.position() - 4, 4); seal && *analysisLength >= 4) {
        checked(ProjectSection::Analysis,
                crc32Join(beforeTable, *ByteReader(*seal).u32(), *analysisLength - 4));
    }
    sections.materials = lengthPrefixed(stream);
    if (sections.materials) {
        checked(ProjectSection::Materials,
                sectionCheck(lengthBytes(sections.materials->size()), *sections.materials, true));
        sections.tree = lengthPrefixed(stream);
    }
    if (sections.tree) {
        checked(ProjectSection::Tree,
                sectionCheck(lengthBytes(sections.tree->size()), *sections.tree, false));
        const auto items = stream.take(static_cast<std::size_t>(stream.remaining()));
        sections.items = items ? std::optional<std::string>(*items) : std::nullopt;
        if (sections.items) {
            checked(ProjectSection::Items, sectionCheck({}, *sections.items, true));
        }
    }
    if (!record) {
        if (const auto end = sections.items ? endBeforeCutRecord(*sections.items) : std::nullopt) {
            // The sections are all there, their checks are not: read as a record that fails
            // its own check is.
            sections.items->resize(*end);
            checked(ProjectSection::Items, sectionCheck({}, *sections.items, true));
            sections.integrity = Integrity::Broken;
            sections.sectionChecks = true;
        }
        return sections;
    }
    const bool whole = stream.skipRest();
    if (record->wholeFile) {
        sections.integrity =
            whole && stream.crc() == *record->wholeFile ? Integrity::Whole : Integrity::Broken;
        return sections;
    }
    sections.integrity = Integrity::Broken;
    sections.sectionChecks = true;
    if (record->sections) {
        std::array<bool, kProjectSections> as{};
        for (std::size_t i = 0; i < kProjectSections; ++i) {
            as[i] = read[i] == (*record->sections)[i];
        }
        sections.sectionsWhole = as;
        if (whole && std::ranges::all_of(as, [](bool b) { return b; })) {
            sections.integrity = Integrity::Whole;
        }
    }
    return sections;
}

}  // namespace tf

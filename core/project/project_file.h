#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/base/byte_stream.h"
#include "core/base/sealed_bytes.h"
#include "core/grid/grid.h"

namespace tf {

struct ProjectDocument;

// Project file layout (integers signed 32-bit little-endian):
//   N, attachment section (N bytes), "Brix BOQ 2009", "07",
//   L1, analysis table, L2, material table, L3, structure tree part,
//   structure item-table part to the end of the file,
// and, in every file this program saves, a record of checks after it: "TFCHECK2", the CRC-32
// of each of the five sections as written (N with the attachment section; magic, version, L1
// and the analysis table; L2 and the material table; L3 and the tree part; the item-table
// part), then the CRC-32 of the record before it. Every byte before the record is under
// exactly one check, so a damaged or foreign section is named truly. Files saved before carry
// the whole-file record of core/base/sealed_bytes ("TFCHECK1") or none, and are read as they
// always were.
inline constexpr std::string_view kProjectMagic = "Brix BOQ 2009";
inline constexpr std::string_view kProjectVersion = "07";
inline constexpr std::string_view kSectionChecksMagic = "TFCHECK2";

enum class ProjectSection { Attachments, Analysis, Materials, Tree, Items };
inline constexpr std::size_t kProjectSections = 5;

// The sections of a project file, the analysis table parsed as it streamed by. A section
// after the analysis table whose length cannot be right (negative, or more than the file
// holds) is missing, and so is every section after it.
struct ProjectSections {
    std::string attachments;
    Grid analysis;
    std::size_t analysisBytes = 0;
    std::optional<std::string> materials;
    std::optional<std::string> tree;
    std::optional<std::string> items;
    // The file's integrity record, whole, broken or absent.
    Integrity integrity = Integrity::Absent;
    // A file with the record of checks (else the whole-file record of older saves, or none).
    bool sectionChecks = false;
    // Which sections are as this file's save wrote them (a missing section is not); nothing
    // when the record itself is damaged and can vouch for none.
    std::optional<std::array<bool, kProjectSections>> sectionsWhole;
};

// Why a file is refused.
struct NotAProject {};
struct WrongVersion {
    std::string version;  // the file's two version bytes (fewer when cut short)
};
struct DamagedProject {};
using ProjectParse = std::variant<ProjectSections, NotAProject, WrongVersion, DamagedProject>;

std::string buildProjectImage(const ProjectDocument& document);

// Reads a file's sections front to back. An analysis length that is negative or claims more
// bytes than remain, or an analysis table that does not load, marks the file damaged: the
// user's work cannot be read. Later lengths that cannot be right leave their sections
// missing, for the rest to be salvaged.
ProjectParse parseProjectImage(ByteStream& bytes);

}  // namespace tf

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/byte_io.h"

namespace tf {

// The program's own byte formats start with a magic text and end with a CRC-32 of all that
// comes before it, so a damaged or foreign section is refused before it is parsed.

// A writer that already holds the magic.
ByteWriter beginSealed(std::string_view magic);
// Appends the checksum and hands the bytes over.
std::string endSealed(ByteWriter& writer);
// The same for a section written into a larger image: its magic now, its checksum (of all
// written from `start`, the offset the first call returns) at its end.
std::size_t beginSealed(ByteWriter& writer, std::string_view magic);
void endSealed(ByteWriter& writer, std::size_t start);
// The checksum a sealed run of bytes ends with: the CRC-32 of all of it before.
std::uint32_t sealedCrc(std::string_view sealed);
// The bytes between magic and checksum, or nothing when either does not match.
std::optional<std::string_view> openSealed(std::string_view bytes, std::string_view magic);

// Files whose specified layout runs to their end (projects, structure files) end, as this
// program writes them, with an integrity record after it: "TFCHECK1" and the CRC-32 of all
// before the record. Readers of the layout take the bytes the record covers.
inline constexpr std::string_view kIntegrityMagic = "TFCHECK1";
void appendIntegrityRecord(std::string& bytes);
// The same, with the CRC-32 of `bytes` already known.
void appendIntegrityRecord(std::string& bytes, std::uint32_t check);

enum class Integrity {
    Whole,   // the record is there and matches
    Broken,  // the record is there and does not match: some byte before it changed
    Absent,  // no record: a file from before there was one, not checked
};
struct CoveredBytes {
    std::string_view bytes;  // without the record
    Integrity integrity;
};
CoveredBytes splitIntegrityRecord(std::string_view bytes);

}  // namespace tf

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
// The bytes between magic and checksum, or nothing when either does not match.
std::optional<std::string_view> openSealed(std::string_view bytes, std::string_view magic);

}  // namespace tf

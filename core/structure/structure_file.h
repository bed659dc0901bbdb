#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/structure/structure_snapshot.h"

namespace tf {

// A structure file (".gd"): "TFSTRUCT", a u32 length of the tree part, the tree part, then
// the item-table part to the end of the file.
std::string buildStructureFile(const StructureSnapshot& snapshot);

// Nothing for files of another kind or whose parts do not read back as a structure.
std::optional<StructureSnapshot> parseStructureFile(std::string_view bytes);

}  // namespace tf

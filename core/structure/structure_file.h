#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/prompter.h"
#include "core/structure/structure_snapshot.h"

namespace tf {

// A structure file (".gd"): "TFSTRUCT", a u32 length of the tree part, the tree part, then
// the item-table part, and the integrity record (files from before it are read unchecked).
std::string buildStructureFile(const StructureSnapshot& snapshot);

// Nothing for files of another kind or whose parts do not read back as a structure.
std::optional<StructureSnapshot> parseStructureFile(std::string_view bytes);

inline constexpr std::string_view kStructureFileFilter = "分部分项结构(*.gd)|*.gd";

// "导出结构": asks for a name ("保存分部分项结构") and writes the structure there.
bool exportStructureAsked(const StructureSnapshot& snapshot, Prompter& prompter);

// The same on files: failures are told through the prompter.
std::optional<StructureSnapshot> readStructureFile(const std::string& path, Prompter& prompter);
bool writeStructureFile(const std::string& path, const StructureSnapshot& snapshot,
                        Prompter& prompter);

}  // namespace tf

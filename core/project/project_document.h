#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "core/analysis/location_index.h"
#include "core/attach/attachment_table.h"
#include "core/base/exclusive_file.h"
#include "core/grid/grid.h"
#include "core/materials/material_catalogue.h"
#include "core/structure/structure_snapshot.h"

namespace tf {

// Everything the user edits for one project, and the file it lives in.
struct ProjectDocument {
    Grid analysis;                // 分析表
    Grid materials;               // 材料表
    AttachmentTable attachments;  // one record per analysis row
    StructureSnapshot structure;
    std::string path;                   // empty = untitled
    std::optional<ExclusiveFile> file;  // held open, sharing denied, while titled
    bool modified = false;
    // While a save writes the project off the window's thread: nothing may change it, and an
    // auto-save firing meanwhile waits for the next turn.
    bool saving = false;
    // When the project was last saved, opened or made: the save reminder counts from then.
    std::chrono::steady_clock::time_point savedAt = std::chrono::steady_clock::now();

    // Derived from the material table and never saved: rebuilt on load, kept up to date by
    // every committed edit.
    MaterialCatalogue catalogue;
    LocationIndex locations;
};

}  // namespace tf

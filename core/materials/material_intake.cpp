#include "core/materials/material_intake.h"

#include "core/base/text_util.h"
#include "core/materials/material_catalogue.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"

namespace tf {
namespace {

std::string key(std::string_view category, std::string_view name) {
    return asciiUpper(std::string(trimSpaces(category)) + "?" + std::string(trimSpaces(name)));
}

}  // namespace

void MaterialIntake::takeTable(const Grid& materials) {
    for (int r = 1; r < materials.rowCount(); ++r) {
        taken_.emplace(key(materials.text(r, MaterialColumn::kCategory),
                           materials.text(r, MaterialColumn::kName)),
                       0);
    }
}

std::string MaterialIntake::refusal(const PriceLine& line, const MaterialCatalogue& catalogue) {
    const auto [at, fresh] = taken_.emplace(key(line.fields[0], line.fields[1]), line.line);
    if (!fresh) {
        return at->second == 0 ? std::string("材料表中已有类别、名称相同的材料")
                               : "与第 " + std::to_string(at->second) + " 行的类别、名称相同";
    }
    const std::string_view category = trimSpaces(line.fields[0]);
    if (catalogue.isFull(category)) {
        taken_.erase(at);
        return "类别“" + std::string(category) + "”已有 " + std::to_string(kMaterialsPerCategory) +
               " 种材料，不能再加";
    }
    return {};
}

void appendImportedMaterial(ProjectDocument& document, const MaterialFields& fields,
                            Prompter& prompter) {
    const int row = appendMaterialRow(document);
    for (int i = 0; i < 6; ++i) {
        document.materials.setText(row, MaterialColumn::kCategory + i,
                                   fields[static_cast<std::size_t>(i)]);
    }
    if (!enterMaterialRow(document, row)) {
        tellCategoryFull(prompter);  // not when MaterialIntake let the line in
    }
}

}  // namespace tf

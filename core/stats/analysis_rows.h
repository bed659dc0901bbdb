#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/grid/grid.h"
#include "core/materials/material_catalogue.h"

namespace tf {

// What the statistics read from one data row of 分析表. The texts stay valid until the row
// changes.
struct AnalysisUse {
    std::string_view location;  // 部位名称
    std::string_view code;      // 分项代号
    double workQuantity = 0;    // 工程数量
    std::string_view material;  // 使用材料名称
    double quantity = 0;        // 材料数量
    std::string_view unit;      // 材料单位
    std::int32_t materialId = 0;
};

AnalysisUse readAnalysisUse(const Grid& analysis, int row);

// The catalogue material a row refers to; both null when the row names none (id 0, an id
// the catalogue does not hold, or a deleted material).
struct CatalogueMaterial {
    const MaterialCategory* category = nullptr;
    const MaterialEntry* entry = nullptr;
    explicit operator bool() const { return entry != nullptr; }
};

CatalogueMaterial catalogueMaterial(const MaterialCatalogue& catalogue, std::int32_t id);

// The lookup key of texts that belong together: "|" a "?" b "?" … "?".
template <typename... Texts>
std::string statisticsKey(const Texts&... texts) {
    std::string key = "|";
    ((key.append(texts).push_back('?')), ...);
    return key;
}

}  // namespace tf

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

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

// The lookup key of texts that belong together, written into `key` (a buffer kept across
// rows, so most look-ups allocate nothing): "|", then each text followed by "?" — and, after
// the "?", the text's length, so that a "?" inside a name never makes two keys one.
template <typename... Texts>
const std::string& writeStatisticsKey(std::string& key, const Texts&... texts) {
    key.assign("|");
    const auto add = [&key](std::string_view text) {
        key.append(text).push_back('?');
        key.append(std::to_string(text.size())).push_back(';');
    };
    (add(texts), ...);
    return key;
}

template <typename... Texts>
std::string statisticsKey(const Texts&... texts) {
    std::string key;
    writeStatisticsKey(key, texts...);
    return key;
}

// A map keyed by text that can be searched with a string_view.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};
template <typename Value>
using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;
using TextSet = std::unordered_set<std::string, TextHash, std::equal_to<>>;

}  // namespace tf

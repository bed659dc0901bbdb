#include "core/grid/style_table.h"

#include <functional>
#include <string>

namespace tf {

std::size_t StyleTable::Hash::operator()(const CellStyle& s) const {
    std::size_t h = std::hash<std::string>()(s.fontName);
    const auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(s.background ? s.background->packed() + 1 : 0);
    mix(s.foreground ? s.foreground->packed() + 1 : 0);
    mix(static_cast<std::size_t>(s.fontSize));
    mix(static_cast<std::size_t>(s.bold) | static_cast<std::size_t>(s.wrap) << 1);
    mix(s.align ? static_cast<std::size_t>(*s.align) : 0);
    return h;
}

void StyleTable::clear() {
    styles_.assign(1, CellStyle{});
    index_.clear();
    index_.emplace(CellStyle{}, StyleId{0});
}

std::optional<StyleId> StyleTable::intern(const CellStyle& style) {
    if (const auto it = index_.find(style); it != index_.end()) {
        return it->second;
    }
    if (styles_.size() >= kCapacity) {
        return std::nullopt;
    }
    const auto id = static_cast<StyleId>(styles_.size());
    styles_.push_back(style);
    index_.emplace(style, id);
    return id;
}

std::vector<StyleId> StyleTable::compact(const std::vector<bool>& used) {
    std::vector<StyleId> remap(styles_.size(), 0);
    std::vector<CellStyle> kept;
    for (std::size_t id = 0; id < styles_.size(); ++id) {
        if (id == 0 || (id < used.size() && used[id])) {
            remap[id] = static_cast<StyleId>(kept.size());
            kept.push_back(std::move(styles_[id]));
        }
    }
    styles_ = std::move(kept);
    index_.clear();
    for (std::size_t id = 0; id < styles_.size(); ++id) {
        index_.emplace(styles_[id], static_cast<StyleId>(id));
    }
    return remap;
}

}  // namespace tf

#include "core/stats/filter_tree.h"

#include <algorithm>

#include "core/base/text_util.h"
#include "core/project/analysis_layout.h"

namespace tf {

bool FilterTree::anyTicked() const {
    return std::any_of(locations_.begin(), locations_.end(), [](const FilterLocation& l) {
        return std::any_of(l.items.begin(), l.items.end(),
                           [](const FilterItem& i) { return i.ticked; });
    });
}

void FilterTree::setLocationTick(std::size_t location, Tick tick) {
    if (location >= locations_.size()) {
        return;
    }
    FilterLocation& l = locations_[location];
    l.tick = tick;
    for (FilterItem& item : l.items) {
        item.ticked = tick == Tick::Ticked;
    }
}

void FilterTree::setItemTick(std::size_t location, std::size_t item, bool ticked) {
    if (location >= locations_.size() || item >= locations_[location].items.size()) {
        return;
    }
    FilterLocation& l = locations_[location];
    l.items[item].ticked = ticked;
    const auto count =
        std::count_if(l.items.begin(), l.items.end(), [](const FilterItem& i) { return i.ticked; });
    l.tick = count == 0                                             ? Tick::Unticked
             : count == static_cast<std::ptrdiff_t>(l.items.size()) ? Tick::Ticked
                                                                    : Tick::Partly;
}

std::optional<std::size_t> FilterTree::findLocation(std::string_view name) const {
    for (std::size_t i = 0; i < locations_.size(); ++i) {
        if (locations_[i].name == name) {
            return i;
        }
    }
    return std::nullopt;
}

TextSet tickedItemKeys(const FilterTree& filter) {
    TextSet keys;
    for (const FilterLocation& location : filter.locations()) {
        for (const FilterItem& item : location.items) {
            if (item.ticked) {
                keys.insert(statisticsKey(location.name, item.code));
            }
        }
    }
    return keys;
}

FilterTree buildFilterTree(const Grid& analysis) {
    FilterTree tree;
    TextMap<std::size_t> locationIndex;
    TextSet items;
    std::string key;
    for (int r = kAnalysisHeadingRows; r < analysis.rowCount(); ++r) {
        const std::string_view location = analysis.text(r, AnalysisColumn::kLocation);
        const std::string_view code = analysis.text(r, AnalysisColumn::kItemCode);
        if (isBlank(location) || isBlank(code)) {
            continue;
        }
        auto at = locationIndex.find(location);
        if (at == locationIndex.end()) {
            at = locationIndex.emplace(location, tree.locations_.size()).first;
            tree.locations_.push_back({std::string(location), Tick::Unticked, {}});
            ++tree.nodeCount_;
        }
        if (!items.contains(std::string_view(writeStatisticsKey(key, location, code)))) {
            items.insert(key);
            tree.locations_[at->second].items.push_back({std::string(code), false});
            ++tree.nodeCount_;
        }
    }
    return tree;
}

}  // namespace tf

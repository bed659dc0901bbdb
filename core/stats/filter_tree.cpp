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

void FilterTree::setEveryTick(bool ticked) {
    for (std::size_t l = 0; l < locations_.size(); ++l) {
        setLocationTick(l, ticked ? Tick::Ticked : Tick::Unticked);
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

namespace {

constexpr std::size_t kSearchedItems = 32;

}  // namespace

std::optional<std::size_t> FilterTree::findLocation(std::string_view name) const {
    const auto at = locationsByName_.find(name);
    return at != locationsByName_.end() ? std::optional(at->second) : std::nullopt;
}

std::optional<std::size_t> FilterTree::nearLocation(std::string_view name) const {
    // The rows are read in the order the tree was built from: most look-ups stay in the last
    // location or go on to the next one.
    if (last_) {
        for (std::size_t l = last_->location; l < locations_.size() && l <= last_->location + 1;
             ++l) {
            if (locations_[l].name == name) {
                return l;
            }
        }
    }
    return findLocation(name);
}

std::optional<std::size_t> FilterTree::itemAt(std::size_t location, std::string_view code) const {
    const FilterLocation& at = locations_[location];
    if (!at.itemsByCode.empty()) {
        const auto found = at.itemsByCode.find(code);
        return found != at.itemsByCode.end() ? std::optional(found->second) : std::nullopt;
    }
    for (std::size_t i = 0; i < at.items.size(); ++i) {
        if (at.items[i].code == code) {
            return i;
        }
    }
    return std::nullopt;
}

bool FilterTree::isLast(std::string_view location, std::string_view code) const {
    return last_ && locations_[last_->location].name == location &&
           locations_[last_->location].items[last_->item].code == code;
}

std::optional<FilterTree::Node> FilterTree::find(std::string_view location,
                                                 std::string_view code) const {
    if (isLast(location, code)) {
        return last_;
    }
    const auto l = nearLocation(location);
    const auto item = l ? itemAt(*l, code) : std::nullopt;
    if (!item) {
        return std::nullopt;
    }
    last_ = Node{*l, *item};
    return last_;
}

bool FilterTree::isTicked(std::string_view location, std::string_view code) const {
    const auto node = find(location, code);
    return node && locations_[node->location].items[node->item].ticked;
}

void FilterTree::addIfNew(std::string_view location, std::string_view code) {
    if (isLast(location, code)) {
        return;
    }
    // Usually the location just looked at: no name is made for the search.
    std::optional<std::size_t> found = nearLocation(location);
    if (!found) {
        found = locations_.size();
        locationsByName_.emplace(std::string(location), *found);
        locations_.push_back({std::string(location), Tick::Unticked, {}, {}});
        ++nodeCount_;
    } else if (const auto item = itemAt(*found, code)) {
        last_ = Node{*found, *item};
        return;
    }
    FilterLocation& l = locations_[*found];
    l.items.push_back({std::string(code), false});
    ++nodeCount_;
    if (l.items.size() > kSearchedItems) {
        if (l.itemsByCode.empty()) {
            for (std::size_t i = 0; i + 1 < l.items.size(); ++i) {
                l.itemsByCode.emplace(l.items[i].code, i);
            }
        }
        l.itemsByCode.emplace(l.items.back().code, l.items.size() - 1);
    }
    last_ = Node{*found, l.items.size() - 1};
}

FilterTree buildFilterTree(const Grid& analysis) {
    FilterTree tree;
    for (int r = kAnalysisHeadingRows; r < analysis.rowCount(); ++r) {
        const std::string_view location = analysis.text(r, AnalysisColumn::kLocation);
        const std::string_view code = analysis.text(r, AnalysisColumn::kItemCode);
        if (!isBlank(location) && !isBlank(code)) {
            tree.addIfNew(location, code);
        }
    }
    return tree;
}

}  // namespace tf

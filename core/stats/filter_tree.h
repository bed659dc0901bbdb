#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/grid/grid.h"
#include "core/stats/analysis_rows.h"

namespace tf {

enum class Tick : std::uint8_t { Unticked, Ticked, Partly };

struct FilterItem {
    std::string code;
    bool ticked = false;
};

struct FilterLocation {
    std::string name;
    Tick tick = Tick::Unticked;
    std::vector<FilterItem> items;
    // Item numbers by code, kept only for locations with many items: a few are searched.
    TextMap<std::size_t> itemsByCode;
};

// The tick tree of the filtered view: every location of the analysis table with the work
// items recorded there.
class FilterTree {
  public:
    const std::vector<FilterLocation>& locations() const { return locations_; }
    // Locations and items together.
    std::size_t nodeCount() const { return nodeCount_; }
    bool anyTicked() const;

    // The user changed a location's box: ticked ticks all its items, unticked or partly
    // ticked clears them.
    void setLocationTick(std::size_t location, Tick tick);
    // 全选 / 全不选: every location and every item.
    void setEveryTick(bool ticked);
    // The user changed an item's box; its location shows whether all, some or none of its
    // items are ticked.
    void setItemTick(std::size_t location, std::size_t item, bool ticked);
    // The location of that name; nothing when the tree has none.
    std::optional<std::size_t> findLocation(std::string_view name) const;
    struct Node {
        std::size_t location;
        std::size_t item;
    };
    // The item of that code at that location; nothing when the tree has none.
    std::optional<Node> find(std::string_view location, std::string_view code) const;
    // Whether that item is in the tree and ticked.
    bool isTicked(std::string_view location, std::string_view code) const;

  private:
    friend FilterTree buildFilterTree(const Grid&);
    // Adds the item, and its location when new, unless the tree has it; either way it is
    // the last node found.
    void addIfNew(std::string_view location, std::string_view code);
    bool isLast(std::string_view location, std::string_view code) const;
    std::optional<std::size_t> nearLocation(std::string_view name) const;
    std::optional<std::size_t> itemAt(std::size_t location, std::string_view code) const;

    std::vector<FilterLocation> locations_;
    TextMap<std::size_t> locationsByName_;
    std::size_t nodeCount_ = 0;
    // The last node found: an item's rows follow each other.
    mutable std::optional<Node> last_;
};

// One location per distinct 部位名称 and below it one item per distinct 分项代号 recorded
// there, both in order of first appearance; rows with either blank are left out.
FilterTree buildFilterTree(const Grid& analysis);

}  // namespace tf

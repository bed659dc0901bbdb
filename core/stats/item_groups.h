#pragma once

#include <string>
#include <vector>

#include "core/grid/grid.h"
#include "core/materials/material_catalogue.h"
#include "core/stats/analysis_rows.h"
#include "core/structure/default_structure.h"

namespace tf {

// One material of one work item: the quantities of every analysis row with the item's code
// and this material name and unit.
struct ItemStatElement {
    std::string name;
    std::string unit;
    double price = 0;  // from the catalogue when the element was created
    double quantity = 0;
    double workQuantity = 0;
};

struct ItemStatGroup {
    std::string code;
    std::vector<ItemStatElement> elements;  // in order of first appearance
};

// The materials of every work item in the analysis table, in order of first appearance.
class ItemStatGroups {
  public:
    const std::vector<ItemStatGroup>& groups() const { return groups_; }
    const ItemStatGroup* find(std::string_view code) const;
    bool empty() const { return groups_.empty(); }

  private:
    friend ItemStatGroups buildItemGroups(const Grid&, const MaterialCatalogue&);

    struct Place {
        std::size_t group;
        std::size_t element;
    };
    std::vector<ItemStatGroup> groups_;
    TextMap<std::size_t> byCode_;
    TextMap<Place> byMaterial_;  // code, name and unit
};

// Rows that name no catalogue material only add to an element created by an earlier row.
ItemStatGroups buildItemGroups(const Grid& analysis, const MaterialCatalogue& catalogue);

// The division tree the division view offers: the project's structure without the work
// items that have no group and without grouping nodes left empty. `source` maps each node
// back to its index in the project's structure.
struct DivisionTreeModel {
    DivisionTree tree;
    ItemTable items;
    std::vector<std::size_t> source;
};

DivisionTreeModel pruneDivisionTree(const Structure& structure, const ItemStatGroups& groups);

// Fills 分统计表 for a node of the tree: a work item's materials and costs, a division's or
// sub-division's work items, or an empty division layout. Returns the heading that goes
// above the tree ("分部分项：" and the code for a work item).
std::string showItemStatistics(const DivisionTree& tree, const ItemTable& items, std::size_t node,
                               const ItemStatGroups& groups, Grid& itemSummary);
// 分统计表 of the whole structure: every work item of every division, in the division layout.
void showWholeStructure(const DivisionTree& tree, const ItemTable& items,
                        const ItemStatGroups& groups, Grid& itemSummary);

}  // namespace tf

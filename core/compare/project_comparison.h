#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/compare/project_tally.h"

namespace tf {

// A figure of the project compared (the earlier one) and of the one compared with.
struct Figures {
    double before = 0;
    double after = 0;
    double difference() const { return after - before; }
};

enum class Change : std::uint8_t { Same, Added, Removed, Up, Down };

// Added or removed when one side lacks the line, else up, down or the same by `figures`.
Change changeOf(bool before, bool after, const Figures& figures);

// "新增", "删除", "增加", "减少" or "".
std::string_view changeName(Change change);

// A cost difference split into what prices and what quantities made of it: the price
// effect is the old quantity at the change of price, the quantity effect the new price at
// the change of quantity; both add up to the difference. A side without the line takes the
// other side's price.
struct CostSplit {
    Figures quantity;
    Figures price;
    Figures cost;
    double priceEffect = 0;
    double quantityEffect = 0;
};
CostSplit splitCost(bool before, const Figures& quantity, bool after, const Figures& price);

// The rows "by location": a location (its cost), then each of its items (工程数量 and the
// item's cost), then each material of the item (材料数量 and its cost).
enum class LocationRowKind : std::uint8_t { Location, Item, Material };
struct LocationRow {
    LocationRowKind kind = LocationRowKind::Location;
    Change change = Change::Same;
    std::string_view location;
    std::string_view code;
    std::string_view itemName;
    std::string_view material;
    std::string_view unit;
    Figures quantity;
    Figures cost;
};

// A material of the buy list.
struct MaterialRow {
    Change change = Change::Same;
    std::string_view category;
    std::string_view name;
    std::string_view unit;
    CostSplit split;
};

// A line of the costs: a material's cost, or one of an item's fees.
enum class CostKind : std::uint8_t { Material, Labour, Machinery, Management };
std::string_view costKindName(CostKind kind);  // "材料费", "人工费", "机械使用费", "管理费"
struct CostRow {
    CostKind kind = CostKind::Material;
    Change change = Change::Same;
    std::string_view code;  // an item's code, or a material's category
    std::string_view name;  // the item's or the material's name
    CostSplit split;
};

// A fee of a work item the two structures set differently: it moves costs by itself.
struct StructureChange {
    std::string_view code;
    std::string_view name;
    CostKind fee = CostKind::Labour;
    Figures price;
};

struct ChangeCounts {
    int added = 0;
    int removed = 0;
    int changed = 0;
};

struct ComparisonSummary {
    Figures total;  // every cost
    double priceEffect = 0;
    double quantityEffect = 0;
    Figures byKind[4];  // material, labour, machinery, management
    ChangeCounts locations;
    ChangeCounts items;      // an item at a location
    ChangeCounts materials;  // of the buy list
};

// Two projects compared. It holds both tallies: its rows point into them.
struct ProjectComparison {
    std::shared_ptr<const ProjectTally> before;
    std::shared_ptr<const ProjectTally> after;
    std::vector<LocationRow> locations;
    std::vector<MaterialRow> materials;
    std::vector<CostRow> costs;
    std::vector<StructureChange> structure;
    ComparisonSummary summary;
};

// Locations are paired by name, items within them by code, materials by name (as the
// statistics list them). Lines are in the order of the later project, removed ones after
// the line they followed.
ProjectComparison compareProjects(std::shared_ptr<const ProjectTally> before,
                                  std::shared_ptr<const ProjectTally> after);

}  // namespace tf

#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/base/prompter.h"
#include "core/project/project_document.h"
#include "core/stats/analysis_rows.h"

namespace tf {

// What a project adds up to, counted as the statistics count it: a location is every block
// of that name; an item's 工程数量 is its last row's in each block, the blocks added up; a
// row's material costs its quantity at the price of the material of that name first listed
// (rows of a material the material table lacks cost nothing); 机械使用费 and 管理费 are due
// once per item at each location.
struct TalliedItem {
    std::string code;
    double workQuantity = 0;
    std::vector<std::pair<std::size_t, double>> materials;  // material index, 材料数量
};

struct TalliedLocation {
    std::string name;
    std::vector<TalliedItem> items;  // in order of first use
};

struct TalliedMaterial {
    std::string category;
    std::string name;
    std::string unit;
    double price = 0;
    double quantity = 0;
};

// A work item's fees and name as the project's structure holds them (the first record of a
// code counts).
struct ItemFees {
    std::string name;
    double labourPrice = 0;  // per unit of 工程数量
    double machinery = 0;    // per location
    double management = 0;   // per location
};

struct ProjectTally {
    std::vector<TalliedLocation> locations;  // in order of first appearance
    std::vector<TalliedMaterial> materials;  // the buy list, in order of first use
    TextMap<ItemFees> fees;                  // by item code

    const ItemFees& feesOf(std::string_view code) const;
};

ProjectTally tallyProject(const ProjectDocument& document);

// The tally of a project file, read without holding it: a comparison only reads, and the
// file may be the one a window has open. Nothing, told through the prompter with the file's
// name, when it is no project or lost parts in a salvage.
std::shared_ptr<const ProjectTally> tallyProjectFile(const std::string& path, Prompter& prompter);

// Every cost of the project: its materials, and each item's fees at each location.
double totalCost(const ProjectTally& tally);

}  // namespace tf

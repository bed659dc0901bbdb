#include "core/stats/item_groups.h"

#include "core/project/analysis_layout.h"
#include "core/stats/analysis_rows.h"
#include "core/structure/codes.h"

namespace tf {

const ItemStatGroup* ItemStatGroups::find(std::string_view code) const {
    const auto it = byCode_.find(code);
    return it == byCode_.end() ? nullptr : &groups_[it->second];
}

ItemStatGroups buildItemGroups(const Grid& analysis, const MaterialCatalogue& catalogue) {
    ItemStatGroups result;
    std::string key;
    for (int r = kAnalysisHeadingRows; r < analysis.rowCount(); ++r) {
        const AnalysisUse use = readAnalysisUse(analysis, r);
        writeStatisticsKey(key, use.code, use.material, use.unit);
        if (const auto known = result.byMaterial_.find(std::string_view(key));
            known != result.byMaterial_.end()) {
            ItemStatElement& e =
                result.groups_[known->second.group].elements[known->second.element];
            e.quantity += use.quantity;
            e.workQuantity += use.workQuantity;
            continue;
        }
        const CatalogueMaterial material = catalogueMaterial(catalogue, use.materialId);
        if (!material) {
            continue;
        }
        auto at = result.byCode_.find(use.code);
        if (at == result.byCode_.end()) {
            at = result.byCode_.emplace(use.code, result.groups_.size()).first;
            result.groups_.push_back({std::string(use.code), {}});
        }
        ItemStatGroup& group = result.groups_[at->second];
        result.byMaterial_.emplace(key, ItemStatGroups::Place{at->second, group.elements.size()});
        group.elements.push_back({std::string(use.material), std::string(use.unit),
                                  material.entry->price, use.quantity, use.workQuantity});
    }
    return result;
}

namespace {

struct CodeParts {
    std::int32_t division;
    std::int32_t subdivision;
    std::int32_t item;
};

// "030101-12" → 3, 1, 112.
CodeParts splitCode(std::string_view code) {
    const auto part = [&](std::size_t at, std::size_t length) {
        return at < code.size() ? parseCodeNumber(code.substr(at, length)) : 0;
    };
    return {part(0, 2), part(2, 2), part(4, std::string_view::npos)};
}

std::int32_t levelOf(const DivisionTree& tree, std::size_t i) {
    return tree[i].level;
}

// Marks the division, sub-division and work item the code names, looking for the
// sub-division inside the division and for the item inside the sub-division.
void markCode(const DivisionTree& tree, std::string_view code, std::vector<bool>& marked) {
    const CodeParts parts = splitCode(code);
    for (std::size_t d = 0; d < tree.size(); ++d) {
        if (levelOf(tree, d) != 1 || tree[d].number != parts.division) {
            continue;
        }
        for (std::size_t s = d + 1; s < tree.size() && levelOf(tree, s) > 1; ++s) {
            if (levelOf(tree, s) != 2 || tree[s].number != parts.subdivision) {
                continue;
            }
            for (std::size_t i = s + 1; i < tree.size() && levelOf(tree, i) > 2; ++i) {
                if (tree[i].number == parts.item && isWorkItem(tree, i)) {
                    marked[d] = marked[s] = marked[i] = true;
                    return;
                }
            }
            break;  // only the first sub-division of that number is searched
        }
    }
}

}  // namespace

DivisionTreeModel pruneDivisionTree(const Structure& structure, const ItemStatGroups& groups) {
    const DivisionTree& tree = structure.tree;
    std::vector<bool> marked(tree.size(), false);
    for (const ItemStatGroup& group : groups.groups()) {
        markCode(tree, group.code, marked);
    }
    // From the last node up: a node stays when it is marked or still has a child.
    std::vector<bool> keep(tree.size(), false);
    std::int32_t nextKeptLevel = 0;
    for (std::size_t i = tree.size(); i-- > 0;) {
        keep[i] = marked[i] || nextKeptLevel > tree[i].level;
        if (keep[i]) {
            nextKeptLevel = tree[i].level;
        }
    }
    DivisionTreeModel model;
    for (std::size_t i = 0; i < tree.size(); ++i) {
        if (keep[i]) {
            model.tree.push_back(tree[i]);
            model.items.push_back(i < structure.items.size() ? structure.items[i] : ItemRow{});
            model.source.push_back(i);
        }
    }
    return model;
}

}  // namespace tf

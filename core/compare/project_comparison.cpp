#include "core/compare/project_comparison.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

namespace tf {
namespace {

// Sums of the same texts in another order may differ in the last bits: that is no change.
bool same(double a, double b) {
    return std::abs(a - b) <= 1e-9 * std::max({1.0, std::abs(a), std::abs(b)});
}

using Pairs = std::vector<std::optional<std::size_t>>;

// For each line of `after`, the line of `before` with the same key.
template <typename Line, typename Key>
Pairs pairLines(const std::vector<Line>& before, const std::vector<Line>& after, Key key) {
    std::unordered_map<std::string_view, std::size_t> earlier;
    earlier.reserve(before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        earlier.try_emplace(key(before[i]), i);
    }
    Pairs pairs(after.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (const auto it = earlier.find(key(after[i])); it != earlier.end()) {
            pairs[i] = it->second;
        }
    }
    return pairs;
}

// The lines of `before` no line of `after` was paired with.
std::vector<std::size_t> unpaired(const Pairs& pairs, std::size_t beforeCount) {
    std::vector<bool> taken(beforeCount, false);
    for (const auto& p : pairs) {
        if (p) {
            taken[*p] = true;
        }
    }
    std::vector<std::size_t> left;
    for (std::size_t i = 0; i < beforeCount; ++i) {
        if (!taken[i]) {
            left.push_back(i);
        }
    }
    return left;
}

void count(ChangeCounts& counts, Change change) {
    switch (change) {
        case Change::Added:
            ++counts.added;
            break;
        case Change::Removed:
            ++counts.removed;
            break;
        case Change::Up:
        case Change::Down:
            ++counts.changed;
            break;
        case Change::Same:
            break;
    }
}

// The quantity decides a line's change; the cost where the quantity stayed.
Change changeOfLine(bool before, bool after, const Figures& quantity, const Figures& cost) {
    const Change byQuantity = changeOf(before, after, quantity);
    return byQuantity == Change::Same ? changeOf(before, after, cost) : byQuantity;
}

struct ItemUse {  // an item's totals over the locations that hold it, on one side
    double workQuantity = 0;
    double locations = 0;
};

class Comparer {
  public:
    Comparer(const ProjectTally& before, const ProjectTally& after, ProjectComparison& out)
        : before_(before), after_(after), out_(out) {
        materialPairs_ =
            pairLines(before.materials, after.materials,
                      [](const TalliedMaterial& m) -> std::string_view { return m.name; });
    }

    void run() {
        compareMaterials();
        compareLocations();
        compareFees();
        compareStructure();
        summarise();
    }

  private:
    void compareMaterials() {
        const auto row = [&](const TalliedMaterial* b, const TalliedMaterial* a) {
            const TalliedMaterial& shown = a ? *a : *b;
            MaterialRow r;
            r.category = shown.category;
            r.name = shown.name;
            r.unit = shown.unit;
            r.split = splitCost(b != nullptr, {b ? b->quantity : 0, a ? a->quantity : 0},
                                a != nullptr, {b ? b->price : 0, a ? a->price : 0});
            r.change = changeOfLine(b != nullptr, a != nullptr, r.split.quantity, r.split.cost);
            count(out_.summary.materials, r.change);
            out_.materials.push_back(r);
            out_.costs.push_back({CostKind::Material, r.change, r.category, r.name, r.split});
        };
        for (std::size_t i = 0; i < after_.materials.size(); ++i) {
            const auto& p = materialPairs_[i];
            row(p ? &before_.materials[*p] : nullptr, &after_.materials[i]);
        }
        for (const std::size_t i : unpaired(materialPairs_, before_.materials.size())) {
            row(&before_.materials[i], nullptr);
        }
    }

    // One item at one location, on both sides (either may be missing): its rows.
    Figures compareItem(std::string_view location, const TalliedItem* b, const TalliedItem* a,
                        ChangeCounts& itemCounts) {
        const TalliedItem& shown = a ? *a : *b;
        const ItemFees& feesBefore = before_.feesOf(shown.code);
        const ItemFees& feesAfter = after_.feesOf(shown.code);
        addItemUse(shown.code, b, a);
        const std::size_t itemRow = out_.locations.size();
        out_.locations.push_back({LocationRowKind::Item,
                                  Change::Same,
                                  location,
                                  shown.code,
                                  (a ? feesAfter : feesBefore).name,
                                  {},
                                  {},
                                  {},
                                  {}});
        Figures cost;
        const auto material = [&](std::optional<std::size_t> mb, double qb,
                                  std::optional<std::size_t> ma, double qa) {
            const TalliedMaterial* before = mb ? &before_.materials[*mb] : nullptr;
            const TalliedMaterial* after = ma ? &after_.materials[*ma] : nullptr;
            const TalliedMaterial& shownMaterial = after ? *after : *before;
            LocationRow r{LocationRowKind::Material, Change::Same,       location, shown.code, {},
                          shownMaterial.name,        shownMaterial.unit, {qb, qa}, {}};
            r.cost = {before ? qb * before->price : 0, after ? qa * after->price : 0};
            r.change = changeOfLine(before != nullptr, after != nullptr, r.quantity, r.cost);
            cost.before += r.cost.before;
            cost.after += r.cost.after;
            out_.locations.push_back(r);
        };
        std::vector<bool> taken(b ? b->materials.size() : 0, false);
        if (a) {
            for (const auto& [m, q] : a->materials) {
                std::optional<std::size_t> mb;
                double qb = 0;
                if (b && materialPairs_[m]) {
                    for (std::size_t k = 0; k < b->materials.size(); ++k) {
                        if (!taken[k] && b->materials[k].first == *materialPairs_[m]) {
                            taken[k] = true;
                            mb = b->materials[k].first;
                            qb = b->materials[k].second;
                            break;
                        }
                    }
                }
                material(mb, qb, m, q);
            }
        }
        for (std::size_t k = 0; b && k < b->materials.size(); ++k) {
            if (!taken[k]) {
                material(b->materials[k].first, b->materials[k].second, std::nullopt, 0);
            }
        }
        const Figures quantity{b ? b->workQuantity : 0, a ? a->workQuantity : 0};
        if (b) {
            cost.before += quantity.before * feesBefore.labourPrice + feesBefore.machinery +
                           feesBefore.management;
        }
        if (a) {
            cost.after +=
                quantity.after * feesAfter.labourPrice + feesAfter.machinery + feesAfter.management;
        }
        LocationRow& item = out_.locations[itemRow];
        item.quantity = quantity;
        item.cost = cost;
        item.change = changeOfLine(b != nullptr, a != nullptr, quantity, cost);
        // An item is changed when any of its materials is, though its own figures stayed.
        bool changed = item.change != Change::Same;
        for (std::size_t r = itemRow + 1; r < out_.locations.size() && !changed; ++r) {
            changed = out_.locations[r].change != Change::Same;
        }
        count(itemCounts, item.change != Change::Same ? item.change
                          : changed                   ? Change::Up
                                                      : Change::Same);
        return cost;
    }

    void compareLocation(const TalliedLocation* b, const TalliedLocation* a) {
        const TalliedLocation& shown = a ? *a : *b;
        const std::size_t locationRow = out_.locations.size();
        out_.locations.push_back(
            {LocationRowKind::Location, Change::Same, shown.name, {}, {}, {}, {}, {}, {}});
        ChangeCounts items;
        Figures cost;
        const auto add = [&](const Figures& f) {
            cost.before += f.before;
            cost.after += f.after;
        };
        const Pairs itemPairs =
            b && a ? pairLines(b->items, a->items,
                               [](const TalliedItem& i) -> std::string_view { return i.code; })
                   : Pairs(a ? a->items.size() : 0);
        for (std::size_t i = 0; a && i < a->items.size(); ++i) {
            const auto& p = itemPairs[i];
            add(compareItem(shown.name, p ? &b->items[*p] : nullptr, &a->items[i], items));
        }
        if (b) {
            for (const std::size_t i : unpaired(itemPairs, b->items.size())) {
                add(compareItem(shown.name, &b->items[i], nullptr, items));
            }
        }
        LocationRow& row = out_.locations[locationRow];
        row.cost = cost;
        row.change = changeOf(b != nullptr, a != nullptr, cost);
        const bool contentChanged = items.added + items.removed + items.changed > 0;
        count(out_.summary.locations, row.change != Change::Same ? row.change
                                      : contentChanged           ? Change::Up
                                                                 : Change::Same);
        out_.summary.items.added += items.added;
        out_.summary.items.removed += items.removed;
        out_.summary.items.changed += items.changed;
    }

    void compareLocations() {
        const Pairs pairs =
            pairLines(before_.locations, after_.locations,
                      [](const TalliedLocation& l) -> std::string_view { return l.name; });
        for (std::size_t i = 0; i < after_.locations.size(); ++i) {
            compareLocation(pairs[i] ? &before_.locations[*pairs[i]] : nullptr,
                            &after_.locations[i]);
        }
        for (const std::size_t i : unpaired(pairs, before_.locations.size())) {
            compareLocation(&before_.locations[i], nullptr);
        }
    }

    void addItemUse(std::string_view code, const TalliedItem* b, const TalliedItem* a) {
        auto [at, added] = itemUseIndex_.try_emplace(code, itemUses_.size());
        if (added) {
            itemUses_.push_back({code, {}, {}, false, false});
        }
        ItemUses& uses = itemUses_[at->second];
        if (b) {
            uses.before.workQuantity += b->workQuantity;
            uses.before.locations += 1;
            uses.inBefore = true;
        }
        if (a) {
            uses.after.workQuantity += a->workQuantity;
            uses.after.locations += 1;
            uses.inAfter = true;
        }
    }

    // Each item's fees over all its locations: 人工费 by 工程数量, the others by locations.
    void compareFees() {
        // Items new in the later project come first in its order; the order of first use
        // across the comparison is that already.
        for (const ItemUses& uses : itemUses_) {
            const ItemFees& fb = before_.feesOf(uses.code);
            const ItemFees& fa = after_.feesOf(uses.code);
            const std::string_view name = uses.inAfter ? fa.name : fb.name;
            const auto fee = [&](CostKind kind, double ItemUse::*quantity,
                                 double ItemFees::*price) {
                const CostSplit split =
                    splitCost(uses.inBefore, {uses.before.*quantity, uses.after.*quantity},
                              uses.inAfter, {fb.*price, fa.*price});
                if (same(split.cost.before, 0) && same(split.cost.after, 0)) {
                    return;  // a fee the item does not charge on either side
                }
                out_.costs.push_back(
                    {kind, changeOfLine(uses.inBefore, uses.inAfter, split.quantity, split.cost),
                     uses.code, name, split});
            };
            fee(CostKind::Labour, &ItemUse::workQuantity, &ItemFees::labourPrice);
            fee(CostKind::Machinery, &ItemUse::locations, &ItemFees::machinery);
            fee(CostKind::Management, &ItemUse::locations, &ItemFees::management);
        }
    }

    void compareStructure() {
        for (const ItemUses& uses : itemUses_) {
            const auto b = before_.fees.find(uses.code);
            const auto a = after_.fees.find(uses.code);
            if (b == before_.fees.end() || a == after_.fees.end()) {
                continue;
            }
            const auto fee = [&](CostKind kind, double ItemFees::*price) {
                if (!same(b->second.*price, a->second.*price)) {
                    out_.structure.push_back(
                        {uses.code, a->second.name, kind, {b->second.*price, a->second.*price}});
                }
            };
            fee(CostKind::Labour, &ItemFees::labourPrice);
            fee(CostKind::Machinery, &ItemFees::machinery);
            fee(CostKind::Management, &ItemFees::management);
        }
    }

    void summarise() {
        ComparisonSummary& s = out_.summary;
        for (const CostRow& row : out_.costs) {
            Figures& kind = s.byKind[static_cast<int>(row.kind)];
            kind.before += row.split.cost.before;
            kind.after += row.split.cost.after;
            s.total.before += row.split.cost.before;
            s.total.after += row.split.cost.after;
            s.priceEffect += row.split.priceEffect;
            s.quantityEffect += row.split.quantityEffect;
        }
    }

    struct ItemUses {
        std::string_view code;
        ItemUse before;
        ItemUse after;
        bool inBefore = false;
        bool inAfter = false;
    };

    const ProjectTally& before_;
    const ProjectTally& after_;
    ProjectComparison& out_;
    Pairs materialPairs_;  // for each material of the later project, the earlier one
    std::unordered_map<std::string_view, std::size_t> itemUseIndex_;
    std::vector<ItemUses> itemUses_;
};

}  // namespace

Change changeOf(bool before, bool after, const Figures& figures) {
    if (!before) {
        return Change::Added;
    }
    if (!after) {
        return Change::Removed;
    }
    if (same(figures.before, figures.after)) {
        return Change::Same;
    }
    return figures.after > figures.before ? Change::Up : Change::Down;
}

std::string_view changeName(Change change) {
    switch (change) {
        case Change::Added:
            return "新增";
        case Change::Removed:
            return "删除";
        case Change::Up:
            return "增加";
        case Change::Down:
            return "减少";
        case Change::Same:
            break;
    }
    return "";
}

std::string_view costKindName(CostKind kind) {
    switch (kind) {
        case CostKind::Labour:
            return "人工费";
        case CostKind::Machinery:
            return "机械使用费";
        case CostKind::Management:
            return "管理费";
        case CostKind::Material:
            break;
    }
    return "材料费";
}

CostSplit splitCost(bool before, const Figures& quantity, bool after, const Figures& price) {
    CostSplit split;
    split.quantity = {before ? quantity.before : 0, after ? quantity.after : 0};
    split.price = {before ? price.before : price.after, after ? price.after : price.before};
    split.cost = {split.quantity.before * split.price.before,
                  split.quantity.after * split.price.after};
    split.priceEffect = split.quantity.before * (split.price.after - split.price.before);
    split.quantityEffect = split.price.after * (split.quantity.after - split.quantity.before);
    return split;
}

ProjectComparison compareProjects(std::shared_ptr<const ProjectTally> before,
                                  std::shared_ptr<const ProjectTally> after) {
    ProjectComparison out;
    out.before = std::move(before);
    out.after = std::move(after);
    Comparer(*out.before, *out.after, out).run();
    return out;
}

}  // namespace tf

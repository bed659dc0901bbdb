#include "core/compare/project_tally.h"

#include <algorithm>

#include "core/base/file_bytes.h"
#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"
#include "core/structure/default_structure.h"

namespace tf {
namespace {

TextMap<ItemFees> feesByCode(const ProjectDocument& document) {
    TextMap<ItemFees> fees;
    const auto structure = parseStructure(document.structure);
    if (!structure) {
        return fees;
    }
    for (std::size_t i = 0; i < structure->items.size(); ++i) {
        const ItemRow& row = structure->items[i];
        if (row.code.empty() || fees.contains(row.code)) {
            continue;
        }
        fees.emplace(row.code,
                     ItemFees{structure->tree[i].name, parseNumber(row.labourPrice),
                              parseNumber(row.machineryFee), parseNumber(row.managementFee)});
    }
    return fees;
}

class Tallier {
  public:
    explicit Tallier(const ProjectDocument& document) : document_(document) {}

    ProjectTally take() {
        tally_.fees = feesByCode(document_);
        for (const LocationSpan& span : document_.locations) {
            addBlock(span);
        }
        return std::move(tally_);
    }

  private:
    void addBlock(const LocationSpan& span) {
        const Grid& analysis = document_.analysis;
        const std::string_view name = analysis.text(span.first, AnalysisColumn::kLocation);
        auto [at, added] = locationByName_.try_emplace(std::string(name), 0);
        if (added) {
            at->second = tally_.locations.size();
            tally_.locations.push_back({std::string(name), {}});
        }
        TalliedLocation& location = tally_.locations[at->second];
        // Within a block an item holds its last row's quantity; blocks add up.
        std::vector<std::pair<std::size_t, double>> blockQuantities;
        for (int r = span.first; r <= span.last && r < analysis.rowCount(); ++r) {
            const AnalysisUse use = readAnalysisUse(analysis, r);
            if (isBlank(use.code)) {
                continue;
            }
            const std::size_t item = itemOf(location, use.code);
            const auto known =
                std::ranges::find(blockQuantities, item, &std::pair<std::size_t, double>::first);
            if (known == blockQuantities.end()) {
                blockQuantities.emplace_back(item, use.workQuantity);
            } else {
                known->second = use.workQuantity;
            }
            if (const auto material = listedMaterial(use)) {
                addUse(location.items[item], *material, use.quantity);
            }
        }
        for (const auto& [item, quantity] : blockQuantities) {
            location.items[item].workQuantity += quantity;
        }
    }

    static std::size_t itemOf(TalliedLocation& location, std::string_view code) {
        const auto at = std::ranges::find(location.items, code, &TalliedItem::code);
        if (at != location.items.end()) {
            return static_cast<std::size_t>(at - location.items.begin());
        }
        location.items.push_back({std::string(code), 0, {}});
        return location.items.size() - 1;
    }

    // The material the buy list counts the row under, as 统计表 lists it.
    std::optional<std::size_t> listedMaterial(const AnalysisUse& use) {
        if (isBlank(use.material) || isBlank(use.unit)) {
            return std::nullopt;
        }
        if (const auto it = materialByName_.find(use.material); it != materialByName_.end()) {
            return it->second;
        }
        const CatalogueMaterial material = catalogueMaterial(document_.catalogue, use.materialId);
        if (!material) {
            return std::nullopt;
        }
        materialByName_.emplace(use.material, tally_.materials.size());
        tally_.materials.push_back({material.category->name, std::string(use.material),
                                    std::string(use.unit), material.entry->price, 0});
        return tally_.materials.size() - 1;
    }

    void addUse(TalliedItem& item, std::size_t material, double quantity) {
        tally_.materials[material].quantity += quantity;
        const auto at =
            std::ranges::find(item.materials, material, &std::pair<std::size_t, double>::first);
        if (at != item.materials.end()) {
            at->second += quantity;
        } else {
            item.materials.emplace_back(material, quantity);
        }
    }

    const ProjectDocument& document_;
    ProjectTally tally_;
    TextMap<std::size_t> locationByName_;
    TextMap<std::size_t> materialByName_;
};

}  // namespace

const ItemFees& ProjectTally::feesOf(std::string_view code) const {
    static const ItemFees none;
    const auto it = fees.find(code);
    return it != fees.end() ? it->second : none;
}

ProjectTally tallyProject(const ProjectDocument& document) {
    return Tallier(document).take();
}

std::shared_ptr<const ProjectTally> tallyProjectFile(const std::string& path, Prompter& prompter) {
    const auto bytes = readFileBytes(path, kLargestProjectFile);
    SilentPrompter quiet;  // what a reading would say is said below, naming the file
    const auto reading = bytes ? readProjectImage(*bytes, quiet) : std::nullopt;
    if (!reading) {
        prompter.message(path + "：" + std::string(kNotAProject), Captions::kError,
                         MessageFlags::kError);
        return nullptr;
    }
    if (!reading->lostParts.empty()) {
        // Its missing parts would be compared as the built-in ones: figures no one entered.
        std::string parts;
        for (const std::string& part : reading->lostParts) {
            parts += (parts.empty() ? "" : "、") + part;
        }
        prompter.message(path + "：工程文件已损坏（" + parts + "），不能用于对比。",
                         Captions::kError, MessageFlags::kError);
        return nullptr;
    }
    return std::make_shared<ProjectTally>(tallyProject(reading->document));
}

double totalCost(const ProjectTally& tally) {
    double total = 0;
    for (const TalliedMaterial& m : tally.materials) {
        total += m.quantity * m.price;
    }
    for (const TalliedLocation& location : tally.locations) {
        for (const TalliedItem& item : location.items) {
            const ItemFees& fees = tally.feesOf(item.code);
            total += item.workQuantity * fees.labourPrice + fees.machinery + fees.management;
        }
    }
    return total;
}

}  // namespace tf

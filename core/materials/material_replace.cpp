#include "core/materials/material_replace.h"

#include <algorithm>
#include <unordered_map>

#include "core/analysis/location_index.h"
#include "core/base/text_util.h"
#include "core/grid/grid_display.h"
#include "core/materials/material_intake.h"
#include "core/materials/material_layout.h"
#include "core/project/analysis_layout.h"
#include "core/structure/default_structure.h"
#include "core/structure/link_table.h"

namespace tf {
namespace {

namespace A = AnalysisColumn;
using namespace MaterialColumn;

// How many links gone the question lists before it only counts the rest.
constexpr std::size_t kGoneLinksShown = 10;

// Material name and unit (Latin case aside) to the id of the first material that has them.
using MaterialIds = std::unordered_map<std::string, std::string>;

std::string nameAndUnit(std::string_view name, std::string_view unit) {
    return asciiUpper(std::string(name) + "\x1f" + std::string(unit));
}

MaterialIds materialIds(const Grid& m) {
    MaterialIds ids;
    for (int row = 1; row < m.rowCount(); ++row) {
        ids.emplace(nameAndUnit(m.text(row, kName), m.text(row, kUnit)), m.text(row, kId));
    }
    return ids;
}

// Every analysis row with a location gets the id of the first material of the same name and
// unit; the others lose their id, are marked and returned.
std::vector<MissingMaterialRow> linkAgain(ProjectDocument& document, const MaterialIds& ids) {
    Grid& a = document.analysis;
    std::vector<MissingMaterialRow> missing;
    for (int r = kAnalysisHeadingRows; r < a.rowCount(); ++r) {
        if (isBlank(a.text(r, A::kLocation))) {
            continue;
        }
        const auto found =
            ids.find(nameAndUnit(a.text(r, A::kMaterialName), a.text(r, A::kMaterialUnit)));
        if (found != ids.end()) {
            a.setText(r, A::kMaterialId, found->second);
        } else {
            // The old id now names some other material of the new table: kept, the row would
            // be counted and priced as that one.
            a.setText(r, A::kMaterialId, "0");
            a.setBackground({r, A::kMaterialName, r, A::kMaterialName + 3}, kMarkerColour);
            missing.push_back({r, std::string(a.text(r, A::kLocation)),
                               std::string(a.text(r, A::kMaterialName)),
                               std::string(a.text(r, A::kMaterialUnit))});
        }
    }
    return missing;
}

// The links of every work item's current process follow the new table the same way, by
// material name and unit: a link whose material is gone loses its id and its tick, and the
// ticked ones are returned.
std::vector<GoneLink> linkStructureAgain(ProjectDocument& document, const MaterialIds& ids) {
    auto structure = parseStructure(document.structure);
    std::vector<GoneLink> gone;
    if (!structure) {
        return gone;
    }
    bool changed = false;
    for (std::size_t k = 0; k < structure->items.size(); ++k) {
        ItemRow& item = structure->items[k];
        Grid process;
        if (item.currentProcess.empty() || !process.load(item.currentProcess)) {
            continue;
        }
        const std::string before = item.currentProcess;
        for (int r = 1; r < process.rowCount(); ++r) {
            const MaterialLink link = readLink(process, r);
            if (isBlank(link.materialName)) {
                continue;
            }
            const auto found = ids.find(nameAndUnit(trimSpaces(link.materialName), link.unit));
            if (found != ids.end()) {
                process.setText(r, LinkColumn::kMaterialId, found->second);
                continue;
            }
            process.setText(r, LinkColumn::kMaterialId, {});
            if (link.linked) {
                process.setText(r, LinkColumn::kLinked, kUnticked);
                const std::string name = k < structure->tree.size() ? structure->tree[k].name : "";
                gone.push_back({item.code, name, link.materialName, link.unit});
            }
        }
        item.currentProcess = process.save();
        changed = changed || item.currentProcess != before;
    }
    if (changed) {
        document.structure = serializeStructure(*structure);
    }
    return gone;
}

std::string goneLinksText(const std::vector<GoneLink>& gone) {
    std::string text = "分部分项工艺中以下关联的材料也已不存在，已取消关联：";
    for (std::size_t i = 0; i < gone.size() && i < kGoneLinksShown; ++i) {
        text += "\r\n" + gone[i].code + " " + gone[i].item + "：" + gone[i].material + "（" +
                gone[i].unit + "）";
    }
    if (gone.size() > kGoneLinksShown) {
        text += "\r\n……共 " + std::to_string(gone.size()) + " 处";
    }
    return text;
}

}  // namespace

std::optional<ReplaceOutcome> importMaterialsReplacing(ProjectDocument& document,
                                                       const std::string& path, Prompter& prompter,
                                                       const ReplaceOptions& options) {
    BusyCursor busy(prompter);
    // Everything is read before the old table goes.
    PriceList list = readPriceList(path);
    if (!list.failure.empty()) {
        tellImportFailure(list.failure, prompter);
        return std::nullopt;
    }
    ReplaceOutcome outcome;
    ImportReport& report = outcome.report;
    report.skipped = std::move(list.skipped);
    if (list.materials.empty()) {
        tellImport("未导入任何可用材料！", report, options.shown, prompter, Captions::kInformation,
                   0);
        return std::nullopt;
    }
    document.modified = true;
    Grid& g = document.materials;
    g.setRowCount(1);
    g.setPickList(kCategory, {});
    document.catalogue.clear();
    MaterialIntake intake;  // within one file the first of a category and name wins
    for (const PriceLine& line : list.materials) {
        std::string refused = intake.refusal(line, document.catalogue);
        if (!refused.empty()) {
            report.skipped.push_back({line.line, std::move(refused)});
            continue;
        }
        appendImportedMaterial(document, line.fields, prompter);
        ++report.added;
    }
    report.sortByLine();
    const MaterialIds ids = materialIds(g);
    outcome.goneLinks = linkStructureAgain(document, ids);
    tellImport("文件导入完毕！开始梳理分析表材料缺损。", report, options.shown, prompter);

    Grid& a = document.analysis;
    const bool anyLocation = [&] {
        for (int r = kAnalysisHeadingRows; r < a.rowCount(); ++r) {
            if (!isBlank(a.text(r, A::kLocation))) {
                return true;
            }
        }
        return false;
    }();
    if (anyLocation) {
        paintAnalysisBands(a, kAnalysisHeadingRows, a.rowCount() - 1);
        if (options.showAnalysisPage) {
            options.showAnalysisPage();
        }
        outcome.missingRows = linkAgain(document, ids);
    }
    if (outcome.missingRows.empty()) {
        if (!outcome.goneLinks.empty()) {
            prompter.message(goneLinksText(outcome.goneLinks), Captions::kWarning,
                             MessageFlags::kWarning);
        }
        return outcome;
    }
    const std::string links =
        outcome.goneLinks.empty() ? "" : "\r\n\r\n" + goneLinksText(outcome.goneLinks);
    bool remove = options.missingRows == MissingRows::Delete;
    if (options.missingRows == MissingRows::Ask) {
        remove =
            prompter.message(
                "高亮显示行所示材料已经不存在！\r\n要删除点击确认钮，手动修改点击取消。" + links,
                Captions::kQuestion, MessageFlags::kOkCancelWarning) == Answer::Ok;
    } else {
        const std::string rows = std::to_string(outcome.missingRows.size());
        prompter.message("分析表中有 " + rows + " 行的材料已经不存在，" +
                             (remove ? "已删除这些行。" : "这些行已保留并标出，请手动修改。") +
                             links,
                         Captions::kWarning, MessageFlags::kWarning);
    }
    if (remove) {
        // From the bottom up, so the rows still to go keep their numbers.
        for (auto it = outcome.missingRows.rbegin(); it != outcome.missingRows.rend(); ++it) {
            deleteAnalysisRow(document.locations, a, document.attachments, it->row);
        }
    }
    return outcome;
}

int markMaterialMatches(Grid& materials, std::string_view text, bool exact) {
    paintMaterialBands(materials);
    const std::string wanted(trimSpaces(text));
    const std::string wantedLower = asciiLower(wanted);
    int marked = 0;
    for (int r = 1; r < materials.rowCount(); ++r) {
        const std::string_view name = materials.text(r, kName);
        const bool match =
            exact ? name == wanted
                  : asciiLower(trimSpaces(name)).find(wantedLower) != std::string::npos;
        if (match) {
            materials.setBackground({r, kCategory, r, kNote}, kMarkerColour);
            ++marked;
        }
    }
    return marked;
}

}  // namespace tf

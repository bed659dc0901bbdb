#include "core/materials/material_table.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/base/utf8.h"
#include "core/materials/material_layout.h"
#include "core/project/analysis_layout.h"

namespace tf {
namespace {

using namespace MaterialColumn;

constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kPriceRed{128, 0, 0};
constexpr Rgb kPriceNavy{0, 0, 128};

void markRow(Grid& g, int row) {
    g.setBackground({row, kCategory, row, kId}, kMarkerColour);
}

std::int32_t storedId(const Grid& g, int row) {
    const double id = parseNumber(g.text(row, kId));
    return std::fabs(id) < 2e9 ? static_cast<std::int32_t>(id) : 0;
}

void addToPickList(Grid& g, const std::string& category) {
    std::vector<std::string> items = g.column(kCategory).pickList;
    items.push_back(category);
    g.setPickList(kCategory, std::move(items));
}

bool pickListHas(const Grid& g, std::string_view category) {
    const std::string wanted = asciiLower(std::string(category));
    const auto& items = g.column(kCategory).pickList;
    return std::any_of(items.begin(), items.end(),
                       [&](const std::string& item) { return asciiLower(item) == wanted; });
}

MaterialEntry entryOfRow(const Grid& g, int row) {
    return {std::string(trimSpaces(g.text(row, kName))),
            std::string(trimSpaces(g.text(row, kSpec))),
            std::string(trimSpaces(g.text(row, kUnit))),
            parseNumber(g.text(row, kPrice)),
            std::string(g.text(row, kNote)),
            false};
}

void renumber(Grid& g, int from) {
    for (int r = std::max(from, 1); r < g.rowCount(); ++r) {
        g.setText(r, kNumber, std::to_string(r));
        g.setBackground({r, kNumber, r, kId},
                        r % 2 == 0 ? std::optional(kMaterialBand) : std::nullopt);
    }
}

// Analysis rows that use the material: units follow silently, names that differ are
// marked and offered for repair.
void repairAnalysisRows(ProjectDocument& document, std::int32_t id, const MaterialEntry& entry,
                        Prompter& prompter, const std::function<void()>& showAnalysisPage) {
    namespace A = AnalysisColumn;
    Grid& a = document.analysis;
    std::vector<int> differing;
    const std::string name = asciiLower(entry.name);
    for (int r = kAnalysisHeadingRows; r < a.rowCount(); ++r) {
        const std::string_view idText = a.text(r, A::kMaterialId);
        if (idText.empty() || parseNumber(idText) != id) {
            continue;
        }
        if (asciiLower(std::string(a.text(r, A::kMaterialName))) != name) {
            a.setBackground({r, A::kMaterialName, r, A::kNote}, kMarkerColour);
            differing.push_back(r);
        } else {
            a.setText(r, A::kMaterialUnit, entry.unit);
        }
    }
    if (differing.empty()) {
        return;
    }
    if (showAnalysisPage) {
        showAnalysisPage();
    }
    const Answer answer = prompter.message(
        "分析表中的部分材料与此关联，要自动修复关联还是手动调整？\r\n选是自动修复关联，"
        "选否手动调整",
        Captions::kQuestion, MessageFlags::kYesNo);
    if (answer != Answer::Yes) {
        return;
    }
    for (const int r : differing) {
        a.setText(r, A::kMaterialName, entry.name);
        a.setText(r, A::kMaterialUnit, entry.unit);
        paintAnalysisBands(a, r, r);
    }
}

}  // namespace

std::string categoryList(const Grid& materials) {
    std::string list = "?";
    for (const auto& item : materials.column(kCategory).pickList) {
        list += item + "?";
    }
    return list;
}

bool canBeginMaterialEdit(ProjectDocument& document, int row, int column, Prompter& prompter) {
    Grid& g = document.materials;
    if (column == kId) {
        return false;
    }
    if (row >= 1 && column != kCategory && withoutSpaces(g.text(row, kCategory)).empty()) {
        g.setCursor(row, kCategory);
        prompter.message("请先填写类别！", "", MessageFlags::kInformation);
        return false;
    }
    return true;
}

void commitMaterialEdit(ProjectDocument& document, int row, int column, Prompter& prompter,
                        const std::function<void()>& showAnalysisPage) {
    Grid& g = document.materials;
    std::string cell(g.text(row, column));
    if (column == kSpec) {
        cell = replaceAll(cell, "*", "×");
    }
    std::replace(cell.begin(), cell.end(), '?', '_');
    g.setText(row, column, cell);

    const std::string category(g.text(row, kCategory));
    if (!withoutSpaces(category).empty()) {
        if (!pickListHas(g, category)) {
            addToPickList(g, category);
        }
    } else if (!std::string(trimSpaces(g.text(row, kName))).empty()) {
        markRow(g, row);
        g.setText(row, kCategory, "[类别不能为空] " + category);
    }

    if (column == kName) {
        const std::string name(g.text(row, kName));
        if (std::string(trimSpaces(name)).empty()) {
            markRow(g, row);
            g.setText(row, kName, "[材料名称不能为空] ");
            return;
        }
        const std::string rowCategory(g.text(row, kCategory));
        bool duplicate = false;
        for (int r = 1; r < g.rowCount(); ++r) {
            if (r != row && g.text(r, kName) == name && g.text(r, kCategory) == rowCategory) {
                markRow(g, r);
                duplicate = true;
            }
        }
        if (duplicate) {
            g.setText(row, kName, "[重名材料] " + name);
            prompter.message("同类别的材料不能重名！", Captions::kWarning, MessageFlags::kWarning);
        }
    }
    if (column == kPrice) {
        // A price too large for a number would count as 0: it is refused instead.
        const auto price = readNumber(g.text(row, kPrice));
        if (!price) {
            prompter.message(kNumberOutOfRange, Captions::kWarning, MessageFlags::kWarning);
        }
        g.setText(row, kPrice, price ? formatNumber(std::fabs(*price)) : "");
    }
    syncMaterialRow(document, row, prompter, showAnalysisPage);
    document.modified = true;
}

namespace {

constexpr std::size_t kLongestPastedCell = 1000;  // characters

// The first line of a clipboard text, cut to what a cell sensibly holds.
std::string firstLineOf(std::string_view clipboard) {
    const std::string_view line = clipboard.substr(0, clipboard.find_first_of("\r\n"));
    std::size_t pos = 0;
    for (std::size_t characters = 0; pos < line.size() && characters < kLongestPastedCell;
         ++characters) {
        utf8::next(line, pos);
    }
    return std::string(line.substr(0, pos));
}

// The data cell under the cursor when it may be edited.
std::optional<CellPos> editableCursorCell(ProjectDocument& document, Prompter& prompter) {
    const CellPos cursor = document.materials.cursor();
    if (cursor.row < 1 || !canBeginMaterialEdit(document, cursor.row, cursor.column, prompter)) {
        return std::nullopt;
    }
    return cursor;
}

}  // namespace

void pasteIntoMaterialCell(ProjectDocument& document, std::string_view clipboard,
                           Prompter& prompter, const std::function<void()>& showAnalysisPage) {
    if (const auto cell = editableCursorCell(document, prompter)) {
        document.materials.setText(cell->row, cell->column, firstLineOf(clipboard));
        commitMaterialEdit(document, cell->row, cell->column, prompter, showAnalysisPage);
    }
    document.modified = true;
}

std::optional<std::string> cutMaterialCell(ProjectDocument& document, Prompter& prompter,
                                           const std::function<void()>& showAnalysisPage) {
    std::optional<std::string> cut;
    if (const auto cell = editableCursorCell(document, prompter)) {
        cut = std::string(document.materials.text(cell->row, cell->column));
        document.materials.setText(cell->row, cell->column, {});
        commitMaterialEdit(document, cell->row, cell->column, prompter, showAnalysisPage);
    }
    document.modified = true;
    return cut;
}

void syncMaterialRow(ProjectDocument& document, int row, Prompter& prompter,
                     const std::function<void()>& showAnalysisPage) {
    BusyCursor busy(prompter);
    Grid& g = document.materials;
    if (withoutSpaces(g.text(row, kCategory)).empty() ||
        withoutSpaces(g.text(row, kName)).empty()) {
        return;
    }
    const std::int32_t id = storedId(g, row);
    MaterialEntry* entry = id != 0 ? document.catalogue.byId(id) : nullptr;
    if (entry == nullptr) {
        if (!enterMaterialRow(document, row)) {
            tellCategoryFull(prompter);
        }
        return;
    }
    *entry = entryOfRow(g, row);
    document.catalogue.renameCategory(id / 1000, std::string(trimSpaces(g.text(row, kCategory))));
    repairAnalysisRows(document, id, *entry, prompter, showAnalysisPage);
}

void tellCategoryFull(Prompter& prompter) {
    // One more would take the next category's ids.
    prompter.message("同一类别的材料不能超过999种！", Captions::kWarning, MessageFlags::kWarning);
}

bool enterMaterialRow(ProjectDocument& document, int row) {
    Grid& g = document.materials;
    MaterialCatalogue& catalogue = document.catalogue;
    const std::string category = std::string(trimSpaces(g.text(row, kCategory)));
    int number = catalogue.findCategory(category);
    if (number == 0) {
        // The drop-down list offers every catalogue category, and maybe this one already.
        number = catalogue.addCategory(category);
        if (!pickListHas(g, category)) {
            addToPickList(g, category);
        }
    }
    const std::int32_t id = catalogue.addMaterial(number, entryOfRow(g, row));
    if (id == 0) {
        return false;
    }
    g.setText(row, kId, std::to_string(id));
    return true;
}

void styleMaterialRow(Grid& g, int row, bool appended) {
    g.setText(row, kNumber, std::to_string(row));
    g.setBands({row, kNumber, row, kId}, kMaterialBand, std::nullopt);
    g.setForeground({row, kNumber, row, kNumber}, kGrey);
    g.setAlign({row, kNumber, row, kNumber}, Align::Center);
    g.setAlign({row, kUnit, row, kUnit}, Align::Center);
    g.setBold({row, kPrice, row, kPrice}, true);
    g.setAlign({row, kPrice, row, kPrice}, Align::Center);
    g.setForeground({row, kPrice, row, kPrice}, appended ? kPriceNavy : kPriceRed);
}

int appendMaterialRow(ProjectDocument& document) {
    Grid& g = document.materials;
    g.appendRows(1);
    const int row = g.rowCount() - 1;
    styleMaterialRow(g, row, true);
    g.setCursor(row, kCategory);
    document.modified = true;
    return row;
}

void insertMaterialRow(ProjectDocument& document, int row) {
    Grid& g = document.materials;
    row = std::clamp(row, 1, g.rowCount());
    g.insertRows(row);
    styleMaterialRow(g, row, true);
    renumber(g, row);
    document.modified = true;
}

void deleteMaterialRow(ProjectDocument& document, int row) {
    Grid& g = document.materials;
    if (row < 1 || row >= g.rowCount()) {
        return;
    }
    if (MaterialEntry* entry = document.catalogue.byId(storedId(g, row))) {
        entry->removed = true;
    }
    g.deleteRows(row);
    renumber(g, row);
    document.modified = true;
}

int rebuildCatalogue(ProjectDocument& document) {
    Grid& g = document.materials;
    int unnumbered = 0;
    document.catalogue.clear();
    g.setPickList(kCategory, {});
    std::unordered_set<std::string> seen;
    for (int r = 1; r < g.rowCount(); ++r) {
        if (withoutSpaces(g.text(r, kCategory)).empty() ||
            withoutSpaces(g.text(r, kName)).empty()) {
            continue;
        }
        const std::string key = asciiUpper("|" + std::string(trimSpaces(g.text(r, kCategory))) +
                                           "?" + std::string(trimSpaces(g.text(r, kName))) + "?" +
                                           std::string(trimSpaces(g.text(r, kSpec))) + "?" +
                                           std::string(trimSpaces(g.text(r, kUnit))) + "?" +
                                           std::string(trimSpaces(g.text(r, kPrice))) + "|");
        if (!seen.insert(key).second) {
            continue;
        }
        unnumbered += enterMaterialRow(document, r) ? 0 : 1;
    }
    return unnumbered;
}

void refreshMaterialPage(ProjectDocument& document, Prompter& prompter) {
    BusyCursor busy(prompter);
    prompter.setStatus("刷新当前表格");
    Grid& g = document.materials;
    const int last = g.rowCount() - 1;
    g.clearTexts({1, kCategory, last, kId});
    renumber(g, 1);
    g.setPickList(kCategory, {});
    int row = 1;
    const MaterialCatalogue& catalogue = document.catalogue;
    for (int c = 1; c <= catalogue.categoryCount(); ++c) {
        const MaterialCategory& category = *catalogue.category(c);
        addToPickList(g, category.name);
        for (std::size_t i = 0; i < category.entries.size(); ++i) {
            const MaterialEntry& e = category.entries[i];
            if (e.removed) {
                continue;
            }
            if (row >= g.rowCount()) {
                g.appendRows(1);
                styleMaterialRow(g, row, true);
            }
            const std::string values[] = {category.name,
                                          e.name,
                                          e.spec,
                                          e.unit,
                                          formatNumber(e.price),
                                          e.note,
                                          std::to_string(materialId(c, static_cast<int>(i) + 1))};
            for (int col = kCategory; col <= kId; ++col) {
                g.setText(row, col, values[col - kCategory]);
            }
            ++row;
        }
    }
    prompter.setStatus("刷新完毕");
}

}  // namespace tf

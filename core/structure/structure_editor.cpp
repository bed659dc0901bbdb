#include "core/structure/structure_editor.h"

#include <cmath>
#include <set>

#include "core/analysis/item_use.h"
#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/grid/grid_display.h"
#include "core/materials/material_catalogue.h"
#include "core/materials/material_layout.h"
#include "core/structure/codes.h"
#include "core/structure/link_table.h"
#include "core/structure/structure_file.h"
#include "core/structure/structure_tree.h"

namespace tf {
namespace {

using namespace LinkColumn;

constexpr std::string_view kWrongPlace = "与之关联的材料位置错误，请重新关联！";
constexpr Rgb kReadOnlyGrey{236, 236, 236};
constexpr double kNearZero = 0.0000001;

// The index after a node's last descendant.
std::size_t subtreeEnd(const DivisionTree& tree, std::size_t node) {
    std::size_t end = node + 1;
    while (end < tree.size() && tree[end].level > tree[node].level) {
        ++end;
    }
    return end;
}

bool hasChildren(const DivisionTree& tree, std::size_t node) {
    return node + 1 < tree.size() && tree[node + 1].level > tree[node].level;
}

// The codes of the item rows first..end that no row outside them has: the codes whose labour
// price and fees are gone once those rows are.
std::set<std::string, std::less<>> codesLeaving(const ItemTable& items, std::ptrdiff_t first,
                                                std::ptrdiff_t end) {
    std::set<std::string, std::less<>> leaving;
    for (auto i = first; i < end; ++i) {
        const std::string& code = items[static_cast<std::size_t>(i)].code;
        if (!code.empty()) {
            leaving.insert(code);
        }
    }
    for (std::size_t i = 0; i < items.size() && !leaving.empty(); ++i) {
        if (static_cast<std::ptrdiff_t>(i) < first || static_cast<std::ptrdiff_t>(i) >= end) {
            leaving.erase(items[i].code);
        }
    }
    return leaving;
}

// name (segment), as the code panel shows a coded node.
std::string withSegment(const DivisionItem& node) {
    return node.name + " (" + codeSegment(node.number) + ")";
}

std::string withoutCodeCharacters(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || c == '-') {
            kept.push_back(c);
        }
    }
    return kept;
}

void setTick(Grid& g, int row, bool ticked) {
    g.setText(row, kLinked, ticked ? kTicked : kUnticked);
}

}  // namespace

std::optional<int> gridRowAt(int contentY, int firstDataRow, int rowHeight, int rowCount) {
    if (contentY < 0 || rowHeight <= 0) {
        return std::nullopt;
    }
    const int row = firstDataRow + contentY / rowHeight;
    return row < rowCount ? std::optional(row) : std::nullopt;
}

std::vector<int> pickFadeOpacities() {
    std::vector<int> steps;
    for (int opacity = 255 - 15; opacity >= 0; opacity -= 15) {
        steps.push_back(opacity);
    }
    return steps;
}

StructureEditor::StructureEditor(ProjectDocument& document, Prompter& prompter)
    : document_(document), prompter_(prompter) {
    working_ = parseStructure(document.structure).value_or(*parseStructure(defaultStructure()));
    freshLinkGrids();
    select(working_.tree.empty() ? std::nullopt : std::optional<std::size_t>(0));
}

bool StructureEditor::isItem(std::size_t node) const {
    return isWorkItem(working_.tree, node);
}

void StructureEditor::select(std::optional<std::size_t> node) {
    if (node && *node >= working_.tree.size()) {
        node.reset();
    }
    current_ = node;
    owner_.reset();
    name.clear();
    code.clear();
    labourPrice.clear();
    machinery.clear();
    management.clear();
    pricesEnabled = false;
    if (node) {
        const DivisionItem& item = working_.tree[*node];
        name = item.name;
        code = item.number == 0 ? std::string() : codeSegment(item.number);
        if (isItem(*node)) {
            const ItemRow& row = working_.items[*node];
            labourPrice = row.labourPrice;
            machinery = row.machineryFee;
            management = row.managementFee;
            pricesEnabled = true;
            owner_ = *node;
        }
    }
    showCodePanel();
    loadLinks();
}

void StructureEditor::showCodePanel() {
    panel = CodePanel{};
    panel.label = std::string(kLinkPrompt);
    if (!current_) {
        return;
    }
    const DivisionTree& tree = working_.tree;
    const std::size_t node = *current_;
    // The ancestors from the top down, the node last.
    std::vector<std::size_t> chain{node};
    for (auto up = parentOf(tree, node); up; up = parentOf(tree, *up)) {
        chain.insert(chain.begin(), *up);
    }
    panel.division = withSegment(tree[chain.front()]);
    if (chain.size() < 2) {
        return;
    }
    const bool workItem = isItem(node);
    const std::size_t groupingEnd = workItem ? chain.size() - 1 : chain.size();
    panel.subdivision = withSegment(tree[chain[1]]);
    for (std::size_t i = 2; i < groupingEnd; ++i) {
        panel.subdivision += "/" + tree[chain[i]].name;
    }
    if (workItem) {
        panel.item = withSegment(tree[node]);
        panel.code = itemCodeOfNode(tree, node);
        panel.label = panel.code;
    }
}

void StructureEditor::editName(std::string_view text) {
    if (!current_) {
        return;
    }
    name = std::string(text);
    working_.tree[*current_].name = name;
    showCodePanel();
}

void StructureEditor::editCode(std::string_view text) {
    if (!current_) {
        return;
    }
    code = withoutCodeCharacters(text);
    const std::size_t node = *current_;
    working_.tree[node].number = parseCodeNumber(code);
    if (isItem(node)) {
        working_.items[node].code = itemCodeOfNode(working_.tree, node);
    }
    showCodePanel();
}

void StructureEditor::finishCode() {
    if (!current_) {
        return;
    }
    const std::size_t node = *current_;
    const bool needsNumber = working_.tree[node].level <= 2 || !hasChildren(working_.tree, node);
    if (std::fabs(parseNumber(code)) > kNearZero || !needsNumber) {
        return;
    }
    const std::string position = std::to_string(node + 1);
    prompter_.message("必须设置分项号，系统自动分配为：" + position, "", 0);
    editCode(position);
}

void StructureEditor::editPrice(Price price, std::string_view text) {
    if (!owner_) {
        return;
    }
    ItemRow& row = working_.items[*owner_];
    const std::string stored = formatNumber(std::fabs(parseNumber(text)));
    switch (price) {
        case Price::Labour:
            labourPrice = std::string(text);
            row.labourPrice = stored;
            break;
        case Price::Machinery:
            machinery = std::string(text);
            row.machineryFee = stored;
            break;
        case Price::Management:
            management = std::string(text);
            row.managementFee = stored;
            break;
    }
}

std::size_t StructureEditor::insertNode(std::size_t at, std::int32_t level) {
    DivisionItem node;
    node.level = level;
    working_.tree.insert(working_.tree.begin() + static_cast<std::ptrdiff_t>(at), node);
    ItemRow row;
    row.labourPrice = std::string(kNewItemLabourPrice);
    working_.items.insert(working_.items.begin() + static_cast<std::ptrdiff_t>(at), row);
    select(at);
    return at;
}

void StructureEditor::addSibling() {
    const auto parent = current_ ? parentOf(working_.tree, *current_) : std::nullopt;
    if (!parent) {
        insertNode(working_.tree.size(), 1);
        return;
    }
    insertNode(subtreeEnd(working_.tree, *parent), working_.tree[*parent].level + 1);
}

void StructureEditor::addChild() {
    if (!current_) {
        insertNode(working_.tree.size(), 1);
        return;
    }
    insertNode(subtreeEnd(working_.tree, *current_), working_.tree[*current_].level + 1);
}

void StructureEditor::insertBefore() {
    if (!current_) {
        insertNode(working_.tree.size(), 1);
        return;
    }
    insertNode(*current_, working_.tree[*current_].level);
}

bool StructureEditor::deleteCurrent() {
    if (!current_) {
        return false;
    }
    const std::size_t node = *current_;
    const bool group = hasChildren(working_.tree, node);
    std::string question = group ? "确定删除“" + working_.tree[node].name + "”及其下所有子项吗？"
                                 : "确定删除“" + working_.tree[node].name + "”吗？";
    const auto first = static_cast<std::ptrdiff_t>(node);
    const auto end = static_cast<std::ptrdiff_t>(subtreeEnd(working_.tree, node));
    // Rows of the analysis table whose item goes lose its labour price and fees in every
    // cost: the question says how many.
    const ItemUse use = countItemUse(document_.analysis, document_.locations,
                                     codesLeaving(working_.items, first, end));
    if (use.rows > 0) {
        question += "\r\n分析表中 " + std::to_string(use.locations) + " 个部位的 " +
                    std::to_string(use.rows) + (group ? " 行使用其中的分项" : " 行使用该分项") +
                    "，删除后这些行不再计分项包工单价、机械使用费和管理费。";
    }
    if (prompter_.message(question, use.rows > 0 ? Captions::kWarning : Captions::kQuestion,
                          use.rows > 0 ? MessageFlags::kYesNoWarningDefaultNo
                                       : MessageFlags::kYesNoDefaultNo) != Answer::Yes) {
        return false;
    }
    working_.tree.erase(working_.tree.begin() + first, working_.tree.begin() + end);
    working_.items.erase(working_.items.begin() + first, working_.items.begin() + end);
    if (working_.tree.empty()) {
        select(std::nullopt);
    } else {
        select(std::min(node, working_.tree.size() - 1));
    }
    return true;
}

bool StructureEditor::resetToDefault() {
    if (prompter_.message("当前所有设置都将被置为初始状态，确定吗？", Captions::kWarning,
                          MessageFlags::kYesNoWarningDefaultNo) != Answer::Yes) {
        return false;
    }
    working_ = *parseStructure(defaultStructure());
    select(0);
    return true;
}

bool StructureEditor::importFile() {
    const auto path = prompter_.chooseOpenFile("载入分部分项结构", kStructureFileFilter);
    const auto snapshot = path ? readStructureFile(*path, prompter_) : std::nullopt;
    const auto structure = snapshot ? parseStructure(*snapshot) : std::nullopt;
    if (!structure) {
        return false;
    }
    working_ = *structure;
    select(working_.tree.empty() ? std::nullopt : std::optional<std::size_t>(0));
    return true;
}

bool StructureEditor::exportFile() {
    return exportStructureAsked(serializeStructure(working_), prompter_);
}

bool StructureEditor::commit() {
    if (working_.tree.empty()) {
        prompter_.message("分部分项结构不能为空！", Captions::kWarning, MessageFlags::kWarning);
        return false;
    }
    for (DivisionItem& node : working_.tree) {
        if (node.level > 1) {
            node.state = 0;  // stored collapsed below the divisions
        }
    }
    document_.structure = serializeStructure(working_);
    document_.modified = true;
    return true;
}

// ---- the links page ----

void StructureEditor::freshLinkGrids() {
    currentProcess_ = makeLinkTable();
    defaultProcess_ = makeLinkTable();
    greyDefaultProcess();
}

void StructureEditor::greyDefaultProcess() {
    Grid& g = defaultProcess_;
    for (int r = 1; r < g.rowCount(); ++r) {
        setTick(g, r, false);
    }
    g.setBackground({1, 0, g.rowCount() - 1, kCount - 1}, kReadOnlyGrey);
}

void StructureEditor::loadLinks() {
    freshLinkGrids();
    if (!owner_) {
        return;
    }
    const ItemRow& row = working_.items[*owner_];
    if (row.currentProcess.empty() || !currentProcess_.load(row.currentProcess)) {
        return;
    }
    bool cleared = false;
    for (int r = 1; r < currentProcess_.rowCount(); ++r) {
        const MaterialLink link = readLink(currentProcess_, r);
        if (link.linked && !validateLink(link, document_.catalogue)) {
            setTick(currentProcess_, r, false);
            cleared = true;
        }
    }
    if (!row.defaultProcess.empty() && defaultProcess_.load(row.defaultProcess)) {
        greyDefaultProcess();
    }
    if (cleared) {
        storeLinks();
    }
}

void StructureEditor::storeLinks() {
    if (owner_) {
        working_.items[*owner_].currentProcess = currentProcess_.save();
    }
}

bool StructureEditor::activate(std::size_t node) {
    if (node >= working_.tree.size()) {
        return false;
    }
    if (current_ != node) {
        select(node);
    }
    return owner_.has_value();
}

void StructureEditor::linkCellEdited(int row, int column) {
    Grid& g = currentProcess_;
    const MaterialLink link = readLink(g, row);
    const MaterialEntry* entry = document_.catalogue.byId(link.materialId);
    const bool inRange = entry != nullptr && !entry->removed;
    switch (column) {
        case kLinked:
            if (!link.linked) {
                break;  // clearing a tick needs no check
            }
            if (isBlank(g.text(row, kMaterialId))) {
                prompter_.message(kWrongPlace, Captions::kWarning, MessageFlags::kWarning);
                setTick(g, row, false);
            } else if (!inRange) {
                prompter_.message(kWrongPlace, "警告", MessageFlags::kWarning);
                setTick(g, row, false);
            } else if (trimSpaces(link.materialName) != entry->name) {
                const Answer answer = prompter_.message(
                    "与之关联的材料已经更新为：" + entry->name + "，是否与此关联？",
                    Captions::kQuestion, MessageFlags::kYesNo);
                if (answer == Answer::Yes) {
                    g.setText(row, kName, entry->name);
                } else {
                    setTick(g, row, false);
                }
            }
            break;
        case kName:
            if (!link.linked) {
                break;  // a name without a link is free text
            }
            if (!inRange) {
                prompter_.message(kWrongPlace, "警告", MessageFlags::kWarning);
                setTick(g, row, false);
            } else if (trimSpaces(link.materialName) != entry->name) {
                const Answer answer =
                    prompter_.message("原关联材料为：" + entry->name + "\r\n你确定要更改吗？",
                                      Captions::kQuestion, MessageFlags::kYesNo);
                if (answer == Answer::Yes) {
                    setTick(g, row, false);
                } else {
                    g.setText(row, kName, entry->name);
                }
            }
            break;
        case kUsage:
            g.setText(row, kUsage, formatNumber(std::fabs(link.unitUsage)));
            break;
        case kUnit:
            if (isBlank(link.unit)) {
                setTick(g, row, false);
            }
            break;
        default:
            break;
    }
    storeLinks();
}

void StructureEditor::deleteInLinkCell(int row, int column) {
    if (row >= 1 && (column == kName || column == kUnit)) {
        setTick(currentProcess_, row, false);
        storeLinks();
    }
}

void StructureEditor::appendLinkRow() {
    Grid& g = currentProcess_;
    g.appendRows(1);
    g.setText(g.rowCount() - 1, kNumber, std::to_string(g.rowCount() - 1));
    storeLinks();
}

void StructureEditor::deleteLinkRow(int row) {
    Grid& g = currentProcess_;
    if (row < 1 || row >= g.rowCount()) {
        return;
    }
    g.deleteRows(row);
    for (int r = row; r < g.rowCount(); ++r) {
        g.setText(r, kNumber, std::to_string(r));
    }
    storeLinks();
}

bool StructureEditor::linkMaterial(int row, std::int32_t id) {
    const MaterialEntry* entry = document_.catalogue.byId(id);
    if (!owner_ || entry == nullptr || entry->removed || entry->name.empty() || row < 1 ||
        row >= currentProcess_.rowCount()) {
        return false;
    }
    Grid& g = currentProcess_;
    g.setText(row, kName, entry->name);
    g.setText(row, kUnit, entry->unit);
    g.setText(row, kMaterialId, std::to_string(id));
    setTick(g, row, true);
    storeLinks();
    return true;
}

std::optional<int> StructureEditor::materialRowOfLink(int row) const {
    const MaterialLink link = readLink(currentProcess_, row);
    const MaterialEntry* entry = document_.catalogue.byId(link.materialId);
    if (!link.linked || entry == nullptr || entry->removed) {
        return std::nullopt;
    }
    const std::string& category = document_.catalogue.category(link.materialId / 1000)->name;
    const Grid& m = document_.materials;
    for (int r = 1; r < m.rowCount(); ++r) {
        if (m.text(r, MaterialColumn::kCategory) == category &&
            m.text(r, MaterialColumn::kName) == entry->name) {
            return r;
        }
    }
    return std::nullopt;
}

bool StructureEditor::saveDefaultProcess() {
    if (!owner_ || prompter_.message("确定将当前工艺设置为参考工艺吗？", "",
                                     MessageFlags::kYesNo) != Answer::Yes) {
        return false;
    }
    if (!defaultProcess_.load(currentProcess_.save())) {
        prompter_.message("保存失败，请重新再试！", Captions::kError, MessageFlags::kError);
        return false;
    }
    for (int r = 1; r < defaultProcess_.rowCount(); ++r) {
        defaultProcess_.setText(r, kMaterialId, {});
    }
    greyDefaultProcess();
    working_.items[*owner_].defaultProcess = defaultProcess_.save();
    prompter_.message("保存完毕！", Captions::kInformation, MessageFlags::kInformation);
    return true;
}

bool StructureEditor::applyDefaultProcess() {
    if (!owner_ || prompter_.message("要使用默认工艺替换当前工艺吗？", "", MessageFlags::kYesNo) !=
                       Answer::Yes) {
        return false;
    }
    const std::string& stored = working_.items[*owner_].defaultProcess;
    Grid replacement = makeLinkTable();
    if (!stored.empty() && replacement.load(stored)) {
        for (int r = 1; r < replacement.rowCount(); ++r) {
            setTick(replacement, r, false);
        }
        replacement.setBackground({1, 0, replacement.rowCount() - 1, kCount - 1}, std::nullopt);
    }
    currentProcess_ = std::move(replacement);
    storeLinks();
    return true;
}

}  // namespace tf

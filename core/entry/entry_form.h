#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/base/prompter.h"
#include "core/grid/cell_block.h"
#include "core/grid/grid.h"
#include "core/grid/paste_report.h"
#include "core/project/project_document.h"
#include "core/structure/default_structure.h"

namespace tf {

// Columns of 录入表, the entry rows of one location. Row 0 is the heading.
namespace EntryColumn {
inline constexpr int kNumber = 0;            // 序号
inline constexpr int kCode = 1;              // 分项代号, from the work-item picker
inline constexpr int kItemSize = 2;          // 分项尺寸
inline constexpr int kWorkQuantity = 3;      // 工程数量
inline constexpr int kMaterialName = 4;      // 使用材料名称, from the material picker
inline constexpr int kMaterialQuantity = 5;  // 材料数量
inline constexpr int kUnit = 6;              // 材料单位
inline constexpr int kNote = 7;              // 说明
inline constexpr int kMaterialId = 8;        // hidden
inline constexpr int kUnitUsage = 9;         // hidden
inline constexpr int kCount = 10;
}  // namespace EntryColumn

inline constexpr int kFreshEntryRows = 11;  // heading and 10 empty rows

// The data-entry dialog as a model: the three boxes, the entry rows, add and modify mode,
// and every rule from a picked work item to the rows written into 分析表.
class EntryForm {
  public:
    EntryForm(ProjectDocument& document, Prompter& prompter);

    std::string location;        // 部位名称
    std::string drawing;         // 图纸索引
    std::string structureSize;   // 结构尺寸
    bool autoCalculate = false;  // "由分项尺寸直接计算出工程量并自动填写。"
    bool useProcess = false;     // "使用分项工艺。", kept from pick to pick
    // The attachments gathered for the location (its block); a location being modified
    // starts with its own.
    std::string attachments;

    Grid& grid() { return grid_; }
    const Structure& workingStructure() const { return working_; }
    // The location being modified (0-based in the index); nothing in add mode.
    std::optional<int> modifiedLocation() const { return modifying_; }
    // The location a new one goes before ("插入部位"); nothing when it goes after the last.
    std::optional<int> insertingBefore() const { return insertingBefore_; }
    // The dialog's caption, its large heading and its confirm button in the current mode.
    std::string caption() const;
    std::string heading() const;
    std::string confirmCaption() const;

    // Opening: reloads the working item table and clears the form.
    void open();
    // After the structure editor changed the project's structure: the pickers and the work
    // items' processes follow it; the rows typed so far stay.
    void reloadStructure();
    // "清空(&E)": empty boxes, fresh rows, add mode.
    void clear();

    // Whether a cell can be typed into (the picked columns and hidden ones cannot).
    static bool isTypeable(int column);

    // The work-item picker chose node `node` for `row`.
    void pickWorkItem(int row, std::size_t node);
    // The material picker chose material `id` for `row`.
    void pickMaterial(int row, std::int32_t id);
    // After an edit of 分项尺寸, 工程数量 or 材料数量 has been stored in the grid.
    void commitEdit(int row, int column);
    void propagateQuantity(int row);
    // "设置单位用量(本窗口有效)" and "查看材料单位用量".
    void setUnitUsage(int row);
    void showUnitUsage(int row);
    // Ctrl+V of a block with its top left cell at `at`: every cell through its column's rules,
    // as if typed or picked. 分项代号 takes a work item's code (without its process: the
    // block brings its own rows), 使用材料名称 a material of 材料表 with its unit; sizes,
    // quantities and notes go in as typed, a blank quantity leaves the one its size gave.
    // 序号 and 材料单位 take nothing: numbers and the material's own unit copied along are
    // passed over, anything else refused. Rows beyond the last are added. What each cell
    // came to is in the report.
    PasteReport paste(CellPos at, const CellBlock& block);
    // Ins adds an empty formatted row below `row`; "删除行" removes `row`.
    void addRow(int below);
    void deleteRow(int row);

    // "插入部位": an empty form whose location, once confirmed, goes before location k
    // (0-based) and numbers k and those below it on by one. No such location: add mode.
    void beginInsert(int k);
    // The modify command: fills the form from location k's analysis rows.
    void beginModify(int k);
    // Writes the complete rows into 分析表 as one location; false when nothing was written.
    // Rows that hold something but are incomplete are named and the user decides whether
    // the rest goes in without them.
    bool confirm(const std::function<void()>& showAnalysisPage = {});

  private:
    void applyItemProcess(int row, std::size_t node, const std::string& code);
    void formatRow(int row);
    // 序号 of the rows from `from` down.
    void renumber(int from = 1);
    double number(int row, int column) const;
    void setNumber(int row, int column, double value);
    // One pasted cell; returns why it was refused, or nothing.
    std::optional<std::string> pasteCell(int row, int column, const std::string& text);

    ProjectDocument& document_;
    // Passes everything on to the user, but keeps what a paste's cells are told for its report.
    GatheringPrompter prompter_;
    Grid grid_;
    Structure working_;
    std::optional<int> modifying_;
    std::optional<int> insertingBefore_;
};

// 结构尺寸 and 分项尺寸 as typed: every "*", and an "x" or "X" between two factors (a number or
// a bracket), shows as "×" (and is evaluated as "*").
std::string withTimesSigns(std::string_view text);

}  // namespace tf

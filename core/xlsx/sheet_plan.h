#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/charts/bar_chart.h"
#include "core/grid/grid.h"

namespace tf {

// A column whose cells in rows firstRow..lastRow hold the sum of other columns of the same row:
// a total the program writes as a value, which a grid does not record as a rule.
struct RowTotal {
    int column = 0;
    std::vector<int> parts;
    int firstRow = 0;
    int lastRow = -1;
};

// A number the sheet computes from cells of its own or of another sheet of the workbook, and
// the value the program computed for it.
struct LinkedCell {
    std::string formula;  // "='材料表'!F5"
    double value = 0;
};

// What a cell of a column the sheet adds after the grid's own holds.
struct AddedCell {
    std::optional<LinkedCell> formula;
    std::string text;  // when there is no formula; blank when empty
};

// A column written after the grid's own: its heading in the first row, its cells in the rows
// below the headings, looking like the grid's cells of `lookColumn` in the same row.
struct AddedColumn {
    std::string heading;
    int lookColumn = 0;
    std::function<AddedCell(int row)> cell;
};

// A row written after the last one, summing columns over the rows below the headings.
struct GrandTotal {
    int labelColumn = 0;
    std::string label;
    std::vector<int> columns;
};

// A table to become one sheet of a workbook.
struct SheetSource {
    std::string name;
    const Grid* grid = nullptr;
    std::vector<RowTotal> rowTotals;
    // Text columns of running numbers (序号): their whole numbers go out as numbers, so that
    // a spreadsheet sorts and sums them.
    std::vector<int> numberedColumns = {};
    // Number cells that refer to other cells instead of holding their value: a price to its
    // row of 材料表, a quantity to the rows of 分析表 it sums. Nothing leaves the value.
    std::function<std::optional<LinkedCell>(int row, int gridColumn)> linked = {};
    std::vector<AddedColumn> addedColumns = {};
    // The last row written (-1: every row): the rows after it hold nothing but their 序号.
    int lastRow = -1;
    std::optional<GrandTotal> grandTotal = std::nullopt;
    // A chart of the table's own cells (its spans are grid rows and columns).
    std::optional<BarChart> chart = std::nullopt;
    // What the grid and the functions above refer to, kept while the source lives.
    std::shared_ptr<const void> owner = nullptr;
};

// How a sheet cell looks: the grid's style made complete, the column's decimals as a number
// format (-1: general) and the grid lines as borders.
struct SheetFormat {
    std::string fontName;
    int fontSize = 0;
    bool bold = false;
    bool wrap = false;
    Rgb foreground;
    std::optional<Rgb> background;
    Align align = Align::Left;
    int decimals = -1;
    Rgb border;
    friend bool operator==(const SheetFormat&, const SheetFormat&) = default;
};

inline constexpr std::string_view kSheetFont = "宋体";
inline constexpr int kSheetFontSize = 10;

enum class SheetCellKind : std::uint8_t { Blank, Text, Number, Formula };

struct SheetCell {
    SheetCellKind kind = SheetCellKind::Blank;
    std::string text;  // a text, or a formula such as "=D3*F3"
    double value = 0;  // a number, or a formula's result as the program computed it
    int format = 0;    // into SheetPlan::formats(); kUnwritten for no cell at all
};
inline constexpr int kUnwritten = -1;

// "A", "B", … "Z", "AA", … for a sheet column counted from 0.
std::string sheetColumnName(int column);
// "'统计表'!$L$2:$L$17": a column's rows first…last of the sheet named, for another sheet or
// a chart to refer to.
std::string sheetRange(std::string_view sheet, int column, int firstRow, int lastRow);

// A text as a sheet's name: at most 31 characters, none of []:*?/\ (each becomes '_'), no
// apostrophe at either end; `fallback` when nothing is left.
std::string sheetNameFrom(std::string_view text, std::string_view fallback);

// What a grid becomes as a sheet: hidden columns left out; texts of number columns that are
// numbers become numbers at the cell's full precision; the values the program computes (a
// column's products, range sums, row totals) become formulas over the sheet's own cells, with
// the program's result kept as the cached value; merges, frozen heading rows and columns,
// widths and looks carried over. Rows keep their numbers. A chart's figures stand in a block
// right of the table, after a column left empty: its title over the bars' labels, each
// series' name over its figures, a row a bar; each figure a formula adding up the table's
// cells, so that a price changed in the workbook moves the bars.
class SheetPlan {
  public:
    explicit SheetPlan(SheetSource source);

    const std::string& name() const { return name_; }
    int rowCount() const;
    int columnCount() const;
    // The table's own, without a chart's block.
    int tableRowCount() const { return rows_ + (source_.grandTotal ? 1 : 0); }
    int tableColumnCount() const {
        return static_cast<int>(columns_.size() + source_.addedColumns.size());
    }
    // The chart and the block's column of labels (its series follow); nothing without bars.
    const BarChart* chart() const;
    int chartColumn() const { return chartColumn_; }
    // The grid column a sheet column shows; an added column shows the one it looks like.
    int gridColumn(int sheetColumn) const;
    // The sheet column ("F") a grid column is written in; nothing when it is hidden.
    std::optional<std::string> sheetColumnNameOf(int gridColumn) const;
    int columnPixels(int sheetColumn) const;
    int rowPixels() const { return grid_.rowHeight(); }
    int frozenRows() const { return grid_.fixedRows(); }
    int frozenColumns() const { return frozenColumns_; }
    // In sheet columns, sorted by their bottom row.
    const std::vector<CellRange>& merges() const { return merges_; }

    // The cell as the sheet holds it (kUnwritten: none); formats met for the first time join
    // formats().
    SheetCell cell(int row, int sheetColumn);
    const std::vector<SheetFormat>& formats() const { return formats_; }

  private:
    std::optional<int> sheetColumnOf(int gridColumn) const;
    SheetCell addedCell(int row, const AddedColumn& column);
    SheetCell totalCell(int sheetColumn);
    SheetCell chartCell(int row, int sheetColumn);
    // "=SUM(G3:G9,G12)" over the spans' cells; nothing when one is not written.
    std::optional<std::string> sumFormula(const std::vector<GridSpan>& spans) const;
    // A grid merge in sheet columns; nothing when at most one of its cells shows.
    std::optional<CellRange> sheetMerge(const CellRange& merge) const;
    std::optional<std::string> formula(int row, int gridColumn) const;
    int formatOf(int row, int gridColumn, bool numeric);
    // The format `id` made plain: no background, aligned as asked.
    int plainFormat(int id, Align align);
    // The format's place in formats(), where it joins them when it is new.
    int formatId(SheetFormat format);

    SheetSource source_;  // read as the sheet is written
    const Grid& grid_;
    std::string name_;
    int rows_ = 0;  // of the grid's, written
    std::vector<RowTotal> rowTotals_;
    std::vector<int> columns_;       // sheet column -> grid column
    std::vector<int> sheetColumns_;  // grid column -> sheet column, -1 when hidden
    int frozenColumns_ = 0;
    std::vector<CellRange> merges_;
    std::unordered_map<std::uint64_t, const RangeSum*> sums_;  // (row, grid column)
    std::vector<int> numberedColumns_;
    int chartColumn_ = -1;
    int chartLook_ = 0;  // the grid column whose figures the chart adds up
    std::unordered_map<std::uint64_t, int> formatIds_;  // (style, grid column, numeric)
    std::vector<SheetFormat> formats_;
};

}  // namespace tf

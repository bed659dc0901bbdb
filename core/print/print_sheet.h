#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/base/prompter.h"
#include "core/charts/bar_chart.h"
#include "core/grid/grid.h"
#include "core/shell/column_widths.h"

namespace tf {

// The table a print sheet was copied from; it decides the default title.
enum class PrintSource { Analysis, Statistics, Materials, Other };

struct HiddenColumn {
    int column = 0;
    std::int32_t width = 0;  // before it was hidden
    friend bool operator==(const HiddenColumn&, const HiddenColumn&) = default;
};

inline constexpr std::string_view kDefaultTitleFont = "宋体";

// The print editor's sheet: an editable copy of a table with the title settings. Nothing
// done to it reaches the project.
struct PrintSheet {
    Grid grid;
    int firstDataRow = 1;
    std::vector<HiddenColumn> hidden;  // one entry per 隐藏列, in order
    bool printTitle = true;            // "打印表头："
    std::string title;
    std::string fontName{kDefaultTitleFont};
    std::string fontSize = "20";
    PrintSource source = PrintSource::Other;
    bool itemSummary = false;  // copied from 分统计表
    // The chart of the statistics the sheet was copied from, printed on a page of its own
    // after the sheet when asked; a print file keeps neither.
    std::optional<BarChart> chart;
    bool printChart = false;
};

// The sheets the editor opens with, copies of the tables; the backgrounds from the first data
// row and column 1 on are cleared.
// Columns are as wide as the table's own layout makes them, with the widths the user gave
// the table's columns on screen over them: not as wide as the window happens to be, so that
// the window and the command line print a table alike.
PrintSheet analysisSheet(const Grid& analysis, const ColumnWidths& userWidths);
PrintSheet statisticsSheet(const Grid& shown, std::string_view viewTitle, bool itemSummary,
                           const ColumnWidths& userWidths);
PrintSheet materialSheet(const Grid& materials, const ColumnWidths& userWidths);
PrintSheet emptySheet();

// The title line as printed: the box's text, or the table's own title when it is blank; the
// font box; the size box read as a whole number (20 when it is not a positive number, at most
// 144). Without "打印表头：" no title, 宋体 20.
struct SheetTitle {
    std::string text;
    std::string fontName;
    int fontSize = 20;
    friend bool operator==(const SheetTitle&, const SheetTitle&) = default;
};
SheetTitle sheetTitle(const PrintSheet& sheet);

// "打印表头：" ticked or not; unticking sets 宋体 and 28.
void tickPrintTitle(PrintSheet& sheet, bool ticked);

// The editing menu opens only over a shown column.
bool sheetMenuOpens(const PrintSheet& sheet);

// The editing menu. Rows and columns act at the grid's cursor, ranges on its selection; an
// inserted row or column takes the cursor.
// Hidden-column entries follow their columns when columns are inserted or deleted before
// them, so 显示所有列 restores the columns that were hidden.
void appendSheetRow(PrintSheet& sheet);
void appendSheetColumn(PrintSheet& sheet);
void insertSheetRow(PrintSheet& sheet);
void insertSheetColumn(PrintSheet& sheet);
void deleteSheetRow(PrintSheet& sheet);
void deleteSheetColumn(PrintSheet& sheet);
// A column beyond 255 cannot be listed in a print file: it is refused with a message.
void hideSheetColumn(PrintSheet& sheet, Prompter& prompter);
void showAllSheetColumns(PrintSheet& sheet);
void mergeSheetCells(PrintSheet& sheet);
void splitSheetCell(PrintSheet& sheet);
void wrapSheetCells(PrintSheet& sheet, bool wrap);
void editColumnHeading(PrintSheet& sheet, Prompter& prompter);
void editRowHeading(PrintSheet& sheet, Prompter& prompter);
void editDecimals(PrintSheet& sheet, Prompter& prompter);

// "单元格属性": what the dialog shows for a range (from its top-left cell) and applies to it.
struct CellProperties {
    Rgb background{255, 255, 255};
    Rgb foreground{0, 0, 0};
    std::string fontName;
    std::string fontSize;  // the size box's text
    Align align = Align::Left;
    Rgb gridLine = Grid::kDefaultGridLineColor;
    friend bool operator==(const CellProperties&, const CellProperties&) = default;
};
CellProperties cellProperties(const PrintSheet& sheet, const CellRange& range);
void applyCellProperties(PrintSheet& sheet, const CellRange& range, const CellProperties& p);
// "起始位置：3行  2列" and "终止位置：5行  4列".
std::string rangeStartLabel(const CellRange& range);
std::string rangeEndLabel(const CellRange& range);

}  // namespace tf

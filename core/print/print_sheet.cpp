#include "core/print/print_sheet.h"

#include <algorithm>
#include <cmath>

#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/grid/grid_display.h"
#include "core/project/column_layout.h"

namespace tf {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr int kHighestListedColumn = 255;  // a hidden-column entry stores it in one byte
constexpr int kLargestTitleSize = 144;
constexpr int kMostDecimals = 10;

PrintSheet copiedSheet(const Grid& source, int firstDataRow) {
    PrintSheet sheet;
    sheet.firstDataRow = firstDataRow;
    sheet.grid = source;  // shares the table's loaded rows: no second copy of its texts
    return sheet;
}

void clearBackgrounds(PrintSheet& sheet) {
    Grid& g = sheet.grid;
    g.setBackground({sheet.firstDataRow, 1, g.rowCount() - 1, g.columnCount() - 1}, std::nullopt);
    g.setCursor(sheet.firstDataRow, 1);
}

void whiteRowHeading(Grid& g, int row) {
    g.setBackground({row, 0, row, 0}, kWhite);
}

bool validColumn(const Grid& g, int column) {
    return column >= 0 && column < g.columnCount();
}
bool validRow(const Grid& g, int row) {
    return row >= 0 && row < g.rowCount();
}

// The heading a row or column edit starts from, and the box's answer written back.
// The text and look of a cell onto another: what a merge shows when its first row or column
// is deleted.
void carryCell(Grid& g, CellPos from, CellPos to) {
    const CellRange target{to.row, to.column, to.row, to.column};
    const CellStyle style = g.style(from.row, from.column);
    g.setText(to.row, to.column, std::string(g.text(from.row, from.column)));
    g.setBackground(target, style.background);
    g.setForeground(target, style.foreground);
    g.setFont(target, style.fontName, style.fontSize);
    g.setBold(target, style.bold);
    g.setWrap(target, style.wrap);
    g.setAlign(target, style.align);
}

void editHeading(PrintSheet& sheet, Prompter& prompter, bool column) {
    Grid& g = sheet.grid;
    const CellPos at = g.cursor();
    if (!validRow(g, at.row) || !validColumn(g, at.column)) {
        return;
    }
    const int row = column ? 0 : at.row;
    const int col = column ? at.column : 0;
    const std::string current(g.text(row, col));
    const std::string prompt = std::string(column ? "当前列号：" : "当前行号：") +
                               std::to_string(column ? at.column : at.row) + "\r\n列标题：" +
                               current;
    if (const auto answer = prompter.input(prompt, "置列标题", current)) {
        g.setText(row, col, *answer);
    }
}

}  // namespace

PrintSheet analysisSheet(const Grid& analysis, const ColumnWidths& userWidths) {
    PrintSheet sheet = copiedSheet(analysis, 2);
    sheet.source = PrintSource::Analysis;
    sheet.title = "材料分析表";
    Grid& g = sheet.grid;
    layoutAnalysisColumns(g, 0);
    applyColumnWidths(g, userWidths);
    g.split({0, 0, 0, 0});  // 序号 over both heading rows
    if (g.columnCount() > 11) {
        g.deleteColumns(11, std::min(3, g.columnCount() - 11));
    }
    clearBackgrounds(sheet);
    return sheet;
}

PrintSheet statisticsSheet(const Grid& shown, std::string_view viewTitle, bool itemSummary,
                           const ColumnWidths& userWidths) {
    PrintSheet sheet = copiedSheet(shown, 1);
    applyColumnWidths(sheet.grid, userWidths);
    sheet.source = PrintSource::Statistics;
    sheet.itemSummary = itemSummary;
    sheet.title = std::string(viewTitle);
    clearBackgrounds(sheet);
    return sheet;
}

PrintSheet materialSheet(const Grid& materials, const ColumnWidths& userWidths) {
    PrintSheet sheet = copiedSheet(materials, 1);
    layoutMaterialColumns(sheet.grid, 0);
    applyColumnWidths(sheet.grid, userWidths);
    sheet.source = PrintSource::Materials;
    sheet.title = "材料清单";
    if (sheet.grid.columnCount() > 7) {
        sheet.grid.deleteColumns(7);  // the hidden materialId
    }
    clearBackgrounds(sheet);
    return sheet;
}

PrintSheet emptySheet() {
    PrintSheet sheet;
    Grid& g = sheet.grid;
    g = Grid(61, 16);
    g.setFixedRows(1);
    g.setFixedColumns(1);
    for (int r = 1; r < 61; ++r) {
        g.setText(r, 0, std::to_string(r));
    }
    for (int c = 1; c < 16; ++c) {
        g.setText(0, c, std::to_string(c));
    }
    g.setColumnWidth(0, 40);
    g.setAlign({0, 0, 0, 15}, Align::Center);
    g.setAlign({0, 0, 60, 0}, Align::Center);
    g.setBackground({1, 0, 60, 0}, kWhite);
    g.setCursor(1, 1);
    return sheet;
}

SheetTitle sheetTitle(const PrintSheet& sheet) {
    if (!sheet.printTitle) {
        return {"", std::string(kDefaultTitleFont), 20};
    }
    SheetTitle t{sheet.title, sheet.fontName, 20};
    if (isBlank(t.text)) {
        switch (sheet.source) {
            case PrintSource::Analysis:
                t.text = "工程量分析表";
                break;
            case PrintSource::Statistics:
                t.text = sheet.itemSummary ? "分项工程量统计表" : "工程量统计表";
                break;
            case PrintSource::Materials:
                t.text = "材料清单";
                break;
            case PrintSource::Other:
                break;
        }
    }
    if (isPlainNumber(sheet.fontSize)) {
        const long size = std::lround(parseNumber(sheet.fontSize));
        if (size > 0) {
            t.fontSize = static_cast<int>(std::min<long>(size, kLargestTitleSize));
        }
    }
    return t;
}

void tickPrintTitle(PrintSheet& sheet, bool ticked) {
    sheet.printTitle = ticked;
    if (!ticked) {
        sheet.fontName = std::string(kDefaultTitleFont);
        sheet.fontSize = "28";
    }
}

bool sheetMenuOpens(const PrintSheet& sheet) {
    const int c = sheet.grid.cursor().column;
    return validColumn(sheet.grid, c) && sheet.grid.column(c).width > 0;
}

void appendSheetRow(PrintSheet& sheet) {
    sheet.grid.appendRows(1);
    whiteRowHeading(sheet.grid, sheet.grid.rowCount() - 1);
}

void appendSheetColumn(PrintSheet& sheet) {
    sheet.grid.insertColumns(sheet.grid.columnCount());
}

void insertSheetRow(PrintSheet& sheet) {
    Grid& g = sheet.grid;
    const int row = g.cursor().row;
    if (!validRow(g, row)) {
        return;
    }
    g.insertRows(row);
    whiteRowHeading(g, row);
    g.setCursor(row, g.cursor().column);  // on the new row, ready to be filled
}

void insertSheetColumn(PrintSheet& sheet) {
    Grid& g = sheet.grid;
    const int column = g.cursor().column;
    if (!validColumn(g, column)) {
        return;
    }
    g.insertColumns(column);
    g.setCursor(g.cursor().row, column);  // on the new column, ready to be filled
    for (HiddenColumn& h : sheet.hidden) {
        if (h.column >= column) {
            ++h.column;
        }
    }
}

void deleteSheetRow(PrintSheet& sheet) {
    Grid& g = sheet.grid;
    const int row = g.cursor().row;
    if (!validRow(g, row) || row < g.fixedRows()) {
        return;
    }
    // A merge shows its first cell: when that row goes, the next row's cell takes its place.
    for (const CellRange& m : std::vector<CellRange>(g.merges())) {
        if (m.top == row && m.bottom > row) {
            carryCell(g, {row, m.left}, {row + 1, m.left});
        }
    }
    g.deleteRows(row);
}

void deleteSheetColumn(PrintSheet& sheet) {
    Grid& g = sheet.grid;
    const int column = g.cursor().column;
    if (!validColumn(g, column)) {
        return;
    }
    const auto own = std::find_if(sheet.hidden.begin(), sheet.hidden.end(),
                                  [&](const HiddenColumn& h) { return h.column == column; });
    if (own != sheet.hidden.end()) {
        sheet.hidden.erase(own);
    }
    for (HiddenColumn& h : sheet.hidden) {
        if (h.column > column) {
            --h.column;
        }
    }
    for (const CellRange& m : std::vector<CellRange>(g.merges())) {
        if (m.left == column && m.right > column) {
            carryCell(g, {m.top, column}, {m.top, column + 1});
        }
    }
    g.deleteColumns(column);
}

void hideSheetColumn(PrintSheet& sheet, Prompter& prompter) {
    Grid& g = sheet.grid;
    const int column = g.cursor().column;
    if (!validColumn(g, column)) {
        return;
    }
    if (column > kHighestListedColumn) {
        prompter.message(
            "第 " + std::to_string(column) + " 列不能隐藏：打印文件只能记下第 255 列以内的隐藏列。",
            Captions::kWarning, MessageFlags::kWarning);
        return;
    }
    sheet.hidden.push_back({column, g.column(column).width});
    g.setColumnWidth(column, 0);
}

void showAllSheetColumns(PrintSheet& sheet) {
    for (const HiddenColumn& h : sheet.hidden) {
        if (validColumn(sheet.grid, h.column)) {
            sheet.grid.setColumnWidth(h.column, h.width);
        }
    }
    sheet.hidden.clear();
}

void mergeSheetCells(PrintSheet& sheet) {
    sheet.grid.merge(sheet.grid.selection());
}

void splitSheetCell(PrintSheet& sheet) {
    const CellPos at = sheet.grid.cursor();
    sheet.grid.split({at.row, at.column, at.row, at.column});
}

void wrapSheetCells(PrintSheet& sheet, bool wrap) {
    sheet.grid.setWrap(sheet.grid.selection(), wrap);
}

void editColumnHeading(PrintSheet& sheet, Prompter& prompter) {
    editHeading(sheet, prompter, true);
}

void editRowHeading(PrintSheet& sheet, Prompter& prompter) {
    editHeading(sheet, prompter, false);
}

void editDecimals(PrintSheet& sheet, Prompter& prompter) {
    Grid& g = sheet.grid;
    const int column = g.cursor().column;
    if (!validColumn(g, column)) {
        return;
    }
    const auto answer = prompter.input("该列数字需要保留到小数点后几位？", "小数点位数", "3");
    if (!answer || !isPlainNumber(*answer) || parseNumber(*answer) < 0) {
        return;  // no count of places: the column stays as it is
    }
    const long decimals = std::lround(parseNumber(*answer));
    g.setColumnKind(column, ColumnKind::Number,
                    static_cast<int>(std::min<long>(decimals, kMostDecimals)));
}

CellProperties cellProperties(const PrintSheet& sheet, const CellRange& range) {
    const Grid& g = sheet.grid;
    const CellRange r = range.normalized();
    const CellStyle& style = g.style(r.top, r.left);
    CellProperties p;
    p.background = style.background.value_or(kWhite);
    p.foreground = style.foreground.value_or(kBlack);
    p.fontName = style.fontName.empty() ? std::string(kDefaultTitleFont) : style.fontName;
    p.fontSize = std::to_string(style.fontSize > 0 ? style.fontSize : 9);
    p.align = effectiveAlign(g, r.top, r.left);
    p.gridLine = g.gridLineColor();
    return p;
}

void applyCellProperties(PrintSheet& sheet, const CellRange& range, const CellProperties& p) {
    Grid& g = sheet.grid;
    g.setBackground(range, p.background);
    g.setForeground(range, p.foreground);
    const long size = isPlainNumber(p.fontSize) ? std::lround(parseNumber(p.fontSize)) : 0;
    g.setFont(range, p.fontName, static_cast<int>(std::clamp<long>(size, 0, kLargestTitleSize)));
    g.setAlign(range, p.align);
    g.setGridLineColor(p.gridLine);
}

std::string rangeStartLabel(const CellRange& range) {
    const CellRange r = range.normalized();
    return "起始位置：" + std::to_string(r.top) + "行  " + std::to_string(r.left) + "列";
}

std::string rangeEndLabel(const CellRange& range) {
    const CellRange r = range.normalized();
    return "终止位置：" + std::to_string(r.bottom) + "行  " + std::to_string(r.right) + "列";
}

}  // namespace tf

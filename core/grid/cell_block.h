#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/grid/grid.h"

namespace tf {

// A block of cells as spreadsheets put it on the clipboard: cells separated by TAB, rows by
// line ends; a cell holding a TAB, a line end or a quote is quoted ("…", quotes doubled).
struct CellBlock {
    std::vector<std::vector<std::string>> rows;

    bool singleCell() const { return rows.size() == 1 && rows.front().size() == 1; }
};

// The most a pasted block may hold: far beyond any sheet a surveyor copies, and small
// enough that whatever the clipboard holds cannot exhaust memory.
inline constexpr std::size_t kMostBlockRows = 100'000;
inline constexpr std::size_t kMostBlockCells = 1'000'000;
inline constexpr std::size_t kLongestBlockCell = 1000;  // characters; longer cells are cut
inline constexpr std::string_view kBlockTooLarge =
    "剪贴板中的内容超过100000行或1000000个单元格，不能粘贴！";

// The cells of `range` as text, the columns the user sees only (hidden ones are working
// columns). The stored texts go out, so numbers keep every digit.
std::string blockText(const Grid& grid, const CellRange& range);

// Reads clipboard text; a line end after the last row makes no empty row. Nothing when the
// text holds more than the limits allow.
std::optional<CellBlock> parseCellBlock(std::string_view text);

// The columns a block pasted at `from` fills, one per block column: the shown columns from
// `from` on (hidden ones are passed over). Fewer when the grid ends first.
std::vector<int> pasteColumns(const Grid& grid, int from, std::size_t count);

}  // namespace tf

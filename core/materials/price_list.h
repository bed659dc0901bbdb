#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/xlsx/workbook_reader.h"

namespace tf {

// A material as a price list gives it: 类别, 材料名称, 最小规格, 单位, 单价, 说明.
using MaterialFields = std::array<std::string, 6>;

// A line of a price list (a sheet's row number for a workbook) and what it holds.
struct PriceLine {
    int line = 0;
    MaterialFields fields;
};

inline constexpr std::string_view kBlankLine = "空行";

// A line that was not imported, and why ("单价不是数字（“面议”）").
struct SkippedLine {
    int line = 0;
    std::string reason;
    friend bool operator==(const SkippedLine&, const SkippedLine&) = default;
};

// What a price list file holds: its usable materials in file order and the lines left out.
// A material is usable with a category and a name that are not blank and a price that is
// empty or a plain number not below zero: the price the table shows is the price it counts.
struct PriceList {
    std::vector<PriceLine> materials;
    std::vector<SkippedLine> skipped;
    // Why the file could not be read at all; empty when it was.
    std::string failure;
};

// The material text file: one material per line, fields separated by TAB, 5 or 6 of them;
// GBK with CR LF, LF-only lines and UTF-8 with a byte-order mark read too. Read line by line,
// so the file's size alone never costs more than the file.
PriceList parsePriceList(std::string_view bytes);

// The first sheet of a workbook: the six columns in that order, a first row starting with
// "类别" taken for headings (or with "序号", "类别": 材料表 as exported, the columns one to the
// right); columns past 说明 (a supplier's own) are not read. Rows come as readFirstSheet gives
// them, with one column more than a price list has.
PriceList parsePriceSheet(const std::vector<SheetRow>& rows);

// A file the user chose to import: a workbook (by its name or its content), else a material
// text file.
PriceList readPriceList(const std::string& path);

}  // namespace tf

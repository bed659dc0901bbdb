#include "core/stats/project_workbook.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>

#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/materials/material_layout.h"
#include "core/project/analysis_layout.h"
#include "core/stats/analysis_rows.h"
#include "core/stats/item_groups.h"
#include "core/stats/statistics_layout.h"
#include "core/stats/table_sheets.h"
#include "core/structure/default_structure.h"

namespace tf {
namespace {

constexpr std::string_view kAnalysisSheet = "'分析表'!";
constexpr std::string_view kMaterialSheet = "'材料表'!";
constexpr std::string_view kFilteredSheet = "筛选结果统计表";

// The statistics each sheet is taken from, and what the formulas need to know of 分析表:
// for each row the row of 材料表 its material is (-1: none) and its cost, and the rows that
// hold its location and its work item's code.
struct WorkbookData {
    Statistics all;
    Statistics division;
    Statistics filtered;
    std::vector<int> materialRow;
    std::vector<double> cost;
    std::vector<int> locationRow;
    std::vector<int> codeRow;
    // The sums SUMIFS gives, keyed as it compares texts (ASCII letters in either case alike).
    std::unordered_map<std::string, double> quantityByName;
    std::unordered_map<std::string, double> costByCode;
    std::unordered_map<std::string, double> costByPlace;  // location and code
    // The material row of the first row of 分析表 that names a material (under a code).
    std::unordered_map<std::string, int> firstMaterialRow;
    // Columns of the 分析表 sheet, as ranges over its data rows ("$I$3:$I$40").
    std::string quantities, names, costs, locations, codes;
};

std::string sumKey(std::string_view a, std::string_view b = {}) {
    return statisticsKey(asciiLower(a), asciiLower(b));
}

bool sameFigure(double a, double b) {
    return std::abs(a - b) <= 1e-9 * std::max({1.0, std::abs(a), std::abs(b)});
}

// The sheet column a grid column is written in: hidden columns are left out.
int sheetColumnOf(const Grid& grid, int column) {
    int shown = 0;
    for (int c = 0; c < column; ++c) {
        shown += grid.column(c).width > 0 ? 1 : 0;
    }
    return shown;
}

std::string cell(int sheetColumn, int row) {
    return sheetColumnName(sheetColumn) + std::to_string(row + 1);
}

std::string range(int sheetColumn, int firstRow, int lastRow) {
    const std::string column = "$" + sheetColumnName(sheetColumn) + "$";
    return std::string(kAnalysisSheet) + column + std::to_string(firstRow + 1) + ":" + column +
           std::to_string(lastRow + 1);
}

// A SUMIFS criterion that matches the text itself: an equality, its wildcards escaped.
std::string exactly(std::string_view text) {
    std::string criterion = "\"=";
    for (const char c : text) {
        if (c == '*' || c == '?' || c == '~') {
            criterion += '~';
        } else if (c == '"') {
            criterion += '"';
        }
        criterion += c;
    }
    return criterion + "\"";
}

// The added columns of 分析表, after its own shown ones.
enum AddedAnalysisColumn { kRowPrice, kRowCost, kRowLocation, kRowCode, kAddedColumns };

void readAnalysis(const ProjectDocument& document, WorkbookData& data) {
    using namespace AnalysisColumn;
    const Grid& a = document.analysis;
    const Grid& m = document.materials;
    std::unordered_map<std::int32_t, int> rowOfId;
    for (int r = 1; r < m.rowCount(); ++r) {
        const double id = parseNumber(m.text(r, MaterialColumn::kId));
        if (id >= 1 && id < 2147483647.0) {
            rowOfId.emplace(static_cast<std::int32_t>(id), r);
        }
    }
    const auto rows = static_cast<std::size_t>(a.rowCount());
    data.materialRow.assign(rows, -1);
    data.cost.assign(rows, 0);
    data.locationRow.assign(rows, -1);
    data.codeRow.assign(rows, -1);
    int location = -1;
    int code = -1;
    for (int r = kAnalysisHeadingRows; r < a.rowCount(); ++r) {
        const auto i = static_cast<std::size_t>(r);
        if (!isBlank(a.text(r, kNumber))) {
            location = r;
            code = -1;
        }
        if (!isBlank(a.text(r, kItemCode))) {
            code = r;
        }
        data.locationRow[i] = location;
        data.codeRow[i] = code;
        const AnalysisUse use = readAnalysisUse(a, r);
        data.quantityByName[sumKey(use.material)] += use.quantity;
        const auto found = rowOfId.find(use.materialId);
        if (found == rowOfId.end() || code < 0) {
            continue;
        }
        data.materialRow[i] = found->second;
        data.cost[i] = use.quantity * parseNumber(m.text(found->second, MaterialColumn::kPrice));
        const std::string_view codeText = a.text(code, kItemCode);
        data.costByCode[sumKey(codeText)] += data.cost[i];
        data.costByPlace[sumKey(a.text(location, kLocation), codeText)] += data.cost[i];
        data.firstMaterialRow.emplace(statisticsKey(use.material), found->second);
        data.firstMaterialRow.emplace(statisticsKey(codeText, use.material), found->second);
    }
    const int shown = sheetColumnOf(a, a.columnCount());
    const int first = kAnalysisHeadingRows;
    const int last = std::max(first, a.rowCount() - 1);
    data.quantities = range(sheetColumnOf(a, kMaterialQuantity), first, last);
    data.names = range(sheetColumnOf(a, kMaterialName), first, last);
    data.costs = range(shown + kRowCost, first, last);
    data.locations = range(shown + kRowLocation, first, last);
    data.codes = range(shown + kRowCode, first, last);
}

// 分析表 with each row's price (its cell of 材料表), material cost, location and work item.
SheetSource analysisSheet(const ProjectDocument& document, const Statistics& statistics,
                          const std::shared_ptr<const WorkbookData>& data) {
    using namespace AnalysisColumn;
    SheetSource sheet = tableSheet(document, statistics, ExportTable::Analysis);
    sheet.owner = data;
    const Grid& a = document.analysis;
    const Grid& m = document.materials;
    const int shown = sheetColumnOf(a, a.columnCount());
    const int priceColumn = sheetColumnOf(m, MaterialColumn::kPrice);
    const int quantityColumn = sheetColumnOf(a, kMaterialQuantity);
    const auto materialOf = [data](int row) {
        return data->materialRow[static_cast<std::size_t>(row)];
    };
    sheet.addedColumns = {
        {"材料单价", kMaterialQuantity,
         [&m, data, materialOf, priceColumn](int row) {
             const int material = materialOf(row);
             if (material < 0) {
                 return AddedCell{};
             }
             return AddedCell{
                 LinkedCell{"=" + std::string(kMaterialSheet) + cell(priceColumn, material),
                            parseNumber(m.text(material, MaterialColumn::kPrice))},
                 {}};
         }},
        {"材料费", kMaterialQuantity,
         [data, materialOf, shown, quantityColumn](int row) {
             if (materialOf(row) < 0) {
                 return AddedCell{};
             }
             return AddedCell{
                 LinkedCell{"=" + cell(quantityColumn, row) + "*" + cell(shown + kRowPrice, row),
                            data->cost[static_cast<std::size_t>(row)]},
                 {}};
         }},
        {"所属部位", kMaterialName,
         [&a, data, materialOf](int row) {
             const int location = data->locationRow[static_cast<std::size_t>(row)];
             return materialOf(row) < 0 ? AddedCell{}
                                        : AddedCell{{}, std::string(a.text(location, kLocation))};
         }},
        {"所属分项", kMaterialName,
         [&a, data, materialOf](int row) {
             const int code = data->codeRow[static_cast<std::size_t>(row)];
             return materialOf(row) < 0 ? AddedCell{}
                                        : AddedCell{{}, std::string(a.text(code, kItemCode))};
         }},
    };
    return sheet;
}

// A price of a statistics row as its cell of 材料表, when the row's material is found there
// at that price.
std::optional<LinkedCell> priceLink(const ProjectDocument& document, const WorkbookData& data,
                                    const std::string& key, std::string_view shownPrice) {
    const auto found = data.firstMaterialRow.find(key);
    if (found == data.firstMaterialRow.end()) {
        return std::nullopt;
    }
    const Grid& m = document.materials;
    const double price = parseNumber(shownPrice);
    if (!sameFigure(parseNumber(m.text(found->second, MaterialColumn::kPrice)), price)) {
        return std::nullopt;
    }
    return LinkedCell{"=" + std::string(kMaterialSheet) +
                          cell(sheetColumnOf(m, MaterialColumn::kPrice), found->second),
                      price};
}

std::optional<LinkedCell> sumLink(std::string formula, double expected,
                                  const std::unordered_map<std::string, double>& sums,
                                  const std::string& key) {
    const auto found = sums.find(key);
    if (found == sums.end() || !sameFigure(found->second, expected)) {
        return std::nullopt;
    }
    return LinkedCell{std::move(formula), expected};
}

// 统计表 of all materials or of the locations ticked: prices from 材料表 and, of all
// materials, each quantity as the sum of the rows of 分析表 that name the material.
void linkSummary(const ProjectDocument& document, SheetSource& sheet,
                 const std::shared_ptr<const WorkbookData>& data, bool sumsQuantities) {
    const Grid& g = *sheet.grid;
    sheet.linked = [&document, &g, data, sumsQuantities](int row,
                                                         int column) -> std::optional<LinkedCell> {
        using namespace SummaryColumn;
        const std::string_view name = g.text(row, kName);
        if (row < g.fixedRows() || isBlank(name)) {
            return std::nullopt;
        }
        if (column == kPrice) {
            return priceLink(document, *data, statisticsKey(name), g.text(row, kPrice));
        }
        if (column == kQuantity && sumsQuantities) {
            return sumLink(
                "=SUMIFS(" + data->quantities + "," + data->names + "," + exactly(name) + ")",
                parseNumber(g.text(row, kQuantity)), data->quantityByName, sumKey(name));
        }
        return std::nullopt;
    };
}

// 分统计表: a work item's prices from 材料表, a division's material costs as sums of 分析表.
void linkItemSummary(const ProjectDocument& document, SheetSource& sheet,
                     const std::shared_ptr<const WorkbookData>& data, std::string code) {
    const Grid& g = *sheet.grid;
    sheet.linked = [&document, &g, data, code](int row, int column) -> std::optional<LinkedCell> {
        if (row < g.fixedRows()) {
            return std::nullopt;
        }
        if (g.columnCount() == ItemColumn::kCount && column == ItemColumn::kPrice) {
            return priceLink(document, *data, statisticsKey(code, g.text(row, ItemColumn::kName)),
                             g.text(row, column));
        }
        if (g.columnCount() == DivisionColumn::kCount && column == DivisionColumn::kMaterialCost) {
            const std::string_view rowCode = g.text(row, DivisionColumn::kCode);
            return sumLink(
                "=SUMIFS(" + data->costs + "," + data->codes + "," + exactly(rowCode) + ")",
                parseNumber(g.text(row, column)), data->costByCode, sumKey(rowCode));
        }
        return std::nullopt;
    };
}

// 累计统计表: each location's work item's material cost as the sum of its rows of 分析表.
void linkCumulative(SheetSource& sheet, const std::shared_ptr<const WorkbookData>& data) {
    const Grid& g = *sheet.grid;
    // A location is named on the first of its rows.
    auto locationOf = std::make_shared<std::vector<int>>(static_cast<std::size_t>(g.rowCount()));
    int named = -1;
    for (int r = g.fixedRows(); r < g.rowCount(); ++r) {
        if (!isBlank(g.text(r, CumulativeColumn::kLocation))) {
            named = r;
        }
        (*locationOf)[static_cast<std::size_t>(r)] = named;
    }
    sheet.linked = [&g, data, locationOf](int row, int column) -> std::optional<LinkedCell> {
        using namespace CumulativeColumn;
        const int first = row < g.fixedRows() ? -1 : (*locationOf)[static_cast<std::size_t>(row)];
        if (column != kMaterialCost || first < 0) {
            return std::nullopt;
        }
        const std::string_view location = g.text(first, kLocation);
        const std::string_view code = g.text(row, kCode);
        return sumLink("=SUMIFS(" + data->costs + "," + data->locations + "," + exactly(location) +
                           "," + data->codes + "," + exactly(code) + ")",
                       parseNumber(g.text(row, column)), data->costByPlace, sumKey(location, code));
    };
}

void tickEveryLocation(const ProjectDocument& document, Statistics& statistics,
                       Prompter& prompter) {
    rebuildFilterTree(document, statistics, prompter);
    statistics.filter.setEveryTick(true);
    chooseStatisticsView(document, statistics, StatisticsView::Filtered, prompter);
}

}  // namespace

std::vector<SheetSource> projectWorkbookSheets(const ProjectDocument& document,
                                               const Statistics& shown, Prompter& prompter) {
    auto data = std::make_shared<WorkbookData>();
    // The view shown stays as it is: its node, its ticks. The other views come from a copy
    // built whole (the command line builds only the view it was asked for).
    data->all = shown;
    if (!data->all.built()) {
        rebuildStatistics(document, data->all, prompter);
    }
    std::string code;
    if (shown.view == StatisticsView::Division) {
        data->division = shown;
        const std::string& heading = shown.divisionHeading;
        if (const std::size_t colon = heading.find("："); colon != std::string::npos) {
            code = heading.substr(colon + std::string_view("：").size());
        }
    } else {
        data->division = data->all;
        if (const auto structure = parseStructure(document.structure)) {
            showWholeStructure(structure->tree, structure->items, data->division.groups,
                               data->division.itemSummary);
        }
    }
    const bool locationsChosen = shown.view == StatisticsView::Filtered;
    if (locationsChosen) {
        data->filtered = shown;
    } else {
        data->filtered = data->all;
        tickEveryLocation(document, data->filtered, prompter);
    }
    chooseStatisticsView(document, data->all, StatisticsView::AllMaterials, prompter);
    readAnalysis(document, *data);
    const std::shared_ptr<const WorkbookData> links = data;

    std::vector<SheetSource> sheets{
        analysisSheet(document, data->all, links),
        tableSheet(document, data->all, ExportTable::Materials),
        tableSheet(document, data->all, ExportTable::Summary),
        tableSheet(document, data->division, ExportTable::ItemSummary),
        tableSheet(document, data->filtered, ExportTable::Cumulative),
    };
    linkSummary(document, sheets[2], links, true);
    linkItemSummary(document, sheets[3], links, code);
    linkCumulative(sheets[4], links);
    if (locationsChosen) {
        sheets.push_back(tableSheet(document, data->filtered, ExportTable::Summary));
        sheets.back().name = kFilteredSheet;
        linkSummary(document, sheets.back(), links, false);
    }
    for (SheetSource& sheet : sheets) {
        sheet.owner = links;
    }
    return sheets;
}

}  // namespace tf

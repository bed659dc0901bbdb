#include "core/stats/statistics_layout.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

namespace tf {
namespace {

// Data rows that get their make-up; the rows below repeat them.
constexpr int kMadeUpRows = 2;
constexpr std::size_t kWidestLayout = ItemColumn::kCount;

constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kDarkRed{128, 0, 0};
constexpr Rgb kGreen{0, 128, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kPurple{128, 0, 128};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kLabourBand{239, 244, 254};
constexpr Rgb kFeeBand{254, 243, 239};

struct ColumnSpec {
    const char* heading;
    int width;
    int decimals;  // -1: a text column
    std::optional<Rgb> ink;
    bool bold;
    bool centred;
};

struct BandSpec {
    int left;
    int right;
    Rgb colour;
};

struct LayoutSpec {
    std::span<const ColumnSpec> columns;
    std::span<const BandSpec> bands;        // every data row; none = 统计表's alternating rows
    std::span<const ProductRule> products;  // indexed by the column they compute
    std::span<const int> productColumns;
};

constexpr ColumnSpec kSummary[] = {
    {"序号", 40, -1, {}, false, true},           {"类别", 110, -1, {}, false, true},
    {"使用材料名称", 200, -1, {}, false, false}, {"材料数量", 100, 3, kDarkRed, true, true},
    {"单位", 60, -1, {}, false, true},           {"单价", 80, 2, kGreen, false, true},
    {"合计", 110, 3, kBlue, true, true},         {"说明", 200, -1, {}, false, false},
};
constexpr ProductRule kSummaryProducts[] = {{SummaryColumn::kQuantity, SummaryColumn::kPrice}};
constexpr int kSummaryProductColumns[] = {SummaryColumn::kTotal};

constexpr ColumnSpec kItem[] = {
    {"序号", 40, -1, {}, false, true},        {"材料名称", 160, -1, {}, false, false},
    {"材料数量", 80, 3, kGreen, false, true}, {"单位", 50, -1, kGreen, false, true},
    {"单价", 70, 2, kGreen, false, true},     {"材料费小计", 90, 3, kGreen, true, true},
    {"工程数量", 80, 3, kBlue, false, true},  {"分项包工单价", 90, 3, kBlue, false, true},
    {"工费小计", 90, 3, kBlue, true, true},   {"机械使用费", 80, 3, kPurple, false, true},
    {"管理费", 70, 3, kPurple, false, true},  {"合计", 100, 3, kRed, true, true},
    {"说明", 160, -1, kBlack, false, false},
};
constexpr BandSpec kItemBands[] = {{2, 5, kSummaryBand}, {6, 8, kLabourBand}, {9, 10, kFeeBand}};
constexpr ProductRule kItemProducts[] = {{ItemColumn::kQuantity, ItemColumn::kPrice},
                                         {ItemColumn::kWorkQuantity, ItemColumn::kLabourPrice}};
constexpr int kItemProductColumns[] = {ItemColumn::kMaterialCost, ItemColumn::kLabourCost};

constexpr ColumnSpec kDivision[] = {
    {"序号", 40, -1, {}, false, true},
    {"代号", 100, -1, {}, false, true},
    {"材料费", 100, 3, kGreen, true, true},
    {"工程数量", 90, 3, kBlue, false, true},
    {"分项包工单价", 100, 3, kBlue, false, true},
    {"工费小计", 100, 3, kBlue, true, true},
    {"机械使用费", 90, 3, kPurple, false, true},
    {"管理费", 90, 3, kPurple, false, true},
    {"合计", 110, 3, kRed, true, true},
    {"说明", 180, -1, kBlack, false, false},
};
constexpr BandSpec kDivisionBands[] = {{2, 2, kSummaryBand}, {3, 5, kLabourBand}, {6, 7, kFeeBand}};
constexpr ProductRule kDivisionProducts[] = {
    {DivisionColumn::kWorkQuantity, DivisionColumn::kLabourPrice}};
constexpr int kDivisionProductColumns[] = {DivisionColumn::kLabourCost};

constexpr ColumnSpec kCumulative[] = {
    {"序号", 40, -1, {}, false, true},       {"部位名称", 140, -1, {}, false, true},
    {"代号", 90, -1, {}, false, true},       {"材料费", 100, 3, kGreen, true, true},
    {"工程数量", 90, 3, kBlue, false, true}, {"分项包工单价", 100, 3, kBlue, false, true},
    {"工费小计", 100, 3, kBlue, true, true}, {"机械使用费", 90, 3, kPurple, false, true},
    {"管理费", 90, 3, kPurple, false, true}, {"合计", 110, 3, kRed, true, true},
    {"说明", 160, -1, {}, false, false},
};
constexpr BandSpec kCumulativeBands[] = {
    {3, 3, kSummaryBand}, {4, 6, kLabourBand}, {7, 8, kFeeBand}};
constexpr ProductRule kCumulativeProducts[] = {
    {CumulativeColumn::kWorkQuantity, CumulativeColumn::kLabourPrice}};
constexpr int kCumulativeProductColumns[] = {CumulativeColumn::kLabourCost};

LayoutSpec specOf(StatisticsLayout layout) {
    switch (layout) {
        case StatisticsLayout::Summary:
            return {kSummary, {}, kSummaryProducts, kSummaryProductColumns};
        case StatisticsLayout::Item:
            return {kItem, kItemBands, kItemProducts, kItemProductColumns};
        case StatisticsLayout::Division:
            return {kDivision, kDivisionBands, kDivisionProducts, kDivisionProductColumns};
        case StatisticsLayout::Cumulative:
            break;
    }
    return {kCumulative, kCumulativeBands, kCumulativeProducts, kCumulativeProductColumns};
}

}  // namespace

void paintSummaryBands(Grid& summary, int left) {
    summary.setBands({1, left, summary.rowCount() - 1, summary.columnCount() - 1}, kSummaryBand,
                     std::nullopt);
}

void layOutLongStatistics(Grid& g, StatisticsLayout layout, int rows) {
    const LayoutSpec spec = specOf(layout);
    const int columns = static_cast<int>(spec.columns.size());
    g.clear();
    g.setColumnCount(columns);
    g.setRowCount(std::max(rows, 1));
    g.setFixedRows(1);
    g.setFixedColumns(1);
    // The first two data rows get their make-up; the rows below repeat them (the bands of
    // 统计表 alternate).
    const int styled = std::min(g.rowCount() - 1, kMadeUpRows);
    for (int c = 0; c < columns; ++c) {
        const ColumnSpec& col = spec.columns[static_cast<std::size_t>(c)];
        g.setText(0, c, col.heading);
        g.setColumnWidth(c, col.width);
        if (col.decimals >= 0) {
            g.setColumnKind(c, ColumnKind::Number, col.decimals);
        }
        if (styled < 1) {
            continue;
        }
        const CellRange cells{1, c, styled, c};
        if (col.ink) {
            g.setForeground(cells, *col.ink);
        }
        g.setBold(cells, col.bold);
        if (col.centred) {
            g.setAlign(cells, Align::Center);
        }
    }
    for (std::size_t i = 0; i < spec.products.size(); ++i) {
        g.setProductColumn(spec.productColumns[i], spec.products[i]);
    }
    g.setAlign({0, 0, 0, columns - 1}, Align::Center);
    if (styled < 1) {
        return;
    }
    if (spec.bands.empty()) {
        g.setBands({1, SummaryColumn::kName, styled, columns - 1}, kSummaryBand, std::nullopt);
    }
    for (const BandSpec& band : spec.bands) {
        g.setBackground({1, band.left, styled, band.right}, band.colour);
    }
    g.setForeground({1, 0, styled, 0}, kGrey);
    g.setBackground({1, 0, styled, 0}, kNumberColumnBackground);
}

void layOutStatistics(Grid& g, StatisticsLayout layout, int rows) {
    layOutLongStatistics(g, layout, rows);
    for (int r = 1; r < g.rowCount(); ++r) {
        writeStatisticsRow(g, r, {});
    }
}

bool isEditableStatisticsCell(const Grid& g, int row, int column) {
    return row >= 1 && row < g.rowCount() && g.text(0, column) == "说明";
}

void writeStatisticsRow(Grid& g, int row, std::initializer_list<std::string_view> texts) {
    const std::string number = std::to_string(row);
    std::array<std::string_view, kWidestLayout> cells{number};
    const std::size_t n = std::min(texts.size(), cells.size() - 1);
    std::copy_n(texts.begin(), n, cells.begin() + 1);
    g.writeRow(row, 1 + (row - 1) % kMadeUpRows, {cells.data(), n + 1});
}

void addSubtotalRow(Grid& g, int row, int labelColumn, int labelRight,
                    std::initializer_list<int> sumColumns, int first, int last) {
    g.setText(row, labelColumn, kSubtotalLabel);
    g.setAlign({row, labelColumn, row, labelRight}, Align::Right);
    if (labelRight > labelColumn) {
        g.merge({row, labelColumn, row, labelRight});
    }
    for (const int c : sumColumns) {
        g.setRangeSum({row, c, c, first, last});
    }
}

}  // namespace tf

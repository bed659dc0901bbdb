#include "core/compare/comparison_tables.h"

#include "core/base/number_text.h"

namespace tf {
namespace {

constexpr Rgb kAddedBackground{226, 239, 218};
constexpr Rgb kRemovedBackground{248, 215, 215};
constexpr Rgb kUpInk{192, 0, 0};
constexpr Rgb kDownInk{0, 112, 0};

constexpr int kText = -1;
constexpr int kQuantity = 3;  // decimals shown
constexpr int kMoney = 2;

struct ColumnSpec {
    std::string_view heading;
    int decimals = kText;
    // A column holding the difference of the two before it ("after - before"), or a price or
    // quantity effect: its formula over the row's cells, as "{D}*({H}-{G})".
    std::string_view formula = {};
};

// The columns of each table. Formulas name the row's cells by their column letters.
const std::vector<ColumnSpec>& columnsOf(ComparisonTable table) {
    static const std::vector<ColumnSpec> locations{{"部位名称"},
                                                   {"分项代号"},
                                                   {"分项名称"},
                                                   {"材料名称"},
                                                   {"单位"},
                                                   {"对比前数量", kQuantity},
                                                   {"对比后数量", kQuantity},
                                                   {"数量差", kQuantity, "G-F"},
                                                   {"对比前费用", kMoney},
                                                   {"对比后费用", kMoney},
                                                   {"费用差", kMoney, "J-I"},
                                                   {"变化"}};
    static const std::vector<ColumnSpec> materials{{"类别"},
                                                   {"材料名称"},
                                                   {"单位"},
                                                   {"对比前数量", kQuantity},
                                                   {"对比后数量", kQuantity},
                                                   {"数量差", kQuantity, "E-D"},
                                                   {"对比前单价", kMoney},
                                                   {"对比后单价", kMoney},
                                                   {"对比前费用", kMoney, "D*G"},
                                                   {"对比后费用", kMoney, "E*H"},
                                                   {"费用差", kMoney, "J-I"},
                                                   {"价格影响", kMoney, "D*(H-G)"},
                                                   {"数量影响", kMoney, "H*(E-D)"},
                                                   {"变化"}};
    static const std::vector<ColumnSpec> costs{{"费用项目"},
                                               {"代号或类别"},
                                               {"名称"},
                                               {"对比前数量", kQuantity},
                                               {"对比后数量", kQuantity},
                                               {"对比前单价", kMoney},
                                               {"对比后单价", kMoney},
                                               {"对比前费用", kMoney, "D*F"},
                                               {"对比后费用", kMoney, "E*G"},
                                               {"费用差", kMoney, "I-H"},
                                               {"价格影响", kMoney, "D*(G-F)"},
                                               {"数量影响", kMoney, "G*(E-D)"},
                                               {"变化"}};
    static const std::vector<ColumnSpec> structure{{"分项代号"},       {"分项名称"},
                                                   {"费用项目"},       {"对比前", kMoney},
                                                   {"对比后", kMoney}, {"差额", kMoney, "E-D"}};
    switch (table) {
        case ComparisonTable::Materials:
            return materials;
        case ComparisonTable::Costs:
            return costs;
        case ComparisonTable::Structure:
            return structure;
        case ComparisonTable::Locations:
            break;
    }
    return locations;
}

std::string number(double value) {
    return formatNumber(value);
}

std::vector<std::string> locationCells(const LocationRow& r) {
    const bool quantities = r.kind != LocationRowKind::Location;
    return {std::string(r.location),
            std::string(r.code),
            std::string(r.itemName),
            std::string(r.material),
            std::string(r.unit),
            quantities ? number(r.quantity.before) : "",
            quantities ? number(r.quantity.after) : "",
            quantities ? number(r.quantity.difference()) : "",
            number(r.cost.before),
            number(r.cost.after),
            number(r.cost.difference()),
            std::string(changeName(r.change))};
}

std::vector<std::string> materialCells(const MaterialRow& r) {
    const CostSplit& s = r.split;
    return {std::string(r.category),     std::string(r.name),
            std::string(r.unit),         number(s.quantity.before),
            number(s.quantity.after),    number(s.quantity.difference()),
            number(s.price.before),      number(s.price.after),
            number(s.cost.before),       number(s.cost.after),
            number(s.cost.difference()), number(s.priceEffect),
            number(s.quantityEffect),    std::string(changeName(r.change))};
}

std::vector<std::string> costCells(const CostRow& r) {
    const CostSplit& s = r.split;
    return {std::string(costKindName(r.kind)),
            std::string(r.code),
            std::string(r.name),
            number(s.quantity.before),
            number(s.quantity.after),
            number(s.price.before),
            number(s.price.after),
            number(s.cost.before),
            number(s.cost.after),
            number(s.cost.difference()),
            number(s.priceEffect),
            number(s.quantityEffect),
            std::string(changeName(r.change))};
}

std::string_view feeName(CostKind fee) {
    switch (fee) {
        case CostKind::Labour:
            return "人工单价";
        case CostKind::Machinery:
            return "机械使用费";
        case CostKind::Management:
            return "管理费";
        case CostKind::Material:
            break;
    }
    return "材料单价";
}

std::vector<std::string> structureCells(const StructureChange& r) {
    return {std::string(r.code),    std::string(r.name),   std::string(feeName(r.fee)),
            number(r.price.before), number(r.price.after), number(r.price.difference())};
}

template <typename Row, typename Cells>
void visitRows(const std::vector<Row>& rows, bool onlyChanges, Cells cells,
               const std::function<void(const std::vector<std::string>&, Change)>& visit) {
    for (const Row& r : rows) {
        if (!onlyChanges || r.change != Change::Same) {
            visit(cells(r), r.change);
        }
    }
}

// "D*(H-G)" with each capital letter given its row: "D5*(H5-G5)".
std::string rowFormula(std::string_view pattern, int row) {
    std::string formula = "=";
    const std::string number = std::to_string(row + 1);
    for (const char c : pattern) {
        formula.push_back(c);
        if (c >= 'A' && c <= 'Z') {
            formula += number;
        }
    }
    return formula;
}

}  // namespace

std::optional<ComparisonTable> comparisonTableNamed(std::string_view name) {
    if (name == "location") {
        return ComparisonTable::Locations;
    }
    if (name == "material") {
        return ComparisonTable::Materials;
    }
    if (name == "cost") {
        return ComparisonTable::Costs;
    }
    if (name == "structure") {
        return ComparisonTable::Structure;
    }
    return std::nullopt;
}

std::string_view comparisonTableTitle(ComparisonTable table) {
    switch (table) {
        case ComparisonTable::Materials:
            return "按材料";
        case ComparisonTable::Costs:
            return "按费用";
        case ComparisonTable::Structure:
            return "结构变化";
        case ComparisonTable::Locations:
            break;
    }
    return "按部位";
}

std::vector<std::string_view> comparisonHeadings(ComparisonTable table) {
    std::vector<std::string_view> headings;
    for (const ColumnSpec& c : columnsOf(table)) {
        headings.push_back(c.heading);
    }
    return headings;
}

void forEachComparisonRow(const ProjectComparison& comparison, ComparisonTable table,
                          bool onlyChanges,
                          const std::function<void(const std::vector<std::string>&, Change)>& row) {
    switch (table) {
        case ComparisonTable::Locations:
            visitRows(comparison.locations, onlyChanges, locationCells, row);
            break;
        case ComparisonTable::Materials:
            visitRows(comparison.materials, onlyChanges, materialCells, row);
            break;
        case ComparisonTable::Costs:
            visitRows(comparison.costs, onlyChanges, costCells, row);
            break;
        case ComparisonTable::Structure:
            for (const StructureChange& change : comparison.structure) {
                row(structureCells(change),
                    change.price.after > change.price.before ? Change::Up : Change::Down);
            }
            break;
    }
}

std::vector<std::pair<std::string, std::string>> comparisonSummary(
    const ProjectComparison& comparison) {
    const ComparisonSummary& s = comparison.summary;
    std::vector<std::pair<std::string, std::string>> lines{
        {"对比前合计", number(s.total.before)}, {"对比后合计", number(s.total.after)},
        {"差额", number(s.total.difference())}, {"价格影响", number(s.priceEffect)},
        {"数量影响", number(s.quantityEffect)},
    };
    for (const CostKind kind :
         {CostKind::Material, CostKind::Labour, CostKind::Machinery, CostKind::Management}) {
        const Figures& f = s.byKind[static_cast<int>(kind)];
        lines.emplace_back(std::string(costKindName(kind)) + "差额", number(f.difference()));
    }
    const auto counts = [&](std::string_view what, const ChangeCounts& c) {
        lines.emplace_back(std::string(what) + "新增", std::to_string(c.added));
        lines.emplace_back(std::string(what) + "删除", std::to_string(c.removed));
        lines.emplace_back(std::string(what) + "变化", std::to_string(c.changed));
    };
    counts("部位", s.locations);
    counts("分项", s.items);
    counts("材料", s.materials);
    lines.emplace_back("结构变化", std::to_string(comparison.structure.size()));
    return lines;
}

Grid comparisonGrid(const ProjectComparison& comparison, ComparisonTable table, bool onlyChanges) {
    const std::vector<ColumnSpec>& columns = columnsOf(table);
    const int count = static_cast<int>(columns.size());
    Grid g(1, count);
    g.setFixedRows(1);
    for (int c = 0; c < count; ++c) {
        const ColumnSpec& spec = columns[static_cast<std::size_t>(c)];
        g.setText(0, c, spec.heading);
        g.setColumnWidth(c, spec.decimals == kText ? 110 : 90);
        if (spec.decimals != kText) {
            g.setColumnKind(c, ColumnKind::Number, spec.decimals);
            g.setColumnAlign(c, Align::Right);
        }
    }
    g.setBold({0, 0, 0, count - 1}, true);
    g.setAlign({0, 0, 0, count - 1}, Align::Center);
    std::vector<std::pair<int, Change>> marks;
    forEachComparisonRow(comparison, table, onlyChanges,
                         [&](const std::vector<std::string>& cells, Change change) {
                             const int row = g.rowCount();
                             g.appendRows(1);
                             for (int c = 0; c < count; ++c) {
                                 g.setText(row, c, cells[static_cast<std::size_t>(c)]);
                             }
                             if (change != Change::Same) {
                                 marks.emplace_back(row, change);
                             }
                         });
    // Runs of rows with the same change are coloured at once.
    for (std::size_t i = 0; i < marks.size();) {
        std::size_t j = i;
        while (j + 1 < marks.size() && marks[j + 1].second == marks[i].second &&
               marks[j + 1].first == marks[j].first + 1) {
            ++j;
        }
        const CellRange rows{marks[i].first, 0, marks[j].first, count - 1};
        switch (marks[i].second) {
            case Change::Added:
                g.setBackground(rows, kAddedBackground);
                break;
            case Change::Removed:
                g.setBackground(rows, kRemovedBackground);
                break;
            case Change::Up:
                g.setForeground(rows, kUpInk);
                break;
            case Change::Down:
                g.setForeground(rows, kDownInk);
                break;
            case Change::Same:
                break;
        }
        i = j + 1;
    }
    return g;
}

SheetSource comparisonSheet(const Grid& grid, ComparisonTable table) {
    SheetSource sheet{std::string(comparisonTableTitle(table)), &grid, {}};
    const std::vector<ColumnSpec>& columns = columnsOf(table);
    sheet.linked = [&grid, &columns](int row, int column) -> std::optional<LinkedCell> {
        const std::string_view pattern = columns[static_cast<std::size_t>(column)].formula;
        if (row < 1 || pattern.empty() || grid.text(row, column).empty()) {
            return std::nullopt;
        }
        return LinkedCell{rowFormula(pattern, row), parseNumber(grid.text(row, column))};
    };
    return sheet;
}

}  // namespace tf

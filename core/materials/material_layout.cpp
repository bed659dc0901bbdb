#include "core/materials/material_layout.h"

#include <array>
#include <string>

#include "core/project/column_layout.h"

namespace tf {
namespace {

constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kPriceRed{128, 0, 0};

}  // namespace

void applyMaterialColumnKinds(Grid& g) {
    g.setColumnKind(MaterialColumn::kCategory, ColumnKind::PickList);
    g.setColumnKind(MaterialColumn::kPrice, ColumnKind::Number, 3);
}

void initMaterialTable(Grid& g) {
    using namespace MaterialColumn;
    g.clear();
    g.setColumnCount(kCount);
    g.setRowCount(kMaterialFreshRows);
    g.setFixedRows(1);
    g.setFixedColumns(1);
    constexpr std::array<const char*, 7> kHeadings = {"序号", "类别", "材料名称", "最小规格",
                                                      "单位", "单价", "说明"};
    for (int c = 0; c < static_cast<int>(kHeadings.size()); ++c) {
        g.setText(0, c, kHeadings[static_cast<std::size_t>(c)]);
    }
    g.setAlign({0, 0, 0, kCount - 1}, Align::Center);
    layoutMaterialColumns(g, 0);
    g.setColumnWidth(kId, 0);
    applyMaterialColumnKinds(g);

    const int last = kMaterialFreshRows - 1;
    for (int r = 1; r <= last; ++r) {
        g.setText(r, kNumber, std::to_string(r));
    }
    paintMaterialBands(g);
    g.setForeground({1, kNumber, last, kNumber}, kGrey);
    g.setAlign({1, kNumber, last, kNumber}, Align::Center);
    g.setAlign({1, kUnit, last, kUnit}, Align::Center);
    g.setBold({1, kPrice, last, kPrice}, true);
    g.setAlign({1, kPrice, last, kPrice}, Align::Center);
    g.setForeground({1, kPrice, last, kPrice}, kPriceRed);
}

void paintMaterialBands(Grid& materials) {
    using namespace MaterialColumn;
    materials.setBands({1, kNumber, materials.rowCount() - 1, kId}, kMaterialBand, std::nullopt);
}

}  // namespace tf

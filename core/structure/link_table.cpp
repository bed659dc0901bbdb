#include "core/structure/link_table.h"

#include <array>
#include <cmath>

#include "core/base/number_text.h"
#include "core/grid/grid_display.h"

namespace tf {

Grid makeLinkTable() {
    using namespace LinkColumn;
    Grid g(kFreshLinkRows, kCount);
    g.setFixedRows(1);
    constexpr std::array<const char*, kCount> kTitles = {"№",        "关联", "材料名称", "单位用量",
                                                         "计量单位", "说明", "关联号"};
    constexpr std::array<int, kCount> kWidths = {30, 40, 160, 80, 70, 120, 0};
    for (int c = 0; c < kCount; ++c) {
        g.setText(0, c, kTitles[static_cast<std::size_t>(c)]);
        g.setColumnWidth(c, kWidths[static_cast<std::size_t>(c)]);
    }
    g.setColumnKind(kLinked, ColumnKind::CheckBox);
    g.setColumnKind(kUsage, ColumnKind::Number, 4);
    for (int r = 1; r < kFreshLinkRows; ++r) {
        g.setText(r, kNumber, std::to_string(r));
    }
    g.setAlign({0, 0, 0, kCount - 1}, Align::Center);
    return g;
}

MaterialLink readLink(const Grid& table, int row) {
    using namespace LinkColumn;
    MaterialLink link;
    link.linked = isTicked(table.text(row, kLinked));
    link.materialName = std::string(table.text(row, kName));
    link.unitUsage = parseNumber(table.text(row, kUsage));
    link.unit = std::string(table.text(row, kUnit));
    link.note = std::string(table.text(row, kNote));
    const double id = parseNumber(table.text(row, kMaterialId));
    link.materialId = std::fabs(id) < 2e9 ? static_cast<std::int32_t>(id) : 0;
    return link;
}

}  // namespace tf

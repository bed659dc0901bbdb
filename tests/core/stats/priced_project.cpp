#include "tests/core/stats/priced_project.h"

#include "core/base/number_text.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"
#include "core/structure/codes.h"
#include "core/structure/default_structure.h"

namespace tf::test {

PricedProject::PricedProject() {
    resetProject(doc);
    addMaterial("砂浆", "水泥砂浆", "千克", "0.5");
    addMaterial("砂浆", "界面剂", "千克", "2.4");
    addMaterial("涂料", "乳胶漆", "千克", "18.5");
    Structure s = *parseStructure(doc.structure);
    const auto setFees = [&](std::string_view code, const char* labour, const char* machinery,
                             const char* management) {
        const std::size_t row = *findItemRowByCode(s.items, code);
        s.items[row].labourPrice = labour;
        s.items[row].machineryFee = machinery;
        s.items[row].managementFee = management;
    };
    setFees("030201", "12.5元/平方米", "3", "5.5");
    setFees("030801", "8", "0", "2.25");
    doc.structure = serializeStructure(s);
}

int PricedProject::addMaterial(std::string_view category, std::string_view name,
                               std::string_view unit, std::string_view price) {
    Grid& m = doc.materials;
    const int r = nextMaterialRow_++;
    if (r >= m.rowCount()) {
        m.appendRows(1);
    }
    m.setText(r, MaterialColumn::kCategory, category);
    m.setText(r, MaterialColumn::kName, name);
    m.setText(r, MaterialColumn::kUnit, unit);
    m.setText(r, MaterialColumn::kPrice, price);
    rebuildCatalogue(doc);
    return static_cast<int>(parseNumber(m.text(r, MaterialColumn::kId)));
}

void PricedProject::addRow(int number, std::string_view location, std::string_view code,
                           double workQuantity, std::string_view material, double quantity,
                           std::string_view unit, int materialId) {
    using namespace AnalysisColumn;
    Grid& a = doc.analysis;
    const int r = nextRow_++;
    if (r >= a.rowCount()) {
        a.appendRows(1);
    }
    a.setText(r, kNumber, std::to_string(number));
    a.setText(r, kLocation, location);
    a.setText(r, kItemCode, code);
    a.setText(r, kWorkQuantity, formatNumber(workQuantity));
    a.setText(r, kMaterialName, material);
    a.setText(r, kMaterialQuantity, formatNumber(quantity));
    a.setText(r, kMaterialUnit, unit);
    a.setText(r, kMaterialId, std::to_string(materialId));
}

void PricedProject::enterThreeLocations() {
    addRow(1, "客厅", "030201", 20, "水泥砂浆", 10, "千克", 1001);
    addRow(1, "客厅", "030201", 20, "界面剂", 4, "千克", 1002);
    addRow(1, "客厅", "030801", 30, "乳胶漆", 9, "千克", 2001);
    addRow(2, "卧室", "030201", 15, "水泥砂浆", 7.5, "千克", 1001);
    addRow(2, "卧室", "030201", 15, "界面剂", 3, "千克", 1002);
    addRow(3, "厨房", "030801", 12.5, "乳胶漆", 3.75, "千克", 2001);
    addRow(3, "厨房", "030201", 8, "水泥砂浆", 4, "千克", 1001);
    addRow(3, "厨房", "030201", 8, "自备材料", 2, "个", 0);
}

}  // namespace tf::test

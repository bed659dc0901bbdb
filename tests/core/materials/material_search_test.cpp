#include "core/materials/material_search.h"

#include <gtest/gtest.h>

#include "core/materials/material_layout.h"
#include "core/project/analysis_layout.h"

namespace tf {
namespace {

TEST(MaterialSearch, TheMarkedRowsAreGoneThroughRoundTheEndsBothWays) {
    Grid materials;
    initMaterialTable(materials);  // rows 1..23
    for (const int row : {4, 9, 17}) {
        materials.setBackground({row, MaterialColumn::kCategory, row, MaterialColumn::kNote},
                                kMarkerColour);
    }
    EXPECT_EQ(nextMarkedMaterial(materials, 0, true), 4);
    EXPECT_EQ(nextMarkedMaterial(materials, 4, true), 9);
    EXPECT_EQ(nextMarkedMaterial(materials, 17, true), 4) << "round the end";
    EXPECT_EQ(nextMarkedMaterial(materials, 9, false), 4);
    EXPECT_EQ(nextMarkedMaterial(materials, 4, false), 17) << "round the start";
    EXPECT_EQ(nextMarkedMaterial(materials, 23, true), 4);
    EXPECT_EQ(nextMarkedMaterial(materials, 99, false), 17) << "a cursor beyond the table";
    EXPECT_EQ(markedPositionText(materials, 9), "第 2 个，共 3 个");
    EXPECT_EQ(markedPositionText(materials, 10), "共找到 3 个");

    paintMaterialBands(materials);
    EXPECT_EQ(nextMarkedMaterial(materials, 0, true), std::nullopt);
    materials.setBackground({23, 0, 23, MaterialColumn::kNote}, kMarkerColour);
    EXPECT_EQ(nextMarkedMaterial(materials, 23, true), 23) << "the only one, from itself";
}

}  // namespace
}  // namespace tf

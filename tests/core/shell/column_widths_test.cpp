#include "core/shell/column_widths.h"

#include <gtest/gtest.h>

#include "core/materials/material_layout.h"
#include "core/project/analysis_layout.h"
#include "core/project/column_layout.h"
#include "core/project/project_document.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

TEST(ColumnWidths, KeptTextIsReadBackAndAnythingElseIsSkipped) {
    // Hand-edited or damaged settings: bad pairs go, widths are held to what a drag can give.
    EXPECT_EQ(
        parseColumnWidths(" 3:140, x:5,4:-9,5:99999,1000:50,999:60,2:abc,:,7:80:1,,-1:30"),
        (ColumnWidths{{3, 140}, {4, kNarrowestUserColumn}, {5, kWidestUserColumn}, {999, 60}}));
    EXPECT_EQ(parseColumnWidths("99999999999999999999:40"), ColumnWidths{});
    EXPECT_EQ(columnWidthsText({{10, 60}, {2, 140}}), "2:140,10:60");
    EXPECT_EQ(parseColumnWidths(columnWidthsText({{10, 60}, {2, 140}})),
              (ColumnWidths{{2, 140}, {10, 60}}));
}

TEST(ColumnWidths, AWidthKeptForATableOutlivesTheWindowLayoutAndTheProgram) {
    test::TempDir dir;
    AppSettings settings(dir / "Brix.ini");
    ProjectDocument document;
    initAnalysisTable(document);
    Grid& analysis = document.analysis;
    {
        ColumnWidthMemory memory(settings, "分析表");
        memory.keep(7, 230);  // 分项尺寸
        memory.keep(11, 90);  // hidden working column: never shown
        memory.keep(4, 5);    // narrower than a drag can make it
    }
    ColumnWidthMemory memory(settings, "分析表");  // the next start
    EXPECT_EQ(memory.widths(), (ColumnWidths{{4, kNarrowestUserColumn}, {7, 230}, {11, 90}}));
    EXPECT_EQ(ColumnWidthMemory(settings, "材料表").widths(), ColumnWidths{});

    // A window 1100 wide lays every column out with (1100 - 800) / 15 = 20 more; the kept
    // widths go back over that, the hidden column stays hidden.
    layoutAnalysisColumns(analysis, 1100);
    memory.apply(analysis);
    EXPECT_EQ(analysis.column(6).width, 60 + 20);
    EXPECT_EQ(analysis.column(7).width, 230);
    EXPECT_EQ(analysis.column(4).width, kNarrowestUserColumn);
    EXPECT_EQ(analysis.column(11).width, 0);
    EXPECT_EQ(settings.text("列宽", "分析表"), "4:12,7:230,11:90");
}

TEST(ColumnWidths, NumberColumnsWidenForFourDigitsAndMore) {
    ProjectDocument document;
    initMaterialTable(document.materials);
    Grid& materials = document.materials;
    layoutMaterialColumns(materials, 800);
    EXPECT_EQ(materials.column(0).width, 37) << "up to 999 materials as laid out always";
    materials.setRowCount(1267);
    materials.setText(1266, 0, "1266");
    layoutMaterialColumns(materials, 800);
    EXPECT_EQ(materials.column(0).width, 37 + 8);

    // In the analysis table a location's number stands in the first of its rows only.
    initAnalysisTable(document);
    Grid& analysis = document.analysis;
    analysis.setRowCount(40);
    analysis.clearTexts({2, 0, 39, 0});
    analysis.setText(30, 0, "12345");
    layoutAnalysisColumns(analysis, 800);
    EXPECT_EQ(analysis.column(0).width, 40 + 2 * 8);
}

}  // namespace
}  // namespace tf

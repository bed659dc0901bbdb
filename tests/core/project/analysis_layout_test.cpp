#include "core/project/analysis_layout.h"

#include <gtest/gtest.h>

#include "core/materials/material_layout.h"
#include "core/project/column_layout.h"
#include "core/project/project_document.h"

namespace tf {
namespace {

TEST(AnalysisLayout, FreshTableHasHeadingsMergesAndNumberedRows) {
    ProjectDocument doc;
    doc.attachments.records = {"old"};
    initAnalysisTable(doc);
    const Grid& g = doc.analysis;
    EXPECT_EQ(g.rowCount(), 23);
    EXPECT_EQ(g.columnCount(), 14);
    EXPECT_EQ(g.fixedRows(), 2);
    EXPECT_EQ(doc.attachments.records, std::vector<std::string>(23));

    const std::vector<std::string> top = {"序号", "部位名称", "图纸索引", "结构尺寸", "分部分项"};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(g.text(0, c), top[static_cast<std::size_t>(c)]);
    }
    EXPECT_EQ(g.text(0, 10), "说明");
    const std::vector<std::string> second = {"分项代号",     "分项尺寸", "工程数量",
                                             "使用材料名称", "材料数量", "材料单位"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(g.text(1, 4 + i), second[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(
        g.merges(),
        (std::vector<CellRange>{
            {0, 0, 1, 0}, {0, 1, 1, 1}, {0, 2, 1, 2}, {0, 3, 1, 3}, {0, 4, 0, 9}, {0, 10, 1, 10}}));
    EXPECT_EQ(g.text(2, 0), "1");
    EXPECT_EQ(g.text(22, 0), "21");
    for (int c = 11; c <= 13; ++c) {
        EXPECT_EQ(g.column(c).width, 0);
    }
}

TEST(AnalysisLayout, DataRowStylesAndTint) {
    ProjectDocument doc;
    initAnalysisTable(doc);
    const Grid& g = doc.analysis;
    EXPECT_EQ(g.style(1, 7).align, Align::Center);
    EXPECT_EQ(g.style(5, 0).foreground, (Rgb{128, 128, 128}));
    EXPECT_EQ(g.style(5, 0).align, Align::Center);
    EXPECT_EQ(g.style(5, 4).align, Align::Center);
    EXPECT_TRUE(g.style(5, 2).wrap);
    EXPECT_TRUE(g.style(5, 3).wrap);
    EXPECT_TRUE(g.style(5, 5).wrap);
    EXPECT_FALSE(g.style(5, 1).wrap);
    for (const int c : {6, 8}) {
        EXPECT_EQ(g.column(c).kind, ColumnKind::Number);
        EXPECT_EQ(g.column(c).decimals, 3);
        EXPECT_TRUE(g.style(7, c).bold);
        EXPECT_EQ(g.style(7, c).foreground, (Rgb{128, 0, 0}));
        EXPECT_EQ(g.style(7, c).align, Align::Center);
    }
    EXPECT_EQ(g.style(7, 9).align, Align::Center);
    // Even grid rows (the 1st, 3rd … data row) tint columns 7–10.
    for (int c = 7; c <= 10; ++c) {
        EXPECT_EQ(g.style(2, c).background, (Rgb{0xEF, 0xF4, 0xFE}));
        EXPECT_FALSE(g.style(3, c).background);
        EXPECT_EQ(g.style(22, c).background, (Rgb{0xEF, 0xF4, 0xFE}));
    }
    EXPECT_FALSE(g.style(2, 6).background);
    EXPECT_FALSE(g.style(2, 11).background);
}

TEST(MaterialLayout, FreshTableHasHeadingsWidthsAndBands) {
    Grid g;
    initMaterialTable(g);
    EXPECT_EQ(g.rowCount(), 24);
    EXPECT_EQ(g.columnCount(), 8);
    const std::vector<std::string> headings = {"序号", "类别", "材料名称", "最小规格",
                                               "单位", "单价", "说明",     ""};
    const std::vector<int> widths = {37, 110, 200, 150, 60, 62, 142, 0};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(g.text(0, c), headings[static_cast<std::size_t>(c)]);
        EXPECT_EQ(g.column(c).width, widths[static_cast<std::size_t>(c)]);
    }
    EXPECT_EQ(g.text(1, 0), "1");
    EXPECT_EQ(g.text(23, 0), "23");
    EXPECT_EQ(g.column(1).kind, ColumnKind::PickList);
    EXPECT_EQ(g.column(5).kind, ColumnKind::Number);
    EXPECT_EQ(g.column(5).decimals, 3);
    EXPECT_EQ(g.style(3, 5).foreground, (Rgb{128, 0, 0}));
    EXPECT_TRUE(g.style(3, 5).bold);
    EXPECT_EQ(g.style(3, 0).foreground, (Rgb{128, 128, 128}));
    EXPECT_FALSE(g.style(1, 2).background);
    EXPECT_EQ(g.style(2, 2).background, (Rgb{242, 242, 242}));
}

TEST(ColumnLayout, WiderWindowsShareTheExtraWidth) {
    ProjectDocument doc;
    initAnalysisTable(doc);
    initMaterialTable(doc.materials);
    layoutAnalysisColumns(doc.analysis, 1100);
    layoutMaterialColumns(doc.materials, 1100);
    EXPECT_EQ(doc.analysis.column(7).width, 140);
    EXPECT_EQ(doc.materials.column(2).width, 250);
    EXPECT_EQ(doc.analysis.column(11).width, 0);
    EXPECT_EQ(doc.materials.column(7).width, 0);

    layoutAnalysisColumns(doc.analysis, 814);  // 14 / 15 truncates to 0
    EXPECT_EQ(doc.analysis.column(1).width, 100);
    layoutAnalysisColumns(doc.analysis, 600);
    EXPECT_EQ(doc.analysis.column(10).width, 150);
}

}  // namespace
}  // namespace tf

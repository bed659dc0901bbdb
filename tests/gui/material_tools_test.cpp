// The material import and search windows on the sample project: a new supplier's list
// replaces the price list, and materials are found by name.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "core/analysis/location_index.h"
#include "core/base/number_text.h"
#include "core/base/text_codec.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_text_file.h"
#include "core/project/analysis_layout.h"
#include "core/stats/statistics_layout.h"
#include "core/xlsx/workbook_reader.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/grid_view.h"
#include "tests/gui/sample_window.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

using Message = test::ScriptedPrompter::Message;
namespace A = AnalysisColumn;

class MaterialToolsTest : public ::testing::Test {
  protected:
    MaterialToolsTest() : window(test::openSampleWindow(dir.path(), prompter, 6)) {
        EXPECT_TRUE(prompter.messages().empty());
    }
    const Grid& analysis() { return window->document().analysis; }
    std::vector<int> rowsUsing(std::string_view material) {
        std::vector<int> rows;
        for (int r = kAnalysisHeadingRows; r < analysis().rowCount(); ++r) {
            if (analysis().text(r, A::kMaterialName) == material) {
                rows.push_back(r);
            }
        }
        return rows;
    }
    // The 统计表 row of a material, when it has one.
    std::optional<int> summaryRow(std::string_view material) {
        const Grid& s = window->statistics().summary;
        for (int r = 1; r < s.rowCount(); ++r) {
            if (s.text(r, SummaryColumn::kName) == material) {
                return r;
            }
        }
        return std::nullopt;
    }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MaterialToolsTest, ANewPriceListReplacesTheOldAndTheLostRowsGoOnOk) {
    // The new list: the sample's own, without the material of the first row, with the
    // price of the second row's material raised to 500.
    const std::string gone(analysis().text(2, A::kMaterialName));
    const std::string raised(analysis().text(3, A::kMaterialName));
    ASSERT_NE(gone, raised);
    std::string list;
    for (const auto& [line, f] :
         parsePriceList(materialText(window->document().materials)).materials) {
        if (f[1] != gone) {
            list += f[0] + "\t" + f[1] + "\t" + f[2] + "\t" + f[3] + "\t" +
                    (f[1] == raised ? "500" : f[4]) + "\t" + f[5] + "\r\n";
        }
    }
    test::writeFile(dir / "new.txt", toGbk(list));
    const std::vector<int> lost = rowsUsing(gone);
    ASSERT_FALSE(lost.empty());
    const int rowsBefore = analysis().rowCount();
    const std::size_t locationsBefore = window->document().locations.size();
    double raisedQuantity = 0;
    for (const int r : rowsUsing(raised)) {
        raisedQuantity += parseNumber(analysis().text(r, A::kMaterialQuantity));
    }
    window->pressPageButton(MainWindow::StatisticsPage);
    ASSERT_TRUE(summaryRow(gone));
    window->pressPageButton(MainWindow::MaterialPage);

    prompter.answerFile((dir / "new.txt").string());
    window->dispatch(Command::ImportMaterials);
    auto* dialog = window->findChild<QDialog*>("导入数据窗口");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "导入数据");
    EXPECT_TRUE(dialog->isModal());
    EXPECT_NE(dialog->findChild<QLabel*>(), nullptr);
    EXPECT_EQ(dialog->findChild<QLineEdit*>("导入文件")->text().toStdString(),
              (dir / "new.txt").string());
    auto* replace = dialog->findChild<QRadioButton*>("覆盖模式");
    auto* append = dialog->findChild<QRadioButton*>("添加模式");
    EXPECT_EQ(replace->text(), "覆盖模式 (当前已有数据会被完全清除，使用新的数据)");
    EXPECT_EQ(append->text(), "添加模式 (添加到当前已有数据的尾部，成为原数据的一部分)");
    EXPECT_TRUE(replace->isChecked());
    EXPECT_EQ(dialog->findChild<QPushButton*>("确定按钮")->text(), "确 定(&O)");
    EXPECT_EQ(dialog->findChild<QPushButton*>("取消按钮")->text(), "取 消(&C)");

    prompter.answer(Answer::Ok);  // the notice
    prompter.answer(Answer::Ok);  // delete the rows that lost their material
    dialog->findChild<QPushButton*>("确定按钮")->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(prompter.messages().back().caption, "询问:");
    EXPECT_EQ(window->findChild<QTabWidget*>("选择夹1")->currentIndex(), MainWindow::AnalysisPage);
    EXPECT_TRUE(window->document().modified);

    // 分析表: the lost rows went, every location is whole, merged and numbered in turn.
    const ProjectDocument& doc = window->document();
    EXPECT_EQ(analysis().rowCount(), rowsBefore - static_cast<int>(lost.size()));
    EXPECT_TRUE(rowsUsing(gone).empty());
    EXPECT_EQ(rebuildLocationIndex(analysis()), doc.locations);
    EXPECT_EQ(doc.attachments.records.size(), static_cast<std::size_t>(analysis().rowCount()));
    EXPECT_EQ(doc.locations.size(), locationsBefore) << "each sample location has other rows";
    for (std::size_t k = 0; k < doc.locations.size(); ++k) {
        const LocationSpan span = doc.locations[k];
        EXPECT_EQ(analysis().text(span.first, A::kNumber), std::to_string(k + 1));
        if (span.last > span.first) {
            EXPECT_EQ(analysis().mergeAt(span.first, A::kLocation),
                      (CellRange{span.first, A::kLocation, span.last, A::kLocation}));
        }
        for (int r = span.first; r <= span.last; ++r) {
            const std::string_view id = analysis().text(r, A::kMaterialId);
            const MaterialEntry* entry =
                doc.catalogue.byId(static_cast<std::int32_t>(parseNumber(id)));
            ASSERT_NE(entry, nullptr) << "row " << r << " id " << id;
            EXPECT_EQ(entry->name, analysis().text(r, A::kMaterialName));
        }
    }
    EXPECT_NE(analysis().style(2, A::kMaterialName).background, kMarkerColour);

    // The statistics follow when shown: the material is gone, the raised price counts.
    window->pressPageButton(MainWindow::StatisticsPage);
    EXPECT_FALSE(summaryRow(gone));
    const auto row = summaryRow(raised);
    ASSERT_TRUE(row);
    const Grid& s = window->statistics().summary;
    EXPECT_EQ(parseNumber(s.text(*row, SummaryColumn::kPrice)), 500);
    EXPECT_NEAR(parseNumber(s.text(*row, SummaryColumn::kQuantity)), raisedQuantity, 1e-6);
    EXPECT_NEAR(parseNumber(s.text(*row, SummaryColumn::kTotal)), raisedQuantity * 500, 0.01);
}

TEST_F(MaterialToolsTest, CancelledOrAppendedImportsAndADroppedList) {
    test::writeFile(dir / "extra.txt", toGbk("五金\t膨胀螺栓\tM12\t套\t2.6\r\n"));
    const Grid before = window->document().materials;
    prompter.answerFile((dir / "extra.txt").string());
    window->dispatch(Command::ImportMaterials);
    auto* dialog = window->findChild<QDialog*>("导入数据窗口");
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QPushButton*>("取消按钮")->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->document().materials.rowCount(), before.rowCount());
    EXPECT_FALSE(window->document().modified);

    prompter.answerFile(std::nullopt);  // no file chosen: no window
    window->dispatch(Command::ImportMaterials);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->findChild<QDialog*>("导入数据窗口"), nullptr);

    prompter.answerFile((dir / "extra.txt").string());
    window->dispatch(Command::ImportMaterials);
    dialog = window->findChild<QDialog*>("导入数据窗口");
    dialog->findChild<QRadioButton*>("添加模式")->click();
    dialog->findChild<QPushButton*>("确定按钮")->click();
    EXPECT_EQ(prompter.messages().back(), (Message{"文件导入完毕！\r\n导入 1 种材料。", "", 64}));
    const Grid& m = window->document().materials;
    EXPECT_EQ(m.rowCount(), before.rowCount() + 1);
    EXPECT_EQ(m.text(m.rowCount() - 1, MaterialColumn::kName), "膨胀螺栓");
    EXPECT_EQ(m.text(m.rowCount() - 1, MaterialColumn::kSpec), "M12");
    EXPECT_TRUE(window->document().modified);
}

TEST_F(MaterialToolsTest, SearchMarksMatchesAndCancelRestoresTheShading) {
    window->pressPageButton(MainWindow::MaterialPage);
    Grid& m = window->document().materials;
    const auto rowOf = [&](std::string_view name) {
        for (int r = 1; r < m.rowCount(); ++r) {
            if (m.text(r, MaterialColumn::kName) == name) {
                return r;
            }
        }
        return 0;
    };
    m.setText(rowOf("木龙骨"), MaterialColumn::kName, "钢");
    const auto marked = [&] {
        std::vector<std::string> names;
        for (int r = 1; r < m.rowCount(); ++r) {
            if (m.style(r, MaterialColumn::kName).background == kMarkerColour) {
                names.emplace_back(m.text(r, MaterialColumn::kName));
            }
        }
        return names;
    };
    window->dispatch(Command::FindMaterial);
    auto* search = window->findChild<QDialog*>("查找窗口");
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->windowTitle(), "查找");
    EXPECT_FALSE(search->isModal());
    auto* exact = search->findChild<QCheckBox*>("精确匹配");
    EXPECT_FALSE(exact->isChecked());
    auto* text = search->findChild<QLineEdit*>("查找文本");
    text->setText(" 钢 ");
    QTest::keyClick(text, Qt::Key_Return);  // the default button
    EXPECT_EQ(marked(), (std::vector<std::string>{"钢", "塑钢窗", "钢化玻璃", "不锈钢扶手",
                                                  "镀锌角钢", "拉丝不锈钢板"}));
    // The cursor goes to the first match, and 下一个/上一个 go through them, round the ends.
    auto* result = search->findChild<QLabel*>("查找结果");
    const auto cursorName = [&] {
        return std::string(m.text(m.cursor().row, MaterialColumn::kName));
    };
    EXPECT_EQ(cursorName(), "钢");
    EXPECT_EQ(result->text(), "第 1 个，共 6 个");
    search->findChild<QPushButton*>("下一个按钮")->click();
    EXPECT_EQ(cursorName(), "塑钢窗");
    EXPECT_EQ(result->text(), "第 2 个，共 6 个");
    auto* previous = search->findChild<QPushButton*>("上一个按钮");
    previous->click();
    previous->click();
    EXPECT_EQ(cursorName(), "拉丝不锈钢板");
    EXPECT_EQ(result->text(), "第 6 个，共 6 个");
    // Ctrl+G in the table goes on from there, and says where it is.
    auto* table = window->findChild<GridView*>("材料表");
    QTest::keyClick(table, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(cursorName(), "钢");
    EXPECT_EQ(prompter.status(), "第 1 个，共 6 个");
    QTest::keyClick(table, Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(cursorName(), "拉丝不锈钢板");
    EXPECT_EQ(table->currentIndex().row(), m.cursor().row) << "the view shows the cursor";

    exact->setChecked(true);
    search->findChild<QPushButton*>("查找按钮")->click();
    EXPECT_EQ(marked(), std::vector<std::string>{"钢"});
    EXPECT_EQ(cursorName(), "钢");
    const CellPos cursor = m.cursor();
    text->setText("铜");
    search->findChild<QPushButton*>("查找按钮")->click();
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(m.cursor(), cursor);
    EXPECT_EQ(result->text(), "没有查找到的材料");
    window->dispatch(Command::FindNextMaterial);
    EXPECT_EQ(prompter.status(), "没有查找到的材料，请先查找。");
    EXPECT_TRUE(search->isVisible());

    exact->setChecked(false);
    text->setText("板");
    search->findChild<QPushButton*>("查找按钮")->click();
    EXPECT_FALSE(marked().empty());
    search->findChild<QPushButton*>("取消按钮")->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(m.style(2, MaterialColumn::kName).background, kMaterialBand);
    EXPECT_TRUE(window->findChild<GridView*>("材料表")->hasFocus() ||
                QApplication::focusWidget() == nullptr);
}

// Chooses an entry of the pop-up that a right press on the view opened.
void choosePopupEntry(MainWindow& window, GridView& view, int row, const char* menu,
                      const QString& entry) {
    emit view.cellPressed(row, 1, Qt::RightButton, QPoint());
    auto* popup = window.findChild<QMenu*>(menu);
    ASSERT_NE(popup, nullptr);
    for (QAction* action : popup->actions()) {
        if (action->text() == entry) {
            ASSERT_TRUE(action->isEnabled());
            action->trigger();
        }
    }
    delete popup;
}

TEST_F(MaterialToolsTest, TheTablesLeaveAsWorkbooksFromTheirPopups) {
    window->pressPageButton(MainWindow::MaterialPage);
    const auto materials = dir / "材料.xlsx";
    prompter.answerFile(materials.string());
    choosePopupEntry(*window, *window->findChild<GridView*>("材料表"), 2, "材料", "导出为Excel…");
    const auto rows = readFirstSheet(test::readFile(materials), 7);
    ASSERT_TRUE(rows);
    EXPECT_EQ((*rows)[0].cells[1], "类别");
    EXPECT_EQ((*rows)[1].cells[2], window->document().materials.text(1, 2));
    EXPECT_EQ(prompter.status(), "导出完毕");

    // Every table: the statistics are built for it though their page was never shown.
    window->pressPageButton(MainWindow::AnalysisPage);
    ASSERT_FALSE(window->statistics().built());
    const auto all = dir / "全部.xlsx";
    prompter.answerFile(all.string());
    choosePopupEntry(*window, *window->findChild<GridView*>("分析表"), 3, "分析",
                     "导出全部为Excel…");
    EXPECT_TRUE(window->statistics().built());
    const auto analysis = readFirstSheet(test::readFile(all), 2);
    ASSERT_TRUE(analysis);
    EXPECT_EQ((*analysis)[0].cells, (std::vector<std::string>{"序号", "部位名称"}));
    EXPECT_TRUE(prompter.messages().empty());
}

}  // namespace
}  // namespace tf::gui

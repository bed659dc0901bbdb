// 工程对比 and the versions through the main window: a version saved, the project changed,
// the comparison window opened on the version, a location line followed into 分析表, the
// version restored.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "core/base/number_text.h"
#include "core/project/analysis_layout.h"
#include "core/versions/project_versions.h"
#include "gui/compare/comparison_window.h"
#include "gui/compare/versions_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/grid_view.h"
#include "tests/gui/event_wait.h"
#include "tests/gui/sample_window.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

TEST(ComparisonWindow, AVersionComparedFollowedIntoTheAnalysisTableAndRestored) {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    auto window = test::openSampleWindow(dir.path(), prompter, 3);
    ASSERT_TRUE(window);
    ProjectDocument& doc = window->document();

    prompter.answerInput("初稿");
    window->dispatch(Command::SaveVersion);
    ASSERT_EQ(listVersions(pathFromUtf8(doc.path)).size(), 1u);
    EXPECT_EQ(prompter.status(), "已保存版本：初稿");

    // The second location's first material grows by 10.
    const int row = doc.locations[1].first;
    const std::string location(doc.analysis.text(row, AnalysisColumn::kLocation));
    const std::string material(doc.analysis.text(row, AnalysisColumn::kMaterialName));
    const double quantity = parseNumber(doc.analysis.text(row, AnalysisColumn::kMaterialQuantity));
    doc.analysis.setText(row, AnalysisColumn::kMaterialQuantity, formatNumber(quantity + 10));

    prompter.answerFile(utf8FromPath(listVersions(pathFromUtf8(doc.path))[0].file));
    window->dispatch(Command::CompareProjects);
    ComparisonWindow* comparison = nullptr;
    ASSERT_TRUE(
        test::waitUntil([&] { return (comparison = test::shownWindow<ComparisonWindow>()); }));
    const QString summary = comparison->findChild<QLabel*>("对比摘要")->text();
    EXPECT_TRUE(summary.contains("部位变化：1")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("材料变化：1")) << summary.toStdString();

    // Only the changes: the location, its item and the material.
    const Grid& lines = comparison->shownGrid();
    ASSERT_EQ(lines.rowCount(), 4);
    EXPECT_EQ(lines.text(1, 0), location);
    EXPECT_EQ(lines.text(3, 3), material);
    EXPECT_EQ(lines.text(3, 7), "10");
    EXPECT_EQ(lines.text(3, 11), "增加");
    comparison->findChild<QCheckBox*>()->setChecked(false);
    EXPECT_GT(comparison->shownGrid().rowCount(), 4) << "every line";
    comparison->findChild<QCheckBox*>()->setChecked(true);

    auto* view = qobject_cast<GridView*>(comparison->findChild<QTabWidget*>()->widget(0));
    ASSERT_TRUE(view);
    emit view->doubleClicked(view->model()->index(1, 0));
    EXPECT_EQ(window->analysisView().currentIndex().row(), doc.locations[1].first)
        << prompter.status();
    comparison->close();

    // Restored: the project is the version again, and what it was is a version.
    window->dispatch(Command::ShowVersions);
    VersionsDialog* versions = nullptr;
    ASSERT_TRUE(test::waitUntil([&] { return (versions = test::shownWindow<VersionsDialog>()); }));
    auto* list = versions->findChild<QTreeWidget*>("版本列表");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(1), "初稿");
    EXPECT_FALSE(list->topLevelItem(0)->text(2).isEmpty()) << "its total cost";
    prompter.answer(Answer::Yes);
    for (QPushButton* b : versions->findChildren<QPushButton*>()) {
        if (b->text() == "恢复此版本") {
            b->click();
        }
    }
    EXPECT_EQ(doc.analysis.text(doc.locations[1].first, AnalysisColumn::kMaterialQuantity),
              formatNumber(quantity));
    EXPECT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(1), "恢复前 初稿");
    versions->close();
}

}  // namespace
}  // namespace tf::gui

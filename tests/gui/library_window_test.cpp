// The price library through the main window: 材料表 repriced from a library after a preview,
// in one undo step; the table's prices saved into it; the library browsed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "core/library/library_location.h"
#include "core/library/repricing.h"
#include "core/shell/app_settings.h"
#include "gui/library/library_browser.h"
#include "gui/library/reprice_dialog.h"
#include "gui/shell/main_window.h"
#include "tests/gui/event_wait.h"
#include "tests/gui/sample_window.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

const LibraryMaterial kCement{"水泥砂浆", "普通硅酸盐水泥", "P.O 42.5", "吨"};

double priceOf(const ProjectDocument& doc, std::string_view name) {
    for (const RepriceLine& line : projectMaterials(doc)) {
        if (line.material.name == name) {
            return line.oldPrice;
        }
    }
    return -1;
}

TEST(LibraryWindow, RepricedAfterAPreviewInOneUndoStepAndBrowsed) {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    auto window = test::openSampleWindow(dir.path(), prompter, 3);
    ASSERT_TRUE(window);
    const std::string location = utf8FromPath(dir / "价格库.sqlite");
    window->settings().setText("Library", "Location", location);
    ProjectDocument& doc = window->document();
    const double cement = priceOf(doc, "普通硅酸盐水泥");
    ASSERT_GT(cement, 0);
    openPriceLibrary(location)->importPrices({{kCement, cement + 20}}, "2026-03-01", "三月");

    prompter.answerInput("2026-06-30");
    window->dispatch(Command::RepriceFromLibrary);
    RepriceDialog* preview = nullptr;
    ASSERT_TRUE(test::waitUntil([&] { return (preview = test::shownWindow<RepriceDialog>()); }));
    const QString summary = preview->findChild<QLabel*>("取价摘要")->text();
    EXPECT_TRUE(summary.startsWith("按 2026-06-30 的价格：1 种材料改价")) << summary.toStdString();
    EXPECT_EQ(priceOf(doc, "普通硅酸盐水泥"), cement) << "nothing before 应用";
    preview->findChild<QDialogButtonBox*>()->buttons().first()->click();
    EXPECT_EQ(priceOf(doc, "普通硅酸盐水泥"), cement + 20);
    EXPECT_TRUE(doc.modified);
    window->dispatch(Command::Undo);
    EXPECT_EQ(priceOf(doc, "普通硅酸盐水泥"), cement) << "one undo step";
    EXPECT_EQ(prompter.status(), "撤销 从价格库取价");

    // The table's own prices into the library: every material is known there from today.
    window->dispatch(Command::SavePricesToLibrary);
    EXPECT_TRUE(prompter.status().starts_with("已存入价格库：新增 ")) << prompter.status();
    const auto all = openPriceLibrary(location)->search("");
    EXPECT_EQ(all.size(), projectMaterials(doc).size());

    window->dispatch(Command::BrowseLibrary);
    LibraryBrowser* browser = nullptr;
    ASSERT_TRUE(test::waitUntil([&] { return (browser = test::shownWindow<LibraryBrowser>()); }));
    browser->findChild<QLineEdit*>("价格库查找")->setText("硅酸盐");
    auto* materials = browser->findChild<QTreeWidget*>("价格库材料");
    ASSERT_EQ(materials->topLevelItemCount(), 1);
    materials->setCurrentItem(materials->topLevelItem(0));
    auto* history = browser->findChild<QTreeWidget*>("价格历史");
    ASSERT_EQ(history->topLevelItemCount(), 2);
    EXPECT_EQ(history->topLevelItem(0)->text(0), "2026-03-01");
    EXPECT_EQ(history->topLevelItem(0)->text(2), "三月");
    browser->close();
}

TEST(LibraryWindow, ALibraryThatCannotBeOpenedLeavesTheProjectAlone) {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    auto window = test::openSampleWindow(dir.path(), prompter, 2);
    ASSERT_TRUE(window);
    window->settings().setText("Library", "Location", utf8FromPath(dir / "没有" / "库.sqlite"));
    const bool modified = window->document().modified;
    prompter.answerInput("2026-06-30");
    window->dispatch(Command::RepriceFromLibrary);
    ASSERT_FALSE(prompter.messages().empty());
    EXPECT_TRUE(prompter.messages().back().text.starts_with("价格库无法使用："));
    EXPECT_EQ(window->document().modified, modified);
    EXPECT_EQ(test::shownWindow<RepriceDialog>(), nullptr);
}

}  // namespace
}  // namespace tf::gui

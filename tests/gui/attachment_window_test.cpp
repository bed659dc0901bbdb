#include "gui/attach/attachment_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "core/materials/material_layout.h"
#include "core/project/analysis_layout.h"
#include "gui/entry/entry_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/grid_view.h"
#include "tests/gui/sample_window.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

using C = AttachCommand;

// The main window on a saved sample project of three locations.
class AttachmentWindowTest : public ::testing::Test {
  protected:
    AttachmentWindowTest() : window(test::openSampleWindow(dir.path(), prompter, 3)) {}

    AttachmentWindow* attachments() { return window->findChild<AttachmentWindow*>(); }
    std::vector<QString> enabledButtons() {
        std::vector<QString> on;
        for (const AttachCommandText& t : attachCommandTexts()) {
            if (attachments()->toolbarAction(t.command)->isEnabled()) {
                on.push_back(attachments()->toolbarAction(t.command)->text());
            }
        }
        return on;
    }
    std::vector<QString> entries(QMenu* menu) {
        std::vector<QString> texts;
        for (QAction* a : menu->actions()) {
            texts.push_back(a->text());
        }
        delete menu;
        return texts;
    }
    std::string source(const std::string& name, const std::string& content) {
        test::writeFile(dir.path() / name, content);
        return (dir.path() / name).string();
    }
    void pressLocation(int k) {
        const int row = window->document().locations[static_cast<std::size_t>(k)].first;
        GridView* view = window->findChild<GridView*>("分析表");
        emit view->cellPressed(row, AnalysisColumn::kLocation, Qt::LeftButton, {});
    }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;
};

TEST_F(AttachmentWindowTest, TheEntryDialogGathersAttachmentsAndConfirmStoresThem) {
    window->dispatch(Command::AddEntry);
    EntryDialog& entry = window->entryDialog();
    auto* button = entry.findChild<QToolButton*>("附加资料按钮");
    ASSERT_TRUE(button && button->isEnabled());
    EXPECT_EQ(button->toolTip(), "为部位附加资料");
    button->click();
    AttachmentWindow* w = attachments();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "附加资料 - 新部位") << "the location has no name yet";
    EXPECT_EQ(w->manager().mode(), AttachMode::Edit);
    EXPECT_EQ(enabledButtons(), (std::vector<QString>{"文件夹", "子夹"}));
    EXPECT_EQ(w->toolbarAction(C::Screenshot)->toolTip(), "截取屏幕为图片");

    w->toolbarAction(C::NewFolder)->trigger();
    ASSERT_EQ(w->folders().topLevelItemCount(), 1);
    EXPECT_EQ(w->folders().topLevelItem(0)->text(0), "新建文件夹");
    EXPECT_EQ(enabledButtons().size(), 8u) << "a folder, no file";
    EXPECT_FALSE(entry.form().attachments.empty()) << "handed back at once";

    prompter.answerFile(source("report.DOC", "document"));
    w->toolbarAction(C::AddFile)->trigger();
    ASSERT_EQ(w->files().topLevelItemCount(), 1);
    QTreeWidgetItem* file = w->files().topLevelItem(0);
    EXPECT_EQ(file->text(0), "report.DOC");
    EXPECT_EQ(file->text(3), "8");
    EXPECT_FALSE(file->icon(0).isNull());
    EXPECT_EQ(enabledButtons().size(), 13u);
    prompter.answerInput("业主确认版");
    w->toolbarAction(C::Describe)->trigger();
    EXPECT_EQ(w->files().topLevelItem(0)->text(1), "业主确认版");
    const std::string block = entry.form().attachments;
    EXPECT_EQ(parseAttachmentStore(block)->files.at(0).description, "业主确认版");

    // The location goes in with its attachments; the window follows the cleared form.
    EntryForm& form = entry.form();
    form.location = "2层书房";
    form.grid().setText(1, EntryColumn::kCode, "030201");
    form.grid().setText(1, EntryColumn::kWorkQuantity, "5");
    form.pickMaterial(
        1, std::stoi(std::string(window->document().materials.text(1, MaterialColumn::kId))));
    form.grid().setText(1, EntryColumn::kMaterialQuantity, "5");
    entry.findChild<QLineEdit*>("部位名称")->setText("2层书房");
    entry.confirm();
    const auto& doc = window->document();
    ASSERT_EQ(doc.locations.size(), 4u);
    EXPECT_EQ(doc.attachments.records.at(static_cast<std::size_t>(doc.locations[3].first)), block);
    EXPECT_EQ(w->folders().topLevelItemCount(), 0) << "a fresh form has no attachments";
    EXPECT_EQ(w->manager().mode(), AttachMode::Edit);

    entry.close();
    EXPECT_FALSE(w->isVisible()) << "nothing can be handed back to a closed dialog";

    // F6: the new location's attachments in view mode.
    pressLocation(3);
    window->dispatch(Command::ViewAttachments);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->manager().mode(), AttachMode::View);
    EXPECT_EQ(w->windowTitle(), "附加资料 - 2层书房") << "the location whose files it shows";
    EXPECT_EQ(enabledButtons(), (std::vector<QString>{"查目录", "取所有"}));
    EXPECT_EQ(w->treeMenu(), nullptr);
    w->folders().setCurrentItem(w->folders().topLevelItem(0));
    w->files().setCurrentItem(w->files().topLevelItem(0));
    EXPECT_EQ(enabledButtons(), (std::vector<QString>{"查目录", "编辑", "取当前", "取所有"}));
    EXPECT_EQ(entries(w->listMenu()), (std::vector<QString>{"打开文件所在目录", "用外部程序打开",
                                                            "释放当前文件", "释放所有文件"}));
    // Another location pressed in 分析表: the window follows it.
    pressLocation(0);
    EXPECT_EQ(w->folders().topLevelItemCount(), 0);
    pressLocation(3);
    EXPECT_EQ(w->folders().topLevelItemCount(), 1);
    EXPECT_TRUE(w->folders().topLevelItem(0)->isSelected() ||
                w->folders().currentItem() == nullptr);
    // The location deleted: the question names it and its file, which leave the window.
    prompter.answer(Answer::Yes);
    window->dispatch(Command::DeleteLocation);
    EXPECT_EQ(prompter.messages().back().text,
              "确定删除当前部位“2层书房”的全部数据吗？\r\n它的 1 个附加文件也将一并删除。");
    ASSERT_EQ(window->document().locations.size(), 3u);
    EXPECT_EQ(w->folders().topLevelItemCount(), 0);
    // Undone, and the entry that made it undone too: the window follows the location the
    // cursor stands on, and shows nothing of a location that is gone.
    window->dispatch(Command::Undo);
    QCoreApplication::processEvents();  // the view catches up with the table
    auto* view = window->findChild<GridView*>("分析表");
    const int row = window->document().locations[3].first;
    view->setCurrentIndex(view->model()->index(row, AnalysisColumn::kItemCode));
    pressLocation(3);
    ASSERT_EQ(w->folders().topLevelItemCount(), 1);
    window->dispatch(Command::Undo);
    ASSERT_EQ(window->document().locations.size(), 3u);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->folders().topLevelItemCount(), 0);
    QCoreApplication::processEvents();
    window->dispatch(Command::Redo);
    ASSERT_EQ(window->document().locations.size(), 4u);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->currentIndex().row(), row);
    EXPECT_EQ(w->folders().topLevelItemCount(), 1) << "back with its location";
}

TEST_F(AttachmentWindowTest, MenusCarryTheirEntriesAndModifyKeepsTheBlock) {
    // A location with attachments, modified: its block is in the form and the window.
    AttachmentStore store;
    store.addFolder(0);
    store.folders[0].name = "照片";
    store.files.push_back({"客厅.jpg", "", "2026-12-09 10:00:00", "JPEG", 2});
    const std::string block = serializeAttachmentStore(store);
    auto& doc = window->document();
    doc.attachments.records[static_cast<std::size_t>(doc.locations[1].first)] = block;

    pressLocation(1);
    window->dispatch(Command::ModifyEntry);
    EntryDialog& entry = window->entryDialog();
    EXPECT_EQ(entry.form().attachments, block);
    entry.findChild<QToolButton*>("附加资料按钮")->click();
    AttachmentWindow* w = attachments();
    ASSERT_EQ(w->folders().topLevelItemCount(), 1);
    EXPECT_EQ(w->folders().topLevelItem(0)->text(0), "照片");
    EXPECT_EQ(entries(w->treeMenu()),
              (std::vector<QString>{"添加文件夹", "添加子夹", "删除文件夹", "命名"}));
    w->folders().setCurrentItem(w->folders().topLevelItem(0));
    QMenu* list = w->listMenu();
    std::vector<bool> enabled;
    for (QAction* a : list->actions()) {
        enabled.push_back(a->isEnabled());
    }
    EXPECT_EQ(entries(list), (std::vector<QString>{"打开文件所在目录", "用外部程序打开",
                                                   "释放当前文件", "释放所有文件", "添加", "删除",
                                                   "添加一幅截图", "描述", "更新"}));
    EXPECT_EQ(enabled,
              (std::vector<bool>{true, false, false, false, true, false, true, false, false}))
        << "a folder without a selected file: release all is on the toolbar only";
    entry.confirm();
    EXPECT_EQ(doc.attachments.records[static_cast<std::size_t>(doc.locations[1].first)], block)
        << "a modified location keeps its attachments";
}

}  // namespace
}  // namespace tf::gui

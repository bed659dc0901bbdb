#include "core/attach/attachment_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "core/base/time_text.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {
namespace fs = std::filesystem;
using C = AttachCommand;
using S = AttachSurface;

struct FakeDesktop : AttachmentDesktop {
    std::vector<std::string> calls;
    bool opens = true;
    std::vector<std::string> pictures;  // handed out in turn
    bool openFolder(const fs::path& folder) override {
        calls.push_back("folder " + utf8FromPath(folder.filename()));
        return opens;
    }
    bool openFile(const fs::path& file) override {
        calls.push_back("open " + utf8FromPath(file.filename()));
        return opens;
    }
    bool showInFolder(const fs::path& file) override {
        calls.push_back("show " + utf8FromPath(file.filename()));
        return opens;
    }
    std::optional<std::string> captureScreen(bool hideOwner) override {
        calls.push_back(hideOwner ? "capture hidden" : "capture");
        if (pictures.empty()) {
            return std::nullopt;
        }
        std::string picture = pictures.front();
        pictures.erase(pictures.begin());
        return picture;
    }
};

class AttachmentManagerTest : public ::testing::Test {
  protected:
    AttachmentManagerTest() : manager(prompter, desktop, dir.path() / "MTemp") {
        manager.handBack = [this](const std::string& block) { handedBack.push_back(block); };
        manager.load("", AttachMode::Edit, 1 << 20);
    }
    fs::path file(const std::string& name, const std::string& content) {
        const fs::path path = dir.path() / "source" / pathFromUtf8(name);
        fs::create_directories(path.parent_path());
        test::writeFile(path, content);
        return path;
    }
    // The store as the owner holds it now.
    AttachmentStore owned() { return *parseAttachmentStore(handedBack.back()); }
    std::vector<std::string> released() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path() / "MTemp")) {
            names.push_back(utf8FromPath(e.path().filename()));
        }
        std::ranges::sort(names);
        return names;
    }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    FakeDesktop desktop;
    AttachmentManager manager;
    std::vector<std::string> handedBack;
};

// The enabling table, row by row: which commands each situation enables on the toolbar.
TEST_F(AttachmentManagerTest, EnablingFollowsModeFolderAndFile) {
    const auto enabledSet = [&](S surface) {
        std::vector<C> on;
        for (const auto& t : attachCommandTexts()) {
            if (manager.enabled(t.command, surface)) {
                on.push_back(t.command);
            }
        }
        return on;
    };
    EXPECT_EQ(enabledSet(S::Toolbar), (std::vector<C>{C::NewFolder, C::NewSubfolder}))
        << "edit mode, a new store";
    manager.run(C::NewFolder, S::TreeMenu);
    EXPECT_EQ(manager.selectedFolder(), 2);
    const std::vector<C> folderOnly = {C::NewFolder,    C::NewSubfolder, C::DeleteFolder,
                                       C::RenameFolder, C::OpenFolder,   C::ReleaseAll,
                                       C::AddFile,      C::Screenshot};
    EXPECT_EQ(enabledSet(S::Toolbar), folderOnly);
    EXPECT_FALSE(manager.enabled(C::ReleaseAll, S::ListMenu)) << "only on the toolbar";
    manager.addFile(utf8FromPath(file("a.txt", "a")));
    EXPECT_EQ(enabledSet(S::ListMenu).size(), 13u) << "edit mode, a file: everything";

    manager.load(handedBack.back(), AttachMode::View, 1 << 20);
    EXPECT_EQ(enabledSet(S::Toolbar), (std::vector<C>{C::OpenFolder, C::ReleaseAll}));
    manager.selectFolder(2);
    manager.selectFile(0);
    EXPECT_EQ(enabledSet(S::ListMenu),
              (std::vector<C>{C::OpenFolder, C::OpenExternal, C::ReleaseCurrent, C::ReleaseAll}));
    const std::size_t handed = handedBack.size();
    manager.run(C::NewFolder, S::TreeMenu);
    manager.deleteFile();
    manager.newFolder(false);
    EXPECT_EQ(manager.store().folders.size(), 1u) << "view mode changes nothing";
    EXPECT_EQ(handedBack.size(), handed);
}

TEST_F(AttachmentManagerTest, FoldersAreMadeNamedAndDeletedWithTheirFilesOnYes) {
    manager.newFolder(false);
    prompter.answerInput("图纸");
    manager.renameFolder();
    EXPECT_EQ(prompter.questions().back().title, "文件夹命名");
    EXPECT_EQ(prompter.questions().back().prompt, "请输入新的文件夹名称：");
    EXPECT_EQ(prompter.questions().back().initial, "新建文件夹");
    manager.newFolder(true);
    EXPECT_EQ(owned().folders.back().parent, 2);
    manager.addFile(utf8FromPath(file("节点.DWG", "dwg")));
    manager.newFolder(false);  // 照片, key 4
    manager.addFile(utf8FromPath(file("客厅.jpg", "jpg")));
    ASSERT_EQ(owned().files.size(), 2u);

    manager.selectFolder(2);
    prompter.answer(Answer::No);
    manager.deleteFolder();
    EXPECT_EQ(prompter.messages().back().text, "删除后无法恢复，真的要删除吗？");
    EXPECT_EQ(prompter.messages().back().flags, MessageFlags::kYesNoWarningDefaultNo);
    EXPECT_EQ(owned().folders.size(), 3u) << "No keeps it";
    prompter.answer(Answer::Yes);
    manager.deleteFolder();
    const AttachmentStore left = owned();
    ASSERT_EQ(left.folders.size(), 1u) << "the folder and its subfolder";
    ASSERT_EQ(left.files.size(), 1u);
    EXPECT_EQ(left.files[0].name, "客厅.jpg");
    EXPECT_FALSE(manager.selectedFolder());
}

TEST_F(AttachmentManagerTest, FilesAreAddedDescribedAndDeletedWithTheirIcons) {
    EXPECT_EQ(attachmentIcon("report.DOC"), 1);
    EXPECT_EQ(attachmentIcon("README"), 4);
    EXPECT_EQ(attachmentIcon("plan.Dwg"), 0);
    EXPECT_EQ(attachmentIcon("sheet.xls"), 2);
    EXPECT_EQ(attachmentIcon("a.b.TXT"), 3);
    EXPECT_EQ(attachmentIcon("clip.3gp"), 6);
    EXPECT_EQ(attachmentIcon("photo.jpeg"), 4) << "only the listed extensions";

    manager.newFolder(false);
    const fs::path source = file("report.DOC", std::string("\0doc\xFF", 5));
    prompter.answerFile(utf8FromPath(source));
    manager.run(C::AddFile, S::ListMenu);
    AttachmentStore s = owned();
    ASSERT_EQ(s.files.size(), 1u);
    EXPECT_EQ(s.files[0].name, "report.DOC");
    EXPECT_EQ(s.files[0].content, std::string("\0doc\xFF", 5));
    EXPECT_EQ(s.files[0].size(), 5u);
    EXPECT_EQ(s.files[0].time, fileTimeText(source));
    EXPECT_EQ(s.files[0].folder, 2);
    EXPECT_EQ(manager.selectedFile(), 0u);

    prompter.answerInput("业主确认版");
    manager.describeFile();
    EXPECT_EQ(prompter.questions().back().title, "文件描述");
    EXPECT_EQ(prompter.questions().back().prompt, "输入对本文件的描述信息。");
    EXPECT_EQ(owned().files[0].description, "业主确认版");

    // Unreadable and too large files change nothing and say so.
    const std::size_t handed = handedBack.size();
    manager.addFile(utf8FromPath(dir.path() / "missing.jpg"));
    EXPECT_EQ(prompter.messages().back().text, "文件无法读取，未作改动。");
    manager.load(handedBack.back(), AttachMode::Edit, 200);
    manager.selectFolder(2);
    manager.addFile(utf8FromPath(file("big.jpg", std::string(300, 'x'))));
    EXPECT_EQ(prompter.messages().back().text,
              "附加后工程文件将超出所能容纳的大小，文件未能添加。");
    EXPECT_EQ(handedBack.size(), handed);
    EXPECT_EQ(manager.store().files.size(), 1u);

    manager.selectFile(0);
    prompter.answer(Answer::No);
    manager.deleteFile();
    EXPECT_EQ(prompter.messages().back().text, "删除后不可恢复，要继续吗？");
    EXPECT_EQ(owned().files.size(), 1u);
    prompter.answer(Answer::Yes);
    manager.deleteFile();
    EXPECT_TRUE(owned().files.empty());
    EXPECT_EQ(owned().folders.size(), 1u);
}

TEST_F(AttachmentManagerTest, ReleasingOpeningAndReadingBackEditedCopies) {
    manager.newFolder(false);
    manager.addFile(utf8FromPath(file("a.txt", "first")));
    manager.addFile(utf8FromPath(file("../../x", "hostile")));  // a name from a damaged project
    AttachmentStore s = owned();
    s.files[1].name = "../../x";
    manager.load(serializeAttachmentStore(s), AttachMode::Edit, 1 << 20);
    manager.selectFolder(2);

    manager.selectFile(0);
    prompter.answer(Answer::No);
    manager.releaseCurrent();
    prompter.answer(Answer::Yes);
    manager.releaseCurrent();
    EXPECT_EQ(released(), (std::vector<std::string>{"a.txt"})) << "released twice, one file";
    EXPECT_EQ(prompter.messages().back().text, "文件已经释放在 " +
                                                   utf8FromPath(dir.path() / "MTemp" / "a.txt") +
                                                   "\r\n是否打开文件所在目录？");
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{"show a.txt"}));

    manager.selectFile(1);
    manager.openExternal();
    EXPECT_EQ(released(), (std::vector<std::string>{".._.._x", "a.txt"})) << "not emptied";
    EXPECT_FALSE(fs::exists(dir.path() / "x"));
    EXPECT_EQ(desktop.calls.back(), "open .._.._x");
    desktop.opens = false;
    manager.openExternal();
    EXPECT_EQ(prompter.messages().back().text,
              "文件打开失败，或许是因为文件关联出错，请修复系统重新再试。");
    desktop.opens = true;

    prompter.answer(Answer::Yes);
    manager.releaseAll();
    EXPECT_EQ(released(), (std::vector<std::string>{".._.._x", "a.txt"}));
    EXPECT_EQ(desktop.calls.back(), "folder MTemp");

    // Update: unchanged or missing copies report success and change nothing.
    const std::size_t handed = handedBack.size();
    manager.selectFile(0);
    prompter.answer(Answer::Ok);
    manager.updateFile();
    EXPECT_EQ(prompter.messages().back().text, "文件更新成功！");
    EXPECT_EQ(handedBack.size(), handed);
    fs::remove(dir.path() / "MTemp" / "a.txt");
    manager.updateFile();
    EXPECT_EQ(prompter.messages().back().text, "文件更新成功！");
    EXPECT_EQ(handedBack.size(), handed);
    // An edited copy (another modification time) is read back.
    test::writeFile(dir.path() / "MTemp" / "a.txt", "edited");
    fs::last_write_time(dir.path() / "MTemp" / "a.txt",
                        fs::file_time_type::clock::now() + std::chrono::hours(1));
    manager.updateFile();
    ASSERT_EQ(handedBack.size(), handed + 1);
    EXPECT_EQ(owned().files[0].content, "edited");
    EXPECT_EQ(owned().files[0].time, fileTimeText(dir.path() / "MTemp" / "a.txt"));
}

TEST_F(AttachmentManagerTest, ReleasedCopiesKeepTheirTimeAndEditsAreNotLostOrMixedUp) {
    // Two folders with a file of the same name, and a third file; times long past.
    AttachmentStore s;
    s.addFolder(0);
    s.addFolder(0);
    s.files = {{"x.txt", "", "2020-01-02 03:04:05", "from A", 2},
               {"x.txt", "", "2021-05-06 07:08:09", "from B", 3},
               {"plan.dwg", "", "2022-01-01 00:00:00", "plan", 2}};
    manager.load(serializeAttachmentStore(s), AttachMode::Edit, 1 << 20);
    const fs::path copy = dir.path() / "MTemp" / "x.txt";

    manager.selectFolder(2);
    manager.selectFile(0);
    prompter.answer(Answer::No);
    manager.releaseCurrent();
    EXPECT_EQ(fileTimeText(copy), "2020-01-02 03:04:05") << "the copy carries the file's time";
    prompter.answer(Answer::Ok);
    manager.updateFile();
    EXPECT_TRUE(handedBack.empty()) << "an unchanged copy changes nothing";

    // Edited, then another file released: the edit is named and No keeps it.
    test::writeFile(copy, "edited A");
    prompter.clear();
    manager.selectFile(2);
    prompter.answer(Answer::No);
    manager.releaseCurrent();
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].text,
              "临时目录中的以下文件已被修改，尚未更新到工程中：\r\nx.txt\r\n"
              "释放文件将清空临时目录，这些修改会丢失。是否继续？");
    EXPECT_EQ(prompter.messages()[0].flags, MessageFlags::kYesNoWarningDefaultNo);
    EXPECT_EQ(test::readFile(copy), "edited A");

    // The other folder's x.txt released over it; A's 更新 does not take B's copy.
    manager.selectFolder(3);
    prompter.answer(Answer::Yes);  // the edit may go
    prompter.answer(Answer::No);   // no folder to open
    manager.releaseAll();
    EXPECT_EQ(test::readFile(copy), "from B");
    test::writeFile(copy, "edited B");
    manager.selectFolder(2);
    manager.selectFile(0);
    prompter.answer(Answer::Ok);
    manager.updateFile();
    EXPECT_TRUE(handedBack.empty());
    EXPECT_EQ(manager.store().files[0].content, "from A");
    manager.selectFolder(3);
    manager.selectFile(1);
    prompter.answer(Answer::Ok);
    manager.updateFile();
    ASSERT_EQ(handedBack.size(), 1u);
    EXPECT_EQ(owned().files[1].content, "edited B") << "B's own copy is read back";

    // A folder keeps its name when the new one is blank.
    prompter.answerInput("  ");
    manager.renameFolder();
    EXPECT_EQ(manager.store().folders[1].name, "新建文件夹");
}

TEST_F(AttachmentManagerTest, FilesWhoseCleanedNamesMeetAreAllReleasedUnderNamesOfTheirOwn) {
    AttachmentStore s;
    s.addFolder(0);
    s.files = {{"x:1.txt", "", "2020-01-01 00:00:00", "colon", 2},
               {"x?1.txt", "", "2020-01-01 00:00:00", "question", 2},
               {"x_1.txt", "", "2020-01-01 00:00:00", "underscore", 2}};
    manager.load(serializeAttachmentStore(s), AttachMode::Edit, 1 << 20);
    manager.selectFolder(2);
    prompter.answer(Answer::No);  // no folder to open
    manager.releaseAll();
    const fs::path temp = dir.path() / "MTemp";
    EXPECT_EQ(test::readFile(temp / "x_1.txt"), "colon");
    EXPECT_EQ(test::readFile(temp / "x_1 (2).txt"), "question");
    EXPECT_EQ(test::readFile(temp / "x_1 (3).txt"), "underscore");

    // 更新 reads each file back from its own copy.
    test::writeFile(temp / "x_1 (2).txt", "question, edited");
    fs::last_write_time(temp / "x_1 (2).txt",
                        fs::file_time_type::clock::now() + std::chrono::hours(1));
    manager.selectFile(1);
    prompter.answer(Answer::Ok);
    manager.updateFile();
    ASSERT_EQ(handedBack.size(), 1u);
    EXPECT_EQ(owned().files[1].content, "question, edited");
    EXPECT_EQ(owned().files[0].content, "colon");
    EXPECT_EQ(owned().files[2].content, "underscore");
}

TEST_F(AttachmentManagerTest, ScreenshotsAreNumberedByTheFolderAndCancelTakesNone) {
    manager.newFolder(false);
    desktop.pictures = {"BM1", "BM2"};
    prompter.answer(Answer::Cancel);
    manager.addScreenshot();
    EXPECT_TRUE(desktop.calls.empty()) << "Cancel takes no picture";
    EXPECT_EQ(prompter.messages().back().text, "是否隐藏本程序界面，然后截图？");
    EXPECT_EQ(prompter.messages().back().caption, "截图：");
    prompter.answer(Answer::Yes);
    manager.addScreenshot();
    prompter.answer(Answer::No);
    manager.addScreenshot();
    prompter.answer(Answer::No);
    manager.addScreenshot();  // the capture was left without a picture
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{"capture hidden", "capture", "capture"}));
    const AttachmentStore s = owned();
    ASSERT_EQ(s.files.size(), 2u);
    EXPECT_EQ(s.files[0].name, "截图_1.bmp");
    EXPECT_EQ(s.files[1].name, "截图_2.bmp");
    EXPECT_EQ(s.files[1].content, "BM2");
    EXPECT_EQ(attachmentIcon(s.files[0].name), 5);
}

TEST_F(AttachmentManagerTest, ADamagedBlockOpensEmptyAndNothingIsHandedBackOverIt) {
    EXPECT_FALSE(manager.load("damaged", AttachMode::Edit, 1 << 20));
    EXPECT_EQ(manager.mode(), AttachMode::View);
    manager.newFolder(false);
    EXPECT_TRUE(handedBack.empty());
}

}  // namespace
}  // namespace tf

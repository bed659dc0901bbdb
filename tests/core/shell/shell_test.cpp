#include <gtest/gtest.h>

#include <map>

#include "core/project/project_io.h"
#include "core/shell/commands.h"
#include "core/shell/desktop_files.h"
#include "core/shell/lifecycle.h"
#include "core/shell/program_data.h"
#include "core/shell/shortcut_table.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

std::vector<std::string> captions(Menu menu) {
    std::vector<std::string> out;
    for (const auto& item : menuItems(menu)) {
        std::string text(item.caption);
        if (!item.keyText.empty()) {
            text += "\t" + std::string(item.keyText);
        }
        out.push_back(text);
    }
    return out;
}

TEST(Menus, CaptionsKeysAndSeparatorsAsListed) {
    using V = std::vector<std::string>;
    EXPECT_EQ(captions(Menu::File),
              (V{"工程向导", "-", "新建\tCtrl+N", "打开\tCtrl+O", "-", "保存\tCtrl+S", "另存为",
                 "-", "工程对比…", "保存版本…", "版本…", "-", "自动保存设置", "-", "打印\tCtrl+P",
                 "-", "退出"}));
    EXPECT_EQ(captions(Menu::Edit), (V{"分部分项表设置", "-", "表达式计算器\tF4", "-", "刷新\tF5",
                                       "-", "撤销\tCtrl+Z", "重做\tCtrl+Y"}));
    EXPECT_EQ(actionName(Command::DeleteLocation), "删除一组");
    EXPECT_EQ(actionName(Command::AddEntry), "添加新数据");
    EXPECT_EQ(actionName(Command::ImportMaterials), "导入数据");
    EXPECT_EQ(undoCaption("录入数据"), "撤销 录入数据");
    EXPECT_EQ(redoCaption(""), "重做");
    EXPECT_EQ(captions(Menu::Help), (V{"帮助主题\tF1", "-", "检查更新...", "关于(&A)..."}));
    EXPECT_EQ(captions(Menu::Analysis),
              (V{"添加新数据   (空格键)", "插入部位      Ins", "修改          F3", "-",
                 "删除一组      Ctrl+Del", "-", "统计数据      F2", "-", "查看附加资料  F6",
                 "查看单元格内容", "-", "导出为Excel…", "导出全部为Excel…"}));
    EXPECT_EQ(captions(Menu::Statistics),
              (V{"合计所有行", "连续类加", "-", "删除统计行", "-", "查找明细      Ctrl+双击",
                 "导出数据", "-", "导出为Excel…", "导出全部为Excel…"}));
    EXPECT_EQ(captions(Menu::Material),
              (V{"添加一行\tInsert", "删除一行    Ctrl+Del", "-", "导入数据", "导出数据", "-",
                 "从价格库取价…", "价格库…", "保存到价格库", "-", "查找", "查找下一个\tCtrl+G",
                 "查找上一个\tCtrl+Shift+G", "-", "材料关联\tF8", "-", "导出为Excel…",
                 "导出全部为Excel…"}));
    // Every entry of every menu says in the status bar what it does.
    for (const Menu menu : {Menu::File, Menu::Edit, Menu::Help, Menu::Analysis, Menu::Statistics,
                            Menu::Material, Menu::Entry}) {
        for (const MenuItem& item : menuItems(menu)) {
            EXPECT_TRUE(item.separator || !commandTip(item.command).empty()) << item.caption;
        }
    }
    EXPECT_EQ(commandTip(Command::InsertEntry),
              "在当前部位之前插入一个新部位，后面各部位的序号依次加一");
}

TEST(ShortcutTable, NumbersTheRegistrationsThatSucceed) {
    ShortcutTable table;
    std::vector<std::string> tried;
    table.registerAll("主窗口", [&](const ShortcutKey& key, int) {
        tried.push_back(key.key);
        return key.key != "O";  // another program holds Ctrl+O
    });
    EXPECT_EQ(tried, (std::vector<std::string>{"N", "O", "S", "P", "F4"}));
    ASSERT_EQ(table.entries().size(), 4u);
    EXPECT_EQ(table.entries()[1].key, "S");
    EXPECT_EQ(table.entries()[1].number, 2);
    EXPECT_EQ(table.entries()[1].modifiers, kControl);
    EXPECT_EQ(table.entries()[3].modifiers, kNoModifier);
    EXPECT_EQ(table.commandOf(2), Command::SaveProject);
    EXPECT_EQ(table.commandOf(4), Command::Calculator);
    EXPECT_FALSE(table.commandOf(5));
}

TEST(ProgramData, RoundTripsAndRefusesDamage) {
    const ProgramData data{1, {"欢迎使用 Tallyframe", "第二条消息"}};
    const std::string bytes = buildProgramData(data);
    EXPECT_EQ(parseProgramData(bytes), data);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\1\0\0\0", 4));
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_FALSE(parseProgramData(bytes.substr(0, cut))) << cut;
    }
    EXPECT_FALSE(parseProgramData(bytes + "x"));
    EXPECT_FALSE(parseProgramData(std::string("\1\0\0\0\xFF\xFF\xFF\xFF", 8)));
    EXPECT_EQ(parseProgramData(buildProgramData({7, {}})), (ProgramData{7, {}}));
}

class CloseTest : public ::testing::Test {
  protected:
    CloseTest() {
        resetProject(doc);
        doc.modified = true;
    }
    const test::ScriptedPrompter::Message kQuestion{"文件被修改，是否保存？", "询问:", 547};
    ProjectDocument doc;
    test::ScriptedPrompter prompter;
    test::TempDir dir;
};

TEST_F(CloseTest, UnmodifiedClosesWithoutAsking) {
    doc.modified = false;
    EXPECT_TRUE(confirmClose(doc, prompter));
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(CloseTest, CancelKeepsTheProgramAndTheProject) {
    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(confirmClose(doc, prompter));
    EXPECT_EQ(prompter.messages(), std::vector{kQuestion});
    EXPECT_TRUE(doc.modified);
}

TEST_F(CloseTest, NoClosesWithoutSaving) {
    prompter.answer(Answer::No);
    EXPECT_TRUE(confirmClose(doc, prompter));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
}

TEST_F(CloseTest, YesAsksForANameSavesAndCloses) {
    prompter.answer(Answer::Yes);
    prompter.answerFile(utf8FromPath(dir / "a.gdb"));
    EXPECT_TRUE(confirmClose(doc, prompter));
    EXPECT_TRUE(std::filesystem::exists(dir / "a.gdb"));
    EXPECT_FALSE(doc.modified);
}

TEST_F(CloseTest, YesThenCancelledNameKeepsTheProgramRunning) {
    prompter.answer(Answer::Yes);
    prompter.answerFile(std::nullopt);
    EXPECT_FALSE(confirmClose(doc, prompter));
    EXPECT_TRUE(doc.modified);
}

}  // namespace
}  // namespace tf

namespace tf {
namespace {

TEST(CommandLine, NamesOnlyAnExistingProjectFile) {
    test::TempDir dir;
    const auto spaced = dir / "My Projects";
    std::filesystem::create_directory(spaced);
    test::writeFile(spaced / "a.GDB", "x");
    test::writeFile(dir / "notes.txt", "x");
    const std::string base = utf8FromPath(dir.path());
    EXPECT_EQ(projectFromArguments({base + "/My", "Projects/a.GDB  "}),
              base + "/My Projects/a.GDB");
    EXPECT_FALSE(projectFromArguments({}));
    EXPECT_FALSE(projectFromArguments({base + "/notes.txt"}));
    EXPECT_FALSE(projectFromArguments({base + "/missing.gdb"}));
}

TEST_F(CloseTest, ReplacingAModifiedProjectAsksAndGoesOnUnlessCancelled) {
    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(settleBeforeReplacing(doc, prompter));
    prompter.answer(Answer::No);
    EXPECT_TRUE(settleBeforeReplacing(doc, prompter));
    prompter.answer(Answer::Yes);
    prompter.answerFile(std::nullopt);  // the save is cancelled: the project stays
    EXPECT_FALSE(settleBeforeReplacing(doc, prompter));
    EXPECT_TRUE(doc.modified);
    doc.modified = false;
    EXPECT_TRUE(settleBeforeReplacing(doc, prompter));
    EXPECT_EQ(prompter.messages().size(), 3u);
}

}  // namespace
}  // namespace tf

namespace tf {
namespace {

// The registry's classes as a map, read as the shell reads them.
TEST(ProjectRegistry, TheProgramsClassesMakeItOpenProjectFilesAndAnothersAreRecognised) {
    const auto values = projectRegistryValues(R"(C:\Program Files\Tally frame\tallyframe.exe)",
                                              R"(C:\Program Files\Tally frame\Brix.ico)");
    std::map<std::string, std::string> classes;
    for (const RegistryValue& v : values) {
        classes[v.key] = std::holds_alternative<int>(v.value)
                             ? std::to_string(std::get<int>(v.value))
                             : std::get<std::string>(v.value);
    }
    const auto read = [&](const std::string& key) {
        const auto at = classes.find(key);
        return at == classes.end() ? std::string() : at->second;
    };
    EXPECT_EQ(read(".gdb/Default"), "tallyframe");
    EXPECT_EQ(read(".gdb/Content Type"), "Brix工程数据");
    EXPECT_EQ(read("tallyframe/BrowserFlags"), "8");
    EXPECT_EQ(read("tallyframe/EditFlags"), "0");
    EXPECT_EQ(read("tallyframe/DefaultIcon/Default"), R"(C:\Program Files\Tally frame\Brix.ico)");
    EXPECT_EQ(read("tallyframe/shell/open/command/Default"),
              R"("C:\Program Files\Tally frame\tallyframe.exe" "%1")");
    EXPECT_TRUE(projectFilesHaveAProgram(read));

    // Another program's type, with a default verb of its own: only its command counts.
    classes = {{".gdb/Default", "Cad"},
               {"Cad/shell/Default", "view"},
               {"Cad/shell/open/command/Default", "x.exe \"%1\""}};
    EXPECT_FALSE(projectFilesHaveAProgram(read)) << "no command for its verb \"view\"";
    classes["Cad/shell/view/command/Default"] = "cad.exe \"%1\"";
    EXPECT_TRUE(projectFilesHaveAProgram(read));
    classes.clear();
    EXPECT_FALSE(projectFilesHaveAProgram(read));
}

}  // namespace
}  // namespace tf

#include "core/shell/lifecycle.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>

#include "core/project/project_io.h"
#include "tests/support/child_process.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

using Message = test::ScriptedPrompter::Message;
using Calls = std::vector<std::string>;

const Message kFileChanged{"文件被修改，是否保存？", "询问:", 547};
const Message kDataChanged{"数据被修改，是否保存？", "询问:", 547};
const Message kDropChanged{"文件被修改，是否保存？", "关闭文件：", 292};
const Message kUnsupported{"不支持此类型文件！", "", 48};
const Message kCreateFailed{"文件创建失败，请重新再试！", "", 48};
const Message kNotAProject{"非工程数据，无法打开！", "警告:", 48};

// Records what the commands ask of the window.
class RecordingShell : public ProjectShell {
  public:
    Calls calls;
    void showStartPage() override { calls.emplace_back("start page"); }
    void showAnalysisPage() override { calls.emplace_back("analysis page"); }
    void showMaterialPage() override { calls.emplace_back("material page"); }
    void setMaterialButtonLook(ButtonLook look) override {
        calls.emplace_back(look == ButtonLook::Pressed ? "pressed"
                           : look == ButtonLook::Lit   ? "lit"
                                                       : "normal");
    }
    void pauseTicker(bool paused) override { calls.emplace_back(paused ? "pause" : "resume"); }
    void projectReplaced() override { calls.emplace_back("replaced"); }
    void importMaterialFile(const std::string& path) override {
        calls.push_back("import " + utf8FromPath(std::filesystem::path(path).filename()));
    }
};

class LifecycleTest : public ::testing::Test {
  protected:
    LifecycleTest() { resetProject(doc); }

    // A saved project whose first location is `name`, released again.
    std::string project(const std::string& file, const std::string& name) {
        ProjectDocument p;
        resetProject(p);
        p.analysis.setText(2, 1, name);
        p.path = utf8FromPath(dir / file);
        EXPECT_TRUE(saveProject(p, prompter, false));
        return p.path;
    }
    // The document as a titled, held, modified project of `file`.
    void openModified(const std::string& file, const std::string& name) {
        ASSERT_TRUE(loadProject(doc, project(file, name), prompter));
        doc.analysis.setText(3, 1, "改过");
        doc.modified = true;
    }
    bool held(const std::string& path) {
        return !ExclusiveFile::open(path, ExclusiveFile::Mode::ReadWrite);
    }
    std::string location() const { return std::string(doc.analysis.text(2, 1)); }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    RecordingShell shell;
    ProjectDocument doc;
};

// The new command's question and what each answer leads to.
struct NewCase {
    const char* name;
    std::optional<Answer> answer;           // nothing: the project was not modified
    std::optional<const char*> chosenFile;  // the save dialog's answer, when it is shown
    bool replaced;
    bool saved;
};

class NewCommandTest : public LifecycleTest, public ::testing::WithParamInterface<NewCase> {};

TEST_P(NewCommandTest, AsksSavesAndStartsAfresh) {
    const NewCase& c = GetParam();
    doc.analysis.setText(2, 1, "客厅");
    doc.modified = c.answer.has_value();
    if (c.answer) {
        prompter.answer(*c.answer);
    }
    if (c.chosenFile) {
        prompter.answerFile(utf8FromPath(dir / *c.chosenFile));
    } else if (c.answer == Answer::Yes) {
        prompter.answerFile(std::nullopt);
    }
    newCommand(doc, prompter, shell);
    if (c.answer) {
        EXPECT_EQ(prompter.messages().front(), kDataChanged);
    } else {
        EXPECT_TRUE(prompter.messages().empty());
    }
    EXPECT_EQ(std::filesystem::exists(dir / "saved.gdb"), c.saved);
    if (c.saved) {
        ProjectDocument back;
        ASSERT_TRUE(loadProject(back, utf8FromPath(dir / "saved.gdb"), prompter));
        EXPECT_EQ(back.analysis.text(2, 1), "客厅") << "saved before the reset";
    }
    EXPECT_EQ(location(), c.replaced ? "" : "客厅");
    EXPECT_EQ(shell.calls, c.replaced ? (Calls{"replaced", "start page"}) : Calls{});
    EXPECT_EQ(doc.modified, !c.replaced);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NewCommandTest,
    ::testing::Values(NewCase{"unmodified", std::nullopt, std::nullopt, true, false},
                      NewCase{"no", Answer::No, std::nullopt, true, false},
                      NewCase{"cancel", Answer::Cancel, std::nullopt, false, false},
                      NewCase{"yes", Answer::Yes, "saved.gdb", true, true},
                      // Yes, then the save dialog is cancelled: the typed work stays.
                      NewCase{"yesThenNoName", Answer::Yes, std::nullopt, false, false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(LifecycleTest, StartPageNewFlashesTheMaterialButtonAndOpensTheMaterialPage) {
    doc.modified = true;
    prompter.answer(Answer::No);
    startPageNewCommand(doc, prompter, shell);
    EXPECT_EQ(prompter.messages(), std::vector{kFileChanged});
    EXPECT_EQ(shell.calls, (Calls{"replaced", "pressed", "lit", "normal", "material page"}));
    EXPECT_EQ(prompter.pausedMilliseconds(), 1000);
    EXPECT_EQ(prompter.busyDepth(), 0);
    EXPECT_EQ(prompter.busyCount(), 1);
    EXPECT_FALSE(doc.modified);
}

TEST_F(LifecycleTest, OpenReplacesTheProjectOrLeavesItHeldAsItWas) {
    openModified("a.gdb", "甲");
    const std::string a = doc.path;
    const std::string b = project("b.gdb", "乙");
    test::writeFile(dir / "text.gdb", "not a project");

    // Cancelled questions and dialogs change nothing, and the ticker runs again.
    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(openCommand(doc, prompter, shell));
    prompter.answer(Answer::No);
    prompter.answerFile(std::nullopt);
    EXPECT_FALSE(openCommand(doc, prompter, shell));
    EXPECT_EQ(shell.calls, (Calls{"pause", "resume", "pause", "resume"}));
    EXPECT_EQ(location(), "甲");

    // A failed open keeps the project with its file still held.
    prompter.answer(Answer::No);
    prompter.answerFile(utf8FromPath(dir / "text.gdb"));
    EXPECT_FALSE(openCommand(doc, prompter, shell));
    EXPECT_EQ(prompter.messages().back(), kNotAProject);
    EXPECT_EQ(location(), "甲");
    EXPECT_EQ(doc.path, a);
    EXPECT_TRUE(held(a));

    shell.calls.clear();
    prompter.answer(Answer::No);
    prompter.answerFile(b);
    ASSERT_TRUE(openCommand(doc, prompter, shell));
    EXPECT_EQ(shell.calls, (Calls{"pause", "replaced", "analysis page"}));
    EXPECT_EQ(location(), "乙");
    EXPECT_FALSE(held(a));
    EXPECT_TRUE(held(b));

    // Opening the open project again reloads it from its file.
    doc.analysis.setText(2, 1, "未保存");
    prompter.answer(Answer::No);
    prompter.answerFile(b);
    ASSERT_TRUE(openCommand(doc, prompter, shell));
    EXPECT_EQ(location(), "乙");
    EXPECT_TRUE(held(b));
}

TEST_F(LifecycleTest, SaveAsMovesTheProjectOnlyOnceTheNewFileIsWritten) {
    openModified("a.gdb", "甲");
    const std::string a = doc.path;
    const std::string before = doc.file->readAll().value();  // held: no other reader on Windows

    // Onto its own name, onto a file held elsewhere, into a folder that is not there: it
    // fails, and neither the project nor the chosen file changes.
    const std::string other = project("other.gdb", "别人的");
    auto elsewhere = ExclusiveFile::open(other, ExclusiveFile::Mode::ReadWrite);
    ASSERT_TRUE(elsewhere);
    // The second line says why.
    const std::pair<std::string, const char*> targets[] = {
        {a, "文件正被其他程序使用。"},
        {other, "文件正被其他程序使用。"},
        {utf8FromPath(dir / "none" / "c.gdb"), "文件夹不存在。"}};
    for (const auto& [target, why] : targets) {
        SCOPED_TRACE(target);
        prompter.clear();
        prompter.answerFile(target);
        EXPECT_FALSE(saveAsCommand(doc, prompter));
        EXPECT_EQ(prompter.messages(),
                  (std::vector{Message{kCreateFailed.text + "\r\n" + why, "", 48}}));
        EXPECT_EQ(doc.path, a);
        EXPECT_TRUE(doc.modified);
        EXPECT_TRUE(held(a));
    }
    EXPECT_EQ(doc.file->readAll(), before);
    elsewhere.reset();
    EXPECT_EQ(location(), "甲");

    prompter.clear();
    prompter.answerFile(other);  // an existing file is replaced
    ASSERT_TRUE(saveAsCommand(doc, prompter));
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(doc.path, utf8FromPath(std::filesystem::absolute(other)));
    EXPECT_FALSE(doc.modified);
    EXPECT_TRUE(held(other));
    EXPECT_FALSE(held(a));
    EXPECT_EQ(test::readFile(a), before) << "the old file keeps what it had";
    ProjectDocument back;
    doc.file.reset();
    ASSERT_TRUE(loadProject(back, other, prompter));
    EXPECT_EQ(back.analysis.text(3, 1), "改过");
}

#ifndef _WIN32
// Forks a child with a file-size limit or without root rights: POSIX only.
TEST_F(LifecycleTest, ASaveAsThatCannotWriteRemovesTheFileItMade) {
    openModified("a.gdb", "甲");
    const std::string target = utf8FromPath(dir / "new.gdb");
    EXPECT_TRUE(test::trueInChildProcess([&] {
        test::ScriptedPrompter child;
        child.answerFile(target);
        doc.analysis.setRowCount(20000);  // far beyond the limit below
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return !saveAsCommand(doc, child) &&
               child.messages() ==
                   std::vector{
                       Message{kCreateFailed.text + "\r\n文件超过系统允许的大小。", "", 48}} &&
               doc.modified && doc.path != target;
    }));
    EXPECT_FALSE(std::filesystem::exists(target));
}
#endif

TEST_F(LifecycleTest, CommandLineOpensAnExistingProjectAndIgnoresAnythingElse) {
    const auto folder = dir / "My Projects";
    std::filesystem::create_directory(folder);
    const std::string a = project("My Projects/a.GDB", "甲");
    const std::string base = utf8FromPath(dir.path());

    openFromCommandLine(doc, prompter, shell, {base + "/missing.gdb"});
    openFromCommandLine(doc, prompter, shell, {});
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_TRUE(prompter.messages().empty());

    openFromCommandLine(doc, prompter, shell, {base + "/My", "Projects/a.GDB "});
    EXPECT_EQ(shell.calls, (Calls{"pause", "replaced", "analysis page"}));
    EXPECT_EQ(location(), "甲");
    EXPECT_TRUE(held(a));
}

TEST_F(LifecycleTest, DroppedProjectsOpenInTurnAndTheLastStays) {
    openModified("a.gdb", "甲");
    const std::vector<std::string> drop = {project("b.gdb", "乙"), utf8FromPath(dir / "notes.txt"),
                                           project("c.GDB", "丙"), project("d.gdb", "丁")};
    prompter.answer(Answer::No);  // only the first drop finds the project modified
    dropOnAnalysisTable(doc, prompter, shell, drop);
    EXPECT_EQ(prompter.messages(), (std::vector{kDropChanged, kUnsupported}));
    EXPECT_EQ(location(), "丁");
    EXPECT_TRUE(held(drop[3]));
    EXPECT_FALSE(held(drop[0]));
    EXPECT_FALSE(held(drop[2]));
    const auto loads = std::count(shell.calls.begin(), shell.calls.end(), "replaced");
    EXPECT_EQ(loads, 3);
}

TEST_F(LifecycleTest, DroppedMaterialFilesAreImportedAndOthersRefused) {
    dropOnMaterialTable(prompter, shell, {"/x/a.txt", "/x/b.gdb", "/x/C.TXT"});
    EXPECT_EQ(shell.calls, (Calls{"import a.txt", "import C.TXT"}));
    EXPECT_EQ(prompter.messages(), std::vector{kUnsupported});
}

TEST_F(LifecycleTest, ExitWithAYesWhoseSaveFailsKeepsTheProgram) {
    openModified("a.gdb", "甲");
    doc.file.reset();  // the file is gone from under the program and cannot be written
    std::filesystem::remove_all(dir.path());
    prompter.answer(Answer::Yes);
    EXPECT_FALSE(confirmClose(doc, prompter));
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(location(), "甲");
}

}  // namespace
}  // namespace tf

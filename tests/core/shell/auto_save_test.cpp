#include "core/shell/auto_save.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "core/base/text_codec.h"
#include "core/project/project_io.h"
#include "tests/support/child_process.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

using Message = test::ScriptedPrompter::Message;

// A timer that runs only when the test says so.
class ManualTimer : public IntervalTimer {
  public:
    std::vector<int> starts;
    int stops = 0;
    bool running = false;
    void start(int milliseconds) override {
        starts.push_back(milliseconds);
        running = true;
    }
    void stop() override {
        ++stops;
        running = false;
    }
};

class AutoSaveTest : public ::testing::Test {
  protected:
    std::string file() const { return test::readFile(dir / "Brix.ini"); }
    void writeSettings(std::string_view text) { test::writeFile(dir / "Brix.ini", toGbk(text)); }

    test::TempDir dir;
    AppSettings settings{dir / "Brix.ini"};
    AutoSaveForm form{settings};
    ManualTimer timer;
    test::ScriptedPrompter prompter;
};

TEST_F(AutoSaveTest, ASettingsFileWithoutTheSectionGainsTypeZero) {
    writeSettings("; 用户的注释\r\n[Other]\r\nKey=1\r\n");
    form.open();
    EXPECT_FALSE(form.autoSave);
    EXPECT_FALSE(form.reminder);
    EXPECT_EQ(form.interval, "");
    EXPECT_EQ(fromGbk(file()), "; 用户的注释\r\n[Other]\r\nKey=1\r\n\r\n[Save]\r\nType=0\r\n");
}

TEST_F(AutoSaveTest, AnUnknownTypeOpensLikeNeitherAndIsKept) {
    writeSettings("[Save]\r\nType=7\r\nSTime=30\r\n");
    form.open();
    EXPECT_FALSE(form.autoSave || form.reminder);
    EXPECT_EQ(form.interval, "");
    EXPECT_EQ(file(), "[Save]\r\nType=7\r\nSTime=30\r\n");
    form.confirm(timer);  // nothing ticked: "neither" is stored
    EXPECT_EQ(settings.text("Save", "Type"), "0");
    EXPECT_TRUE(timer.starts.empty());
}

TEST_F(AutoSaveTest, TheChosenIntervalShowsAndAMissingOneBecomesFifteen) {
    writeSettings("[Save]\r\nType=1\r\nMTime=40\r\n");
    form.open();
    EXPECT_TRUE(form.autoSave);
    EXPECT_EQ(form.interval, "15");
    EXPECT_EQ(settings.text("Save", "STime"), "15");
    form.tickReminder(true);  // the boxes exclude each other
    EXPECT_FALSE(form.autoSave);
    EXPECT_EQ(form.interval, "40");
    form.tickReminder(false);
    EXPECT_EQ(form.interval, "");
    form.tickAutoSave(true);
    EXPECT_EQ(form.interval, "15");
}

TEST_F(AutoSaveTest, TypedIntervalsAreCappedAndAnEmptyOneStoresFifteen) {
    form.open();
    form.tickAutoSave(true);
    form.typeInterval("500");
    EXPECT_EQ(form.interval, "120");
    form.typeInterval("90");
    EXPECT_EQ(form.interval, "90");
    form.confirm(timer);
    EXPECT_EQ(settings.text("Save", "Type"), "1");
    EXPECT_EQ(settings.text("Save", "STime"), "90");
    EXPECT_EQ(timer.starts, std::vector{90 * 60000});

    form.tickReminder(true);
    form.typeInterval("");
    form.confirm(timer);
    EXPECT_EQ(settings.text("Save", "Type"), "2");
    EXPECT_EQ(settings.text("Save", "MTime"), "15");
    EXPECT_EQ(timer.starts.back(), 15 * 60000);
    EXPECT_EQ(timer.stops, 2) << "each confirmation stops the running timer first";

    form.tickReminder(false);
    form.confirm(timer);
    EXPECT_EQ(settings.text("Save", "Type"), "0");
    EXPECT_FALSE(timer.running);
}

class TimerTest : public AutoSaveTest {
  protected:
    TimerTest() {
        resetProject(doc);
        doc.path = utf8FromPath(dir / "a.gdb");
        EXPECT_TRUE(saveProject(doc, prompter, false));
        doc.analysis.setText(2, 1, "客厅");
        doc.modified = true;
    }
    Message reminder(int minutes) {
        return {"您已经使用了 " + std::to_string(minutes) + " 分钟，请及时保存。", "信息:", 64};
    }
    ProjectDocument doc;
};

TEST_F(TimerTest, AutoSaveSavesAModifiedProjectAndKeepsItsInterval) {
    writeSettings("[Save]\r\nType=1\r\nSTime=5\r\n");
    autoSaveTimerFired(doc, settings, timer, prompter);
    EXPECT_FALSE(doc.modified);
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(timer.stops, 0);
    ProjectDocument back;
    doc.file.reset();
    ASSERT_TRUE(loadProject(back, doc.path, prompter));
    EXPECT_EQ(back.analysis.text(2, 1), "客厅");
    autoSaveTimerFired(back, settings, timer, prompter);  // not modified: nothing at all
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(TimerTest, TheReminderStopsTheTimerWhileItIsOpenAndSaysTheMinutesSinceTheSave) {
    writeSettings("[Save]\r\nType=2\r\nMTime=20\r\n");
    // The timer comes round 20 minutes after it started, but the project was saved 47
    // minutes and 50 seconds ago: that is what the surveyor has not saved.
    const auto now = doc.savedAt + std::chrono::minutes(47) + std::chrono::seconds(50);
    autoSaveTimerFired(doc, settings, timer, prompter, now);
    EXPECT_EQ(prompter.messages(), std::vector{reminder(47)});
    EXPECT_EQ(timer.stops, 1);
    EXPECT_EQ(timer.starts, std::vector{20 * 60000});
    EXPECT_TRUE(doc.modified);
    // Saved since: the minutes count from that save; under one minute says one.
    ASSERT_TRUE(saveProject(doc, prompter, false));
    doc.modified = true;
    prompter.clear();
    autoSaveTimerFired(doc, settings, timer, prompter, doc.savedAt + std::chrono::seconds(5));
    EXPECT_EQ(prompter.messages(), std::vector{reminder(1)});
}

TEST_F(AutoSaveTest, TheStoredChoiceRunsFromTheStart) {
    const struct {
        const char* settings;
        std::vector<int> starts;
    } cases[] = {{"[Save]\r\nType=1\r\nSTime=1\r\n", {60000}},
                 {"[Save]\r\nType=1\r\n", {15 * 60000}},
                 {"[Save]\r\nType=2\r\nSTime=5\r\nMTime=30\r\n", {30 * 60000}},
                 {"[Save]\r\nType=0\r\nSTime=5\r\n", {}},
                 {"[Save]\r\nType=7\r\n", {}},
                 {"", {}}};
    for (const auto& c : cases) {
        writeSettings(c.settings);
        ManualTimer fresh;
        startStoredAutoSave(settings, fresh);
        EXPECT_EQ(fresh.starts, c.starts) << c.settings;
    }
}

TEST_F(TimerTest, AnUntitledProjectIsRemindedWithTheReminderMinutesWhateverTheType) {
    doc.file.reset();
    doc.path.clear();
    for (const char* settingsText :
         {"[Save]\r\nType=1\r\nSTime=5\r\nMTime=25\r\n", "[Save]\r\nType=0\r\nMTime=25\r\n"}) {
        writeSettings(settingsText);
        prompter.clear();
        autoSaveTimerFired(doc, settings, timer, prompter, doc.savedAt + std::chrono::minutes(25));
        EXPECT_EQ(prompter.messages(), std::vector{reminder(25)});
        EXPECT_EQ(timer.starts.back(), 25 * 60000);
    }
    writeSettings("[Save]\r\nType=1\r\n");  // no reminder minutes: every 15
    prompter.clear();
    autoSaveTimerFired(doc, settings, timer, prompter, doc.savedAt + std::chrono::minutes(31));
    EXPECT_EQ(prompter.messages(), std::vector{reminder(31)});
    EXPECT_EQ(timer.starts.back(), 15 * 60000);
}

#ifndef _WIN32
// Forks a child with a file-size limit or without root rights: POSIX only.
TEST(SettingsFolder, TheProgramDirectoryWhenWritableElseTheUsersFolder) {
    test::TempDir dir;
    const auto program = dir / "program";
    const auto user = dir / "home" / "config" / "Tallyframe";
    std::filesystem::create_directory(program);
    EXPECT_EQ(writableProgramFolder(program, user), program);
    ::chmod(dir.path().c_str(), 0777);
    ::chmod(program.c_str(), 0555);
    EXPECT_TRUE(test::trueInChildProcess([&] {
        if (!test::dropRootPrivileges() || writableProgramFolder(program, user) != user ||
            !std::filesystem::is_directory(user)) {
            return false;
        }
        // The settings work there, and an unwritable settings file goes unnoticed.
        AppSettings there(user / kSettingsFileName);
        there.setText("Save", "Type", "2");
        AppSettings readOnly(program / kSettingsFileName);
        readOnly.setText("Save", "Type", "1");
        return there.text("Save", "Type") == "2" && readOnly.text("Save", "Type").empty();
    }));
    ::chmod(program.c_str(), 0755);
}
#endif

}  // namespace
}  // namespace tf

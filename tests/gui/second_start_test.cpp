// A second start of the program hands its project to the one running.
#include <gtest/gtest.h>

#include <QApplication>
#include <atomic>
#include <thread>

#include "cli/sample_project.h"
#include "core/project/project_io.h"
#include "gui/shell/main_window.h"
#include "gui/shell/updater_endpoint.h"
#include "gui/widgets/grid_view.h"
#include "tests/gui/event_wait.h"
#include "tests/gui/sample_window.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

// The second start, in a thread of its own as in a process of its own: it waits on the
// socket while the running program answers from its event loop.
class SecondStart {
  public:
    SecondStart(QString endpoint, QStringList arguments)
        : thread_([this, endpoint = std::move(endpoint), arguments = std::move(arguments)] {
              handed_ = handToRunningProgram(endpoint, arguments);
              done_ = true;
          }) {}
    ~SecondStart() { thread_.join(); }
    bool done() const { return done_; }
    bool handed() const { return handed_; }

  private:
    std::atomic<bool> done_ = false;
    std::atomic<bool> handed_ = false;
    std::thread thread_;
};

TEST(SecondStart, TheRunningProgramTakesTheProjectAfterItsUsualQuestion) {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    auto window = test::openSampleWindow(dir.path(), prompter, 4);
    ASSERT_TRUE(window);
    ASSERT_TRUE(window->updaterEndpoint().listening());
    const QString endpoint = programEndpointName(QString::fromStdString(dir.path().string()));
    EXPECT_EQ(window->updaterEndpoint().number(),
              programEndpoint(QString::fromStdString(dir.path().string())));
    const std::string other = (dir / "3号楼.gdb").string();
    {
        ProjectDocument project;
        cli::buildSampleProject(project, 2);
        project.path = other;
        ASSERT_TRUE(saveProject(project, prompter, false));
    }
    // An unsaved change: deleting the first location.
    emit window->findChild<GridView*>("分析表")->cellPressed(2, 1, Qt::LeftButton, QPoint());
    prompter.answer(Answer::Yes);
    window->dispatch(Command::DeleteLocation);
    ASSERT_TRUE(window->document().modified);
    const std::string opened = window->document().path;

    // Started with no project: the running program only comes to the front.
    {
        SecondStart start(endpoint, {});
        ASSERT_TRUE(test::waitUntil([&] { return start.done(); }));
        EXPECT_TRUE(start.handed());
    }
    EXPECT_EQ(window->document().path, opened);

    // Started with a project, as by a double-click: opened once the start has its answer.
    prompter.answer(Answer::No);  // the change is not kept
    {
        SecondStart start(endpoint, {"-style", QString::fromStdString(other)});
        ASSERT_TRUE(test::waitUntil([&] { return start.done(); }));
        EXPECT_TRUE(start.handed());
    }
    ASSERT_TRUE(test::waitUntil([&] { return window->document().path == other; }));
    EXPECT_EQ(window->document().locations.size(), 2u);
    ASSERT_EQ(prompter.messages().size(), 2u);
    EXPECT_EQ(prompter.messages()[1].caption, "询问:") << "asked as an open asks";

    // Nobody at an endpoint: that start goes on as the first.
    SecondStart alone(programEndpointName(QString::fromStdString((dir / "x").string())), {});
    ASSERT_TRUE(test::waitUntil([&] { return alone.done(); }));
    EXPECT_FALSE(alone.handed());
}

}  // namespace
}  // namespace tf::gui

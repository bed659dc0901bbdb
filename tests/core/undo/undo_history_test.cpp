#include "core/undo/undo_history.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "cli/sample_project.h"
#include "core/analysis/location_index.h"
#include "core/base/text_codec.h"
#include "core/entry/entry_sheet.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_replace.h"
#include "core/materials/material_table.h"
#include "core/materials/material_text_file.h"
#include "core/project/project_file.h"
#include "core/project/project_io.h"
#include "core/stats/statistic_row.h"
#include "core/stats/statistics.h"
#include "core/stats/statistics_layout.h"
#include "core/structure/default_structure.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

// Answers every question with Yes or OK: the actions here ask whether to repair or delete.
class AgreeingPrompter : public HeadlessPrompter {
  public:
    Answer message(std::string_view, std::string_view, int flags) override {
        return (flags & 0xF) == 4 || (flags & 0xF) == 3 ? Answer::Yes : Answer::Ok;
    }
};

ProjectDocument sample(int locations) {
    ProjectDocument document;
    cli::buildSampleProject(document, locations);
    return document;
}

// A sample project of some locations with its history recording.
struct Recorded {
    explicit Recorded(int locations) : document(sample(locations)) { history.clear(document); }
    AgreeingPrompter prompter;
    ProjectDocument document;
    UndoHistory history;
};

// The user's actions, each one step: (name, what it does to the project).
struct Case {
    const char* name;
    std::function<void(ProjectDocument&, Prompter&, const test::TempDir&, int)> act;
};

std::string entrySheet(int n) {
    return toGbk("新部位" + std::to_string(n) +
                 "\t建施-99\t10×10×3\t030201\t4.2*5.1\t\t水泥砂浆\t水泥砂浆1:3\t0.02\t\r\n"
                 "新部位" +
                 std::to_string(n) +
                 "\t建施-99\t10×10×3\t030201\t4.2*5.1\t\t水泥砂浆\t界面剂\t0.3\t\r\n");
}

std::string materialList(const ProjectDocument& document, int skip) {
    // The project's own list without every skip-th material, the rest a little dearer.
    std::string list;
    int i = 0;
    for (const auto& [line, f] : parsePriceList(materialText(document.materials)).materials) {
        if (++i % skip != 0) {
            list += f[0] + "\t" + f[1] + "\t" + f[2] + "\t" + f[3] + "\t" + f[4] + "5\t" + f[5] +
                    "\r\n";
        }
    }
    return toGbk(list);
}

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"录入数据", [](ProjectDocument& d, Prompter& p, const test::TempDir&,
                        int n) { importEntrySheet(d, entrySheet(n), p); }},
        {"删除一组",
         [](ProjectDocument& d, Prompter&, const test::TempDir&, int n) {
             if (!d.locations.empty()) {
                 deleteLocation(d.locations, d.analysis, d.attachments,
                                n % static_cast<int>(d.locations.size()));
             }
         }},
        {"删除行",
         [](ProjectDocument& d, Prompter&, const test::TempDir&, int n) {
             deleteAnalysisRow(d.locations, d.analysis, d.attachments,
                               2 + n % std::max(1, d.analysis.rowCount() - 2));
         }},
        {"修改材料",
         [](ProjectDocument& d, Prompter& p, const test::TempDir&, int n) {
             const int row = 1 + n % (d.materials.rowCount() - 1);
             if (d.materials.text(row, MaterialColumn::kName).empty()) {
                 return;
             }
             d.materials.setText(row, MaterialColumn::kName,
                                 std::string(d.materials.text(row, MaterialColumn::kName)) + "新");
             commitMaterialEdit(d, row, MaterialColumn::kName, p);
             d.materials.setText(row, MaterialColumn::kPrice, std::to_string(n % 97));
             commitMaterialEdit(d, row, MaterialColumn::kPrice, p);
         }},
        {"导入数据",
         [](ProjectDocument& d, Prompter& p, const test::TempDir& dir, int n) {
             const auto path = dir / ("list" + std::to_string(n) + ".txt");
             test::writeFile(path, materialList(d, 3 + n % 4) +
                                       toGbk("新类" + std::to_string(n) + "\t新材料\t\t个\t1\r\n"));
             if (n % 2 == 0) {
                 importMaterialsAppending(d, utf8FromPath(path), p);
             } else {
                 importMaterialsReplacing(d, utf8FromPath(path), p);
             }
         }},
        {"分部分项表设置", [](ProjectDocument& d, Prompter&, const test::TempDir&,
                              int n) { d.structure.items += std::to_string(n); }},
        {"附加资料",
         [](ProjectDocument& d, Prompter&, const test::TempDir&, int n) {
             if (!d.locations.empty()) {
                 const auto k = static_cast<std::size_t>(n) % d.locations.size();
                 d.attachments.set(d.locations[k].first, "block " + std::to_string(n));
             }
         }},
    };
    return all;
}

TEST(UndoHistory, EachActionUndoneGivesBackTheImageBeforeAndRedoneTheImageAfter) {
    test::TempDir dir;
    AgreeingPrompter prompter;
    for (const Case& c : cases()) {
        ProjectDocument document = sample(6);
        UndoHistory history;
        history.clear(document);
        const std::string before = buildProjectImage(document);
        {
            UndoHistory::Action action(history, document, c.name);
            c.act(document, prompter, dir, 5);
        }
        const std::string after = buildProjectImage(document);
        ASSERT_TRUE(after != before) << c.name;
        ASSERT_TRUE(history.canUndo()) << c.name;
        EXPECT_EQ(history.undoName(), c.name);
        EXPECT_EQ(history.undo(document, prompter), c.name);
        EXPECT_TRUE(buildProjectImage(document) == before) << c.name;
        EXPECT_EQ(document.locations, rebuildLocationIndex(document.analysis)) << c.name;
        EXPECT_EQ(history.redoName(), c.name);
        EXPECT_EQ(history.redo(document, prompter), c.name);
        EXPECT_TRUE(buildProjectImage(document) == after) << c.name;
        // The derived parts follow the tables.
        EXPECT_EQ(document.locations, rebuildLocationIndex(document.analysis)) << c.name;
        history.undo(document, prompter);
        EXPECT_TRUE(buildProjectImage(document) == before) << c.name;
        EXPECT_FALSE(history.canUndo());
    }
}

TEST(UndoHistory, TheModifiedFlagFollowsTheSavedState) {
    test::TempDir dir;
    Recorded project(3);
    auto& [prompter, document, history] = project;
    const auto act = [&](int n) {
        UndoHistory::Action action(history, document, "录入数据");
        importEntrySheet(document, entrySheet(n), prompter);
        document.modified = true;
    };
    act(1);
    act(2);
    history.markSaved();  // saved after two entries
    document.modified = false;
    const std::string saved = buildProjectImage(document);
    act(3);
    history.undo(document, prompter);
    EXPECT_FALSE(document.modified) << "back at the saved state";
    history.undo(document, prompter);
    EXPECT_TRUE(document.modified);
    history.redo(document, prompter);
    EXPECT_FALSE(document.modified);
    EXPECT_TRUE(buildProjectImage(document) == saved);
    // A new action where the redo was: the saved state is out of reach.
    history.undo(document, prompter);
    act(4);
    EXPECT_FALSE(history.canRedo());
    history.undo(document, prompter);
    EXPECT_TRUE(document.modified);
    // An action inside an action is part of it; one that changes nothing leaves no step.
    {
        UndoHistory::Action outer(history, document, "导入数据");
        UndoHistory::Action inner(history, document, "录入数据");
    }
    EXPECT_EQ(history.undoName(), "录入数据");
    history.clear(document);
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
}

TEST(UndoHistory, AProjectReplacedInsideACommandLeavesNoStep) {
    Recorded project(2);
    auto& [prompter, document, history] = project;
    {
        // 打开 runs as a command: the old project's tables go, then the history starts anew.
        UndoHistory::Action action(history, document, "打开");
        document = sample(3);
        history.clear(document);
        document.attachments.set(2, "after the open");
    }
    EXPECT_FALSE(history.canUndo());
    const std::string opened = buildProjectImage(document);
    {
        UndoHistory::Action action(history, document, "附加资料");
        document.attachments.set(3, "block");
    }
    history.undo(document, prompter);
    EXPECT_TRUE(buildProjectImage(document) == opened);
}

TEST(UndoHistory, ANewProjectDoesNotCopyTheOldTablesIntoTheJournal) {
    Recorded project(300);
    auto& [prompter, document, history] = project;
    const std::size_t oldTables =
        document.analysis.saveSizeHint() + document.materials.saveSizeHint();
    UndoHistory::Action action(history, document, "新建");
    resetProject(document);
    // What the fresh tables recorded of their set-up, nothing of the tables that went.
    EXPECT_GT(oldTables, 400'000u);
    EXPECT_LT(document.analysis.journal()->bytes() + document.materials.journal()->bytes(),
              oldTables / 10);
    history.clear(document);
}

TEST(UndoHistory, UndoAfterASaveThenSavingAgainWritesTheEarlierContent) {
    test::TempDir dir;
    Recorded project(2);
    auto& [prompter, document, history] = project;
    const auto path = dir / "工程.gdb";
    ASSERT_TRUE(saveProjectAs(document, utf8FromPath(path), prompter));
    history.markSaved();
    // Read through the held file: sharing is denied to any other reader on Windows.
    const std::string first = document.file->readAll().value();
    {
        UndoHistory::Action action(history, document, "录入数据");
        importEntrySheet(document, entrySheet(7), prompter);
        document.modified = true;
    }
    ASSERT_TRUE(saveProject(document, prompter, false));
    history.markSaved();
    EXPECT_FALSE(document.file->readAll() == first);
    EXPECT_TRUE(history.canUndo()) << "a save keeps the steps";
    history.undo(document, prompter);
    EXPECT_TRUE(document.modified) << "the file holds the entry now";
    ASSERT_TRUE(saveProject(document, prompter, false));
    EXPECT_TRUE(document.file->readAll() == first);
}

TEST(UndoHistory, AChangeNoActionWrappedIsAStepOfItsOwn) {
    Recorded project(2);
    auto& [prompter, document, history] = project;
    document.analysis.setCursor(3, 2);  // moving about and laying out are no steps
    document.materials.setSelection({1, 1, 3, 3});
    document.analysis.setColumnWidth(2, 77);
    EXPECT_FALSE(history.undo(document, prompter));
    const std::string before = buildProjectImage(document);
    document.analysis.setText(3, 10, "说明");
    {
        UndoHistory::Action action(history, document, "附加资料");
        document.attachments.set(2, "block");
    }
    EXPECT_EQ(history.undoName(), "附加资料");
    EXPECT_EQ(history.undo(document, prompter), "附加资料");
    EXPECT_EQ(history.undo(document, prompter), "修改");
    EXPECT_EQ(document.analysis.text(3, 10), "");
    EXPECT_TRUE(buildProjectImage(document) == before);
    // A change after an undo: nothing is left to redo.
    document.structure.items += "x";
    EXPECT_FALSE(history.redo(document, prompter));
    EXPECT_EQ(history.undoName(), "修改");
}

TEST(UndoHistory, AnActionCompletingAnEditTakesTheEditIn) {
    Recorded project(2);
    auto& [prompter, document, history] = project;
    const std::string before = buildProjectImage(document);
    // A typed name goes into the cell first; committing it repairs the analysis rows.
    const int row = 1;
    const std::string name(document.materials.text(row, MaterialColumn::kName));
    document.materials.setText(row, MaterialColumn::kName, name + "（新）");
    actionScope(history, document)("修改材料", true, [&] {
        commitMaterialEdit(document, row, MaterialColumn::kName, prompter);
    });
    EXPECT_EQ(history.stepsToUndo(), 1u);
    EXPECT_EQ(history.undo(document, prompter), "修改材料");
    EXPECT_TRUE(buildProjectImage(document) == before);
    EXPECT_EQ(document.materials.text(row, MaterialColumn::kName), name);
}

TEST(UndoHistory, AStatisticRowIsAStepUntilTheStatisticsAreBuiltAgain) {
    AgreeingPrompter prompter;
    ProjectDocument document = sample(3);
    Statistics statistics;
    rebuildStatistics(document, statistics, prompter);
    UndoHistory history;
    history.watch(&statistics);
    history.clear(document);
    const Grid before = statistics.summary;
    const std::string image = buildProjectImage(document);
    {
        UndoHistory::Action action(history, document, "合计所有行");
        sumAllRows(statistics.summary, statistics.statisticRow);
    }
    ASSERT_TRUE(statistics.statisticRow);
    const Grid summed = statistics.summary;
    EXPECT_EQ(history.undo(document, prompter), "合计所有行");
    EXPECT_FALSE(history.steppedProject());
    EXPECT_EQ(statistics.summary, before);
    EXPECT_FALSE(statistics.statisticRow);
    history.redo(document, prompter);
    EXPECT_EQ(statistics.summary, summed);
    EXPECT_TRUE(statistics.statisticRow);
    EXPECT_TRUE(buildProjectImage(document) == image);
    // Built again, the statistics have no statistic row to take back: the step goes, and the
    // entry before it is next to undo. The project is still as saved in between.
    {
        UndoHistory::Action action(history, document, "删除一组");
        deleteLocation(document.locations, document.analysis, document.attachments, 0);
    }
    const std::string deleted = buildProjectImage(document);
    history.markSaved();
    {
        UndoHistory::Action action(history, document, "合计所有行");
        sumAllRows(statistics.summary, statistics.statisticRow);
    }
    {
        UndoHistory::Action action(history, document, "删除统计行");
        statistics.summary.deleteRows(2);
    }
    rebuildStatistics(document, statistics, prompter);
    const Grid rebuilt = statistics.summary;
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undoName(), "删除一组");
    EXPECT_EQ(history.stepsToUndo(), 1u);
    EXPECT_EQ(history.undo(document, prompter), "删除一组");
    EXPECT_TRUE(buildProjectImage(document) == image);
    EXPECT_TRUE(document.modified);
    EXPECT_EQ(statistics.summary, rebuilt);
    EXPECT_EQ(history.redo(document, prompter), "删除一组");
    EXPECT_TRUE(buildProjectImage(document) == deleted);
    EXPECT_FALSE(document.modified);
}

TEST(UndoHistory, ANoteInTheFilteredCostTableIsUndoneUntilTheTableIsBuiltAgain) {
    AgreeingPrompter prompter;
    ProjectDocument document = sample(3);
    Statistics statistics;
    resetStatistics(statistics);
    statistics.view = StatisticsView::Filtered;
    rebuildStatistics(document, statistics, prompter);
    for (std::size_t l = 0; l < statistics.filter.locations().size(); ++l) {
        tickFilterLocation(document, statistics, l, Tick::Ticked, prompter);
    }
    UndoHistory history;
    history.watch(&statistics);
    history.clear(document);
    const Grid before = statistics.cumulative;
    ASSERT_GT(before.rowCount(), 4);
    const int note = CumulativeColumn::kNote;
    {
        UndoHistory::Action action(history, document, "修改说明");
        statistics.cumulative.setText(3, note, "甲供");
    }
    EXPECT_EQ(history.undo(document, prompter), "修改说明");
    EXPECT_EQ(statistics.cumulative, before);
    EXPECT_EQ(history.redo(document, prompter), "修改说明");
    EXPECT_EQ(statistics.cumulative.text(3, note), "甲供");
    EXPECT_EQ(statistics.cumulative.text(3, CumulativeColumn::kCode),
              before.text(3, CumulativeColumn::kCode));
    // Built again after an entry (the ticks kept), the table has no note to take back, and
    // the step goes with the old rows.
    updateStatistics(document, statistics, prompter);
    EXPECT_EQ(statistics.cumulative, before);
    EXPECT_EQ(history.stepsToUndo(), 0u);
}

TEST(UndoHistory, OnlyTheNewestStepsAreKept) {
    Recorded project(1);
    auto& [prompter, document, history] = project;
    for (int i = 0; i < static_cast<int>(UndoHistory::kMostSteps) + 5; ++i) {
        UndoHistory::Action action(history, document, "附加资料");
        document.attachments.set(2, std::to_string(i));
    }
    int undone = 0;
    while (history.undo(document, prompter)) {
        ++undone;
    }
    EXPECT_EQ(undone, static_cast<int>(UndoHistory::kMostSteps));
    EXPECT_EQ(document.attachments.records[2], "4");
}

// A few hundred random actions, undos and redos: the project ends as one built by doing only
// the actions that were not undone, and every state on the way saves as the history says.
TEST(UndoHistory, RandomActionsUndosAndRedosEndAsTheActionsKept) {
    test::TempDir dir;
    AgreeingPrompter prompter;
    for (unsigned seed = 1; seed <= 3; ++seed) {
        std::mt19937 random(seed);
        ProjectDocument document = sample(4);
        UndoHistory history;
        history.clear(document);
        std::vector<std::pair<std::size_t, int>> done;  // (case, parameter) of the current history
        std::vector<std::pair<std::size_t, int>> undone;
        std::vector<std::string> images{buildProjectImage(document)};
        for (int i = 0; i < 200; ++i) {
            const int roll = std::uniform_int_distribution<int>(0, 9)(random);
            if (roll < 3 && history.canUndo()) {
                history.undo(document, prompter);
                undone.push_back(done.back());
                done.pop_back();
            } else if (roll < 4 && history.canRedo()) {
                history.redo(document, prompter);
                done.push_back(undone.back());
                undone.pop_back();
            } else {
                const auto which =
                    std::uniform_int_distribution<std::size_t>(0, cases().size() - 1)(random);
                const int n = std::uniform_int_distribution<int>(0, 1000)(random);
                const std::size_t steps = history.stepsToUndo();
                {
                    UndoHistory::Action action(history, document, cases()[which].name);
                    cases()[which].act(document, prompter, dir, n);
                }
                if (history.stepsToUndo() > steps) {
                    done.emplace_back(which, n);
                    undone.clear();
                    images.resize(done.size());
                    images.push_back(buildProjectImage(document));
                }
            }
            // (Compared as a truth value: a failure would print two whole project images.)
            ASSERT_TRUE(buildProjectImage(document) == images[done.size()]) << seed << " " << i;
            ASSERT_EQ(document.locations, rebuildLocationIndex(document.analysis))
                << seed << " " << i;
        }
        ProjectDocument replayed = sample(4);
        for (const auto& [which, n] : done) {
            cases()[which].act(replayed, prompter, dir, n);
        }
        EXPECT_TRUE(buildProjectImage(replayed) == buildProjectImage(document)) << seed;
    }
}

}  // namespace
}  // namespace tf

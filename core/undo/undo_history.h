#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/prompter.h"
#include "core/grid/grid_journal.h"
#include "core/project/project_document.h"
#include "core/stats/statistics.h"
#include "core/undo/location_index_change.h"

namespace tf {

// The names of the steps that no command names (a command's step is named after it).
namespace StepName {
inline constexpr std::string_view kEntry = "录入数据";
inline constexpr std::string_view kModify = "修改数据";  // a location's entry confirmed again
inline constexpr std::string_view kInsert = "插入部位";
inline constexpr std::string_view kImport = "导入数据";
inline constexpr std::string_view kMaterialEdit = "修改材料";
inline constexpr std::string_view kPaste = "粘贴";
inline constexpr std::string_view kCut = "剪切";
inline constexpr std::string_view kStructure = "分部分项表设置";
inline constexpr std::string_view kNote = "修改说明";
inline constexpr std::string_view kNoteDeleted = "删除说明";
}  // namespace StepName

// The keys of undo and redo, in every window that has them.
struct UndoKey {
    std::string_view sequence;
    bool redo = false;
};
inline constexpr UndoKey kUndoKeys[] = {
    {"Ctrl+Z", false}, {"Ctrl+Y", true}, {"Ctrl+Shift+Z", true}};

// One user action as the history keeps it: its name and what it changed in the project.
struct UndoStep {
    std::string name;
    GridJournal analysis;
    GridJournal materials;
    AttachmentJournal attachments;
    std::optional<StructureSnapshot> structure;  // the other side's structure, when it changed
    std::optional<LocationIndexChange> locations;
    // The statistics grids and their statistic row, for the actions on them (a statistic row,
    // a note). Emptied when the statistics are built again: nothing of that is left to take back.
    GridJournal summary;
    GridJournal itemSummary;
    GridJournal cumulative;
    std::optional<std::optional<int>> statisticRow;
    std::uint64_t restores = 0;  // the state replaying the step leads to
    std::size_t bytes() const;
    bool changesProject() const;
    bool changesStatistics() const;
};

// Undo and redo of every change to a project. Each action the user takes is one step,
// recorded while it runs: the command opens an `Action` and the project's tables write into
// it what they replace. Undo replays a step's inverse and records the redo the same way. The
// history knows which state was last saved: undoing or redoing to it makes the project
// unmodified again. Opening, new and reset start a new history.
//
// Between actions the tables keep recording too: a change made outside an action (an edit no
// command wrapped) becomes a step of its own, "修改", before the next action, undo or redo, so
// that what the history replays always meets the tables as it left them. Moving the cursor and
// laying the columns out for the window are no such change.
class UndoHistory {
  public:
    static constexpr std::size_t kMostSteps = 200;
    static constexpr std::size_t kMostBytes = 256u << 20;

    UndoHistory() = default;
    // Lets go of the project it records (which must outlive it).
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // One action, from construction to destruction; actions opened inside it are part of it.
    // An action that changed nothing leaves no step. One that `completes` an edit a table
    // already took (a typed cell, written before the edit is committed) takes the changes
    // since the last step into its own.
    class Action {
      public:
        Action(UndoHistory& history, ProjectDocument& document, std::string_view name,
               bool completes = false);
        ~Action();
        Action(const Action&) = delete;
        Action& operator=(const Action&) = delete;

      private:
        UndoHistory& history_;
        ProjectDocument& document_;
        bool outermost_;
    };

    // (Each first lets go of the steps that statistics built again since have emptied.)
    bool canUndo();
    std::size_t stepsToUndo();
    bool canRedo();
    std::string_view undoName();
    std::string_view redoName();

    // Takes back the last step (or makes it again); the project's derived parts follow.
    // The step's name, or nothing when there was none.
    std::optional<std::string> undo(ProjectDocument& document, Prompter& prompter);
    std::optional<std::string> redo(ProjectDocument& document, Prompter& prompter);

    // A project opened, made or reset (and recorded from now on): no steps, and its state
    // counts as saved.
    void clear(ProjectDocument& document);
    // The project was saved as it is now.
    void markSaved() { saved_ = current_; }
    // The statistics shown with the project, whose statistic rows and notes are steps too
    // (they must outlive the history).
    void watch(Statistics* statistics) { statistics_ = statistics; }
    // Whether the last undo or redo changed the project (else only the statistics shown).
    bool steppedProject() const { return steppedProject_; }
    // About how much memory the steps hold.
    std::size_t bytes() const;

  private:
    void begin(ProjectDocument& document, std::string_view name, bool completes);
    void end(ProjectDocument& document);
    void detach(ProjectDocument& document);
    // The statistics changed outside an action (built again, a note typed): what steps hold of
    // them no longer fits and is dropped.
    void forgetStatisticsStepsIfRebuilt();
    std::array<std::uint64_t, 3> statisticsRevisions() const;
    // Records into the open step from now on.
    void attach(ProjectDocument& document, UndoStep& step);
    // Takes what changed since the last action as a step of its own.
    void collectStray(ProjectDocument& document);
    void push(UndoStep step);
    // What the step did to the location index since the last step.
    void takeLocationChange(UndoStep& step, const ProjectDocument& document);
    void replay(UndoStep& step, std::deque<UndoStep>& other, ProjectDocument& document,
                Prompter& prompter);
    // The last step of `from` replayed, its inverse going onto `to`.
    std::optional<std::string> takeBack(std::deque<UndoStep>& from, std::deque<UndoStep>& to,
                                        ProjectDocument& document, Prompter& prompter);
    void trim();

    std::deque<UndoStep> undo_;
    std::deque<UndoStep> redo_;
    UndoStep open_;
    UndoStep stray_;
    ProjectDocument* document_ = nullptr;  // whose tables record into this history
    Statistics* statistics_ = nullptr;
    std::optional<int> statisticRowBefore_;
    std::array<std::uint64_t, 3> statisticsSeen_{};  // revisions at the end of the last step
    bool steppedProject_ = false;
    bool replacedInAction_ = false;  // clear() ran inside the open action
    bool actionOpen_ = false;        // between begin() and end()
    StructureSnapshot structureBefore_;
    LocationIndex locationsBefore_;  // the index at the end of the last step
    int depth_ = 0;
    std::uint64_t nextState_ = 1;
    std::uint64_t current_ = 0;
    std::uint64_t saved_ = 0;
};

// Runs a change as one named step of a project's history: what windows that change the project
// are given by the window that owns the history.
using ActionScope =
    std::function<void(std::string_view name, bool completes, const std::function<void()>& change)>;
ActionScope actionScope(UndoHistory& history, ProjectDocument& document);

}  // namespace tf

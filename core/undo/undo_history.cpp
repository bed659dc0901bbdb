#include "core/undo/undo_history.h"

#include <utility>

#include "core/analysis/location_index.h"
#include "core/materials/material_table.h"

namespace tf {
namespace {

constexpr std::string_view kStrayStep = "修改";

}  // namespace

std::size_t UndoStep::bytes() const {
    std::size_t total =
        sizeof(*this) + name.size() + analysis.bytes() + materials.bytes() + attachments.bytes();
    if (structure) {
        total += structure->tree.size() + structure->items.size();
    }
    if (locations) {
        total += locations->bytes();
    }
    return total + summary.bytes() + itemSummary.bytes() + cumulative.bytes();
}

bool UndoStep::changesProject() const {
    return !analysis.empty() || !materials.empty() || !attachments.empty() || structure;
}

bool UndoStep::changesStatistics() const {
    return !summary.empty() || !itemSummary.empty() || !cumulative.empty() || statisticRow;
}

UndoHistory::Action::Action(UndoHistory& history, ProjectDocument& document, std::string_view name,
                            bool completes)
    : history_(history), document_(document), outermost_(history.depth_++ == 0) {
    if (outermost_) {
        history_.begin(document_, name, completes);
    }
}

ActionScope actionScope(UndoHistory& history, ProjectDocument& document) {
    return [&history, &document](std::string_view name, bool completes,
                                 const std::function<void()>& change) {
        UndoHistory::Action action(history, document, name, completes);
        change();
    };
}

UndoHistory::Action::~Action() {
    --history_.depth_;
    if (outermost_) {
        history_.end(document_);
    }
}

UndoHistory::~UndoHistory() {
    if (document_ != nullptr) {
        detach(*document_);
    }
}

void UndoHistory::detach(ProjectDocument& document) {
    document.analysis.attachJournal(nullptr);
    document.materials.attachJournal(nullptr);
    document.attachments.journal = nullptr;
    if (statistics_ != nullptr) {
        statistics_->summary.attachJournal(nullptr);
        statistics_->itemSummary.attachJournal(nullptr);
        statistics_->cumulative.attachJournal(nullptr);
    }
}

std::array<std::uint64_t, 3> UndoHistory::statisticsRevisions() const {
    if (statistics_ == nullptr) {
        return {};
    }
    return {statistics_->summary.revision(), statistics_->itemSummary.revision(),
            statistics_->cumulative.revision()};
}

void UndoHistory::forgetStatisticsStepsIfRebuilt() {
    // Inside an action the statistics change as a step of it.
    if (actionOpen_ || statisticsRevisions() == statisticsSeen_) {
        return;
    }
    statisticsSeen_ = statisticsRevisions();
    for (auto* steps : {&undo_, &redo_}) {
        for (UndoStep& step : *steps) {
            step.summary = GridJournal();
            step.itemSummary = GridJournal();
            step.cumulative = GridJournal();
            step.statisticRow.reset();
        }
    }
    // A step of the statistics alone now changes nothing: it goes, and the states on either
    // side of it, being alike, become one.
    const auto alias = [this](std::uint64_t gone, std::uint64_t kept) {
        for (auto* steps : {&undo_, &redo_}) {
            for (UndoStep& step : *steps) {
                step.restores = step.restores == gone ? kept : step.restores;
            }
        }
        current_ = current_ == gone ? kept : current_;
        saved_ = saved_ == gone ? kept : saved_;
    };
    const auto empty = [](const UndoStep& step) { return !step.changesProject(); };
    for (std::size_t i = undo_.size(); i-- > 0;) {
        if (empty(undo_[i])) {
            // The state after it is the one the next step restores, or the current one.
            const std::uint64_t after = i + 1 < undo_.size() ? undo_[i + 1].restores : current_;
            const std::uint64_t before = undo_[i].restores;
            undo_.erase(undo_.begin() + static_cast<std::ptrdiff_t>(i));
            alias(after, before);
        }
    }
    for (std::size_t i = redo_.size(); i-- > 0;) {
        if (empty(redo_[i])) {
            const std::uint64_t before = i + 1 < redo_.size() ? redo_[i + 1].restores : current_;
            const std::uint64_t after = redo_[i].restores;
            redo_.erase(redo_.begin() + static_cast<std::ptrdiff_t>(i));
            alias(after, before);
        }
    }
}

void UndoHistory::attach(ProjectDocument& document, UndoStep& step) {
    document_ = &document;
    document.analysis.attachJournal(&step.analysis);
    document.materials.attachJournal(&step.materials);
    document.attachments.journal = &step.attachments;
    // The statistics record only inside actions: between them they are built again at will.
    if (statistics_ != nullptr) {
        const bool inAction = &step != &stray_;
        statistics_->summary.attachJournal(inAction ? &step.summary : nullptr);
        statistics_->itemSummary.attachJournal(inAction ? &step.itemSummary : nullptr);
        statistics_->cumulative.attachJournal(inAction ? &step.cumulative : nullptr);
        statisticRowBefore_ = statistics_->statisticRow;
    }
    // The structure is small and changes rarely: compared whole afterwards.
    structureBefore_ = document.structure;
}

void UndoHistory::collectStray(ProjectDocument& document) {
    forgetStatisticsStepsIfRebuilt();
    UndoStep step = std::exchange(stray_, UndoStep{});
    if (document.structure != structureBefore_) {
        step.structure = structureBefore_;
    }
    takeLocationChange(step, document);
    // The cursor moving or the columns laid out for the window are no change to take back.
    if (!document.analysis.onlyViewChanged(step.analysis) ||
        !document.materials.onlyViewChanged(step.materials) || !step.attachments.empty() ||
        step.structure) {
        step.name = std::string(kStrayStep);
        push(std::move(step));
    }
}

void UndoHistory::takeLocationChange(UndoStep& step, const ProjectDocument& document) {
    // The index is read from the analysis table and changes only with it.
    if (step.analysis.empty()) {
        return;
    }
    step.locations = locationIndexChange(locationsBefore_, document.locations);
    if (step.locations) {
        locationsBefore_ = document.locations;
    }
}

void UndoHistory::push(UndoStep step) {
    step.restores = current_;
    current_ = nextState_++;
    undo_.push_back(std::move(step));
    redo_.clear();
    trim();
}

void UndoHistory::begin(ProjectDocument& document, std::string_view name, bool completes) {
    if (!completes) {
        collectStray(document);
        open_ = UndoStep{};
        open_.name = std::string(name);
        attach(document, open_);
        actionOpen_ = true;
        return;
    }
    // The changes since the last step go on recording into this one, the structure compared
    // with what it was then.
    forgetStatisticsStepsIfRebuilt();
    const StructureSnapshot since = structureBefore_;
    open_ = std::exchange(stray_, UndoStep{});
    open_.name = std::string(name);
    attach(document, open_);
    structureBefore_ = since;
    actionOpen_ = true;
}

void UndoHistory::end(ProjectDocument& document) {
    actionOpen_ = false;
    if (document.structure != structureBefore_) {
        open_.structure = structureBefore_;
    }
    if (statistics_ != nullptr && statistics_->statisticRow != statisticRowBefore_) {
        open_.statisticRow = statisticRowBefore_;
    }
    takeLocationChange(open_, document);
    if (replacedInAction_) {
        locationsBefore_ = document.locations;
    }
    UndoStep step = std::exchange(open_, UndoStep{});
    // A command that replaced the project (open, new, reset) started the history anew: what it
    // did is the new start, not a step.
    if (!std::exchange(replacedInAction_, false) &&
        (step.changesProject() || step.changesStatistics())) {
        push(std::move(step));
    }
    statisticsSeen_ = statisticsRevisions();
    attach(document, stray_);
}

void UndoHistory::trim() {
    std::size_t total = bytes();
    while (undo_.size() > kMostSteps || (total > kMostBytes && undo_.size() > 1)) {
        total -= undo_.front().bytes();
        undo_.pop_front();
    }
}

bool UndoHistory::canUndo() {
    forgetStatisticsStepsIfRebuilt();
    return !undo_.empty();
}

std::size_t UndoHistory::stepsToUndo() {
    forgetStatisticsStepsIfRebuilt();
    return undo_.size();
}

bool UndoHistory::canRedo() {
    forgetStatisticsStepsIfRebuilt();
    return !redo_.empty();
}

std::string_view UndoHistory::undoName() {
    return canUndo() ? std::string_view(undo_.back().name) : std::string_view();
}

std::string_view UndoHistory::redoName() {
    return canRedo() ? std::string_view(redo_.back().name) : std::string_view();
}

void UndoHistory::replay(UndoStep& step, std::deque<UndoStep>& other, ProjectDocument& document,
                         Prompter& prompter) {
    BusyCursor busy(prompter);  // a step can span a million rows
    // The inverse records the redo; the derived parts rebuilt afterwards record nowhere.
    detach(document);
    UndoStep inverse;
    inverse.name = step.name;
    inverse.restores = current_;
    const bool materialsChange = !step.materials.empty();
    document.analysis.undo(step.analysis, inverse.analysis);
    document.materials.undo(step.materials, inverse.materials);
    document.attachments.undo(step.attachments, inverse.attachments);
    if (step.structure) {
        inverse.structure = std::exchange(document.structure, std::move(*step.structure));
    }
    // What is derived from the tables follows them, as after the change itself.
    if (step.locations) {
        revertLocationIndex(document.locations, *step.locations);
        inverse.locations = std::move(step.locations);
        locationsBefore_ = document.locations;
    }
    if (materialsChange) {
        rebuildCatalogue(document);
    }
    if (statistics_ != nullptr) {
        statistics_->summary.undo(step.summary, inverse.summary);
        statistics_->itemSummary.undo(step.itemSummary, inverse.itemSummary);
        statistics_->cumulative.undo(step.cumulative, inverse.cumulative);
        if (step.statisticRow) {
            inverse.statisticRow = std::exchange(statistics_->statisticRow, *step.statisticRow);
        }
    }
    steppedProject_ = inverse.changesProject();
    current_ = step.restores;
    other.push_back(std::move(inverse));
    document.modified = current_ != saved_;
    attach(document, stray_);
    statisticsSeen_ = statisticsRevisions();
}

std::optional<std::string> UndoHistory::takeBack(std::deque<UndoStep>& from,
                                                 std::deque<UndoStep>& to,
                                                 ProjectDocument& document, Prompter& prompter) {
    if (depth_ > 0) {
        return std::nullopt;
    }
    collectStray(document);  // a change since an undo leaves nothing to redo
    if (from.empty()) {
        attach(document, stray_);
        return std::nullopt;
    }
    UndoStep step = std::move(from.back());
    from.pop_back();
    replay(step, to, document, prompter);
    return step.name;
}

std::optional<std::string> UndoHistory::undo(ProjectDocument& document, Prompter& prompter) {
    return takeBack(undo_, redo_, document, prompter);
}

std::optional<std::string> UndoHistory::redo(ProjectDocument& document, Prompter& prompter) {
    return takeBack(redo_, undo_, document, prompter);
}

void UndoHistory::clear(ProjectDocument& document) {
    undo_.clear();
    redo_.clear();
    current_ = saved_ = nextState_++;
    stray_ = UndoStep{};
    locationsBefore_ = document.locations;
    // Inside a command, what it recorded so far belongs to the project that went.
    replacedInAction_ = depth_ > 0;
    if (replacedInAction_) {
        open_ = UndoStep{};
    }
    attach(document, replacedInAction_ ? open_ : stray_);
    statisticsSeen_ = statisticsRevisions();
}

std::size_t UndoHistory::bytes() const {
    std::size_t total = 0;
    for (const UndoStep& step : undo_) {
        total += step.bytes();
    }
    for (const UndoStep& step : redo_) {
        total += step.bytes();
    }
    return total;
}

}  // namespace tf

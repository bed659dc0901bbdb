#include "core/undo/undo_history.h"

#include <utility>

#include "core/analysis/location_index.h"
#include "core/materials/material_table.h"

namespace tf {

std::size_t UndoStep::bytes() const {
    std::size_t total =
        sizeof(*this) + name.size() + analysis.bytes() + materials.bytes() + attachments.bytes();
    if (structure) {
        total += structure->tree.size() + structure->items.size();
    }
    return total;
}

UndoHistory::Action::Action(UndoHistory& history, ProjectDocument& document, std::string_view name)
    : history_(history), document_(document), outermost_(history.depth_++ == 0) {
    if (outermost_) {
        history_.begin(document_, name);
    }
}

UndoHistory::Action::~Action() {
    --history_.depth_;
    if (outermost_) {
        history_.end(document_);
    }
}

void UndoHistory::begin(ProjectDocument& document, std::string_view name) {
    open_ = UndoStep{};
    open_.name = std::string(name);
    document.analysis.attachJournal(&open_.analysis);
    document.materials.attachJournal(&open_.materials);
    document.attachments.journal = &open_.attachments;
    // The structure is small and changes rarely: compared whole after the action.
    structureBefore_ = document.structure;
}

void UndoHistory::end(ProjectDocument& document) {
    document.analysis.attachJournal(nullptr);
    document.materials.attachJournal(nullptr);
    document.attachments.journal = nullptr;
    if (document.structure != *structureBefore_) {
        open_.structure = std::move(structureBefore_);
    }
    structureBefore_.reset();
    if (open_.analysis.empty() && open_.materials.empty() && open_.attachments.empty() &&
        !open_.structure) {
        return;
    }
    open_.restores = current_;
    current_ = nextState_++;
    undo_.push_back(std::move(open_));
    redo_.clear();
    trim();
}

void UndoHistory::trim() {
    std::size_t total = bytes();
    while (undo_.size() > kMostSteps || (total > kMostBytes && undo_.size() > 1)) {
        total -= undo_.front().bytes();
        undo_.pop_front();
    }
}

std::string_view UndoHistory::undoName() const {
    return undo_.empty() ? std::string_view() : undo_.back().name;
}

std::string_view UndoHistory::redoName() const {
    return redo_.empty() ? std::string_view() : redo_.back().name;
}

void UndoHistory::replay(UndoStep& step, std::deque<UndoStep>& other, ProjectDocument& document,
                         Prompter& prompter) {
    UndoStep inverse;
    inverse.name = step.name;
    inverse.restores = current_;
    document.analysis.undo(step.analysis, inverse.analysis);
    document.materials.undo(step.materials, inverse.materials);
    document.attachments.undo(step.attachments, inverse.attachments);
    if (step.structure) {
        inverse.structure = std::exchange(document.structure, std::move(*step.structure));
    }
    current_ = step.restores;
    other.push_back(std::move(inverse));
    document.modified = current_ != saved_;
    // What is derived from the tables follows them, as after the change itself.
    document.locations = rebuildLocationIndex(document.analysis);
    rebuildCatalogue(document, prompter);
}

std::optional<std::string> UndoHistory::undo(ProjectDocument& document, Prompter& prompter) {
    if (undo_.empty() || depth_ > 0) {
        return std::nullopt;
    }
    UndoStep step = std::move(undo_.back());
    undo_.pop_back();
    replay(step, redo_, document, prompter);
    return step.name;
}

std::optional<std::string> UndoHistory::redo(ProjectDocument& document, Prompter& prompter) {
    if (redo_.empty() || depth_ > 0) {
        return std::nullopt;
    }
    UndoStep step = std::move(redo_.back());
    redo_.pop_back();
    replay(step, undo_, document, prompter);
    return step.name;
}

void UndoHistory::clear() {
    undo_.clear();
    redo_.clear();
    current_ = saved_ = nextState_++;
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

#include "core/undo/grid_history.h"

#include <utility>

namespace tf {

GridHistory::GridHistory(Grid& grid) : grid_(grid) {
    grid_.attachJournal(&open_);
}

GridHistory::~GridHistory() {
    grid_.attachJournal(nullptr);
}

void GridHistory::cut() {
    if (!open_.empty() && !grid_.onlyViewChanged(open_)) {
        undo_.push_back(std::move(open_));
        redo_.clear();
        if (undo_.size() > kMostSteps) {
            undo_.erase(undo_.begin());
        }
    }
    open_ = GridJournal();  // the grid keeps recording here
}

void GridHistory::clear() {
    undo_.clear();
    redo_.clear();
    open_ = GridJournal();
}

bool GridHistory::takeBack(std::vector<GridJournal>& from, std::vector<GridJournal>& to) {
    cut();
    if (from.empty()) {
        return false;
    }
    GridJournal inverse;
    grid_.undo(from.back(), inverse);
    from.pop_back();
    to.push_back(std::move(inverse));
    return true;
}

bool GridHistory::undo() {
    return takeBack(undo_, redo_);
}

bool GridHistory::redo() {
    return takeBack(redo_, undo_);
}

}  // namespace tf

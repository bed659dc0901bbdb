#pragma once

#include <cstddef>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "core/grid/grid.h"

namespace tf {

// Undo and redo of one grid edited on its own (the print editor's sheet), a stack of its own
// that goes with its editor: every change records into the open step, and `cut` closes it.
// A small part the editor keeps beside the grid (its list of hidden columns) can go with the
// steps: it is compared at each cut and kept whole when it changed.
template <class Side = std::monostate>
class GridHistory {
  public:
    static constexpr std::size_t kMostSteps = 200;

    explicit GridHistory(Grid& grid, Side* side = nullptr) : grid_(grid), side_(side) {
        grid_.attachJournal(&open_.grid);
        if (side_ != nullptr) {
            sideSeen_ = *side_;
        }
    }
    ~GridHistory() { grid_.attachJournal(nullptr); }
    GridHistory(const GridHistory&) = delete;
    GridHistory& operator=(const GridHistory&) = delete;

    // The changes since the last cut become one step (moving the cursor is none).
    void cut() {
        if (side_ != nullptr && *side_ != sideSeen_) {
            open_.side = std::exchange(sideSeen_, *side_);
        }
        if (open_.side || (!open_.grid.empty() && !grid_.onlyViewChanged(open_.grid))) {
            undo_.push_back(std::move(open_));
            redo_.clear();
            if (undo_.size() > kMostSteps) {
                undo_.erase(undo_.begin());
            }
        }
        open_ = Step{};  // the grid keeps recording here
    }
    // The grid was replaced whole (a file opened into it): no steps.
    void clear() {
        undo_.clear();
        redo_.clear();
        open_ = Step{};
        if (side_ != nullptr) {
            sideSeen_ = *side_;
        }
    }
    bool canUndo() const { return !undo_.empty() || !open_.grid.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // False when there was nothing to take back or make again.
    bool undo() { return takeBack(undo_, redo_); }
    bool redo() { return takeBack(redo_, undo_); }

  private:
    struct Step {
        GridJournal grid;
        std::optional<Side> side;  // the other side's part, when the step changed it
    };

    bool takeBack(std::vector<Step>& from, std::vector<Step>& to) {
        cut();
        if (from.empty()) {
            return false;
        }
        Step& step = from.back();
        Step inverse;
        grid_.undo(step.grid, inverse.grid);
        if (step.side) {
            inverse.side = std::exchange(*side_, std::move(*step.side));
            sideSeen_ = *side_;
        }
        from.pop_back();
        to.push_back(std::move(inverse));
        return true;
    }

    Grid& grid_;
    Side* side_;
    Side sideSeen_{};  // the side part at the last cut
    Step open_;
    std::vector<Step> undo_;
    std::vector<Step> redo_;
};

}  // namespace tf

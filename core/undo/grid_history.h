#pragma once

#include <cstddef>
#include <vector>

#include "core/grid/grid.h"

namespace tf {

// Undo and redo of one grid edited on its own (the print editor's sheet), a stack of its own
// that goes with its editor: every change records into the open step, and `cut` closes it.
class GridHistory {
  public:
    static constexpr std::size_t kMostSteps = 200;

    explicit GridHistory(Grid& grid);
    ~GridHistory();
    GridHistory(const GridHistory&) = delete;
    GridHistory& operator=(const GridHistory&) = delete;

    // The changes since the last cut become one step (moving the cursor is none).
    void cut();
    // The grid was replaced whole (a file opened into it): no steps.
    void clear();
    bool canUndo() const { return !undo_.empty() || !open_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // False when there was nothing to take back or make again.
    bool undo();
    bool redo();

  private:
    bool takeBack(std::vector<GridJournal>& from, std::vector<GridJournal>& to);

    Grid& grid_;
    GridJournal open_;
    std::vector<GridJournal> undo_;
    std::vector<GridJournal> redo_;
};

}  // namespace tf

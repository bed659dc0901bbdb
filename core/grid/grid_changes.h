#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace tf {

// The changes of a grid that the view showing it has not shown yet. The grid records every
// change here; the first change after the view last took them wakes the view, which takes
// them when it repaints. So a view follows every change of its grid, whoever made it, and
// repaints once for a whole operation.
class GridChanges {
  public:
    struct Pending {
        bool shape = false;   // rows or columns inserted or removed, or a new grid
        bool layout = false;  // widths, kinds, alignment, fixed parts, row height
        bool spans = false;   // merges
        int firstRow = -1;    // texts or styles of rows firstRow..lastRow
        int lastRow = -1;
        bool any() const { return shape || layout || spans || firstRow >= 0; }
    };

    // `wake` is called once per batch of changes; it must not read the grid at once (the
    // change is still under way) but arrange for the view to take the changes soon.
    void setWake(std::function<void()> wake);
    void rows(int first, int last);
    void spans();
    void layout();
    void shape();
    Pending take();

  private:
    void wake();

    Pending pending_;
    bool woken_ = false;
    std::function<void()> wake_;
};

// The link from a grid to its change record. A copy of a grid is another grid that nobody
// watches yet; a watched grid that is assigned a new value records a change of everything.
class GridChangeLink {
  public:
    GridChangeLink() = default;
    GridChangeLink(const GridChangeLink&) {}
    GridChangeLink(GridChangeLink&&) noexcept {}
    GridChangeLink& operator=(const GridChangeLink&) {
        shape();
        return *this;
    }
    GridChangeLink& operator=(GridChangeLink&&) noexcept {
        shape();
        return *this;
    }
    ~GridChangeLink() = default;

    std::shared_ptr<GridChanges> record();
    // Counts every change, watched or not: whoever needs to know whether a grid changed since
    // a moment compares two counts.
    std::uint64_t revision() const { return revision_; }
    // Counts the changes of what the grid holds (texts, styles, merges, rows and columns) but
    // not of how a window lays it out (widths, alignment): figures derived from a grid still
    // hold while this count stays.
    std::uint64_t contentRevision() const { return contentRevision_; }
    void rows(int first, int last) {
        ++revision_;
        ++contentRevision_;
        if (record_) {
            record_->rows(first, last);
        }
    }
    void spans() {
        ++revision_;
        ++contentRevision_;
        if (record_) {
            record_->spans();
        }
    }
    void layout() {
        ++revision_;
        if (record_) {
            record_->layout();
        }
    }
    void shape() {
        ++revision_;
        ++contentRevision_;
        if (record_) {
            record_->shape();
        }
    }

  private:
    std::shared_ptr<GridChanges> record_;
    std::uint64_t revision_ = 0;
    std::uint64_t contentRevision_ = 0;
};

}  // namespace tf

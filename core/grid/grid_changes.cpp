#include "core/grid/grid_changes.h"

#include <algorithm>
#include <utility>

namespace tf {

void GridChanges::setWake(std::function<void()> wake) {
    wake_ = std::move(wake);
    woken_ = false;
    if (pending_.any()) {
        this->wake();
    }
}

void GridChanges::wake() {
    if (!woken_ && wake_) {
        woken_ = true;
        wake_();
    }
}

void GridChanges::rows(int first, int last) {
    if (first > last) {
        return;
    }
    if (pending_.firstRow < 0) {
        pending_.firstRow = first;
        pending_.lastRow = last;
    } else {
        pending_.firstRow = std::min(pending_.firstRow, first);
        pending_.lastRow = std::max(pending_.lastRow, last);
    }
    wake();
}

void GridChanges::spans() {
    pending_.spans = true;
    wake();
}

void GridChanges::layout() {
    pending_.layout = true;
    wake();
}

void GridChanges::shape() {
    pending_.shape = true;
    wake();
}

GridChanges::Pending GridChanges::take() {
    woken_ = false;
    return std::exchange(pending_, Pending{});
}

std::shared_ptr<GridChanges> GridChangeLink::record() {
    if (!record_) {
        record_ = std::make_shared<GridChanges>();
    }
    return record_;
}

}  // namespace tf

#include "core/grid/grid_journal.h"

#include "core/grid/grid.h"

namespace tf {

GridJournal::GridJournal() = default;
GridJournal::GridJournal(GridJournal&&) noexcept = default;
GridJournal& GridJournal::operator=(GridJournal&&) noexcept = default;
GridJournal::~GridJournal() = default;

std::size_t GridJournal::bytes() const {
    std::size_t total =
        sizeof(*this) + records_.capacity() * sizeof(Record) + rowsKept_.size() * 2 * sizeof(int);
    for (const Record& r : records_) {
        for (const PackedRow& row : r.rows) {
            total += row.textBytes() + static_cast<std::size_t>(row.slotCount()) * 8;
        }
        total += (r.mergesBefore.size() + r.mergesAfter.size()) * sizeof(CellRange);
        if (r.state) {
            total += sizeof(State) + r.state->columns.size() * sizeof(Column) +
                     r.state->styles.size() * sizeof(CellStyle) +
                     r.state->sums.size() * sizeof(RangeSum);
        }
        if (r.whole) {
            total += r.whole->saveSizeHint();
        }
        if (r.styles) {
            total += sizeof(StyleRuns) + r.styles->pairs.size() * sizeof(std::uint32_t) +
                     r.styles->repeats.size() * sizeof(std::uint32_t);
        }
    }
    return total;
}

}  // namespace tf

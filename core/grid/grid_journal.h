#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/grid/grid_types.h"
#include "core/grid/packed_row.h"
#include "core/grid/style_table.h"

namespace tf {

class Grid;

// What one step of editing changed in a grid, written down as the changes happen, so that the
// grid can take the step back: the rows it rewrote, inserted or deleted (with their content),
// the merges it made or undid, and the grid's small parts (columns, styles, sums, fixed parts,
// cursor) as they were before it. Never a copy of the whole table, except for the rare changes
// that touch every row (columns inserted or deleted, a grid cleared or loaded).
class GridJournal {
  public:
    GridJournal();
    GridJournal(GridJournal&&) noexcept;
    GridJournal& operator=(GridJournal&&) noexcept;
    ~GridJournal();

    bool empty() const { return records_.empty(); }
    // About how much memory the journal holds.
    std::size_t bytes() const;

  private:
    friend class Grid;

    struct State {
        std::vector<Column> columns;
        StyleTable styles;
        std::unordered_map<std::uint64_t, StyleId> styleMemo;
        std::vector<RangeSum> sums;
        int fixedRows = 0;
        int fixedColumns = 0;
        int rowHeight = 0;
        Rgb gridLineColor;
        CellPos cursor;
        CellRange selection;
    };
    // The style ids of an area before a repaint, by pairs of rows, each pair with the number
    // of times it repeats: bands repainted over half a table are a few runs, not its rows.
    // Each row of a pair is its ids and its slot count up to the area's right (a repaint
    // lengthens a shorter row, and the undo shortens it again).
    struct StyleRuns {
        CellRange area;
        std::vector<std::uint32_t> pairs;  // 2 × (the area's width + 1) per run
        std::vector<std::uint32_t> repeats;
    };
    enum class Kind : std::uint8_t { State, Row, Inserted, Deleted, Merges, Whole, Styles };
    struct Record {
        explicit Record(Kind k, int at = 0, int n = 0) : kind(k), row(at), count(n) {}
        Kind kind = Kind::Row;
        int row = 0;
        int count = 0;
        std::vector<PackedRow> rows;
        std::vector<CellRange> mergesBefore;
        std::vector<CellRange> mergesAfter;
        std::unique_ptr<State> state;
        std::unique_ptr<Grid> whole;
        std::unique_ptr<StyleRuns> styles;
    };

    std::vector<Record> records_;
    bool stateKept_ = false;
    // Rows whose content before the step is kept, since the last insertion or deletion.
    std::unordered_set<int> rowsKept_;
};

}  // namespace tf

#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/grid/grid_changes.h"
#include "core/grid/grid_journal.h"
#include "core/grid/grid_types.h"
#include "core/grid/packed_row.h"
#include "core/grid/style_table.h"

namespace tf {

class ByteStream;
class ByteWriter;

// The table store behind every window of the program: text cells, fixed header rows and
// columns, column layout, computed columns and sums, merges, sparse cell styles, cursor and
// selection, and a byte format that rebuilds all of it. Rows and columns count from 0.
// Out-of-range reads give empty texts and default styles; out-of-range writes do nothing.
class Grid {
  public:
    static constexpr int kDefaultRowHeight = 20;
    static constexpr Rgb kDefaultGridLineColor{192, 192, 192};

    Grid() = default;
    Grid(int rows, int columns);

    // Size
    int rowCount() const { return static_cast<int>(rows_.size()); }
    int columnCount() const { return static_cast<int>(columns_.size()); }
    void setRowCount(int rows);
    void setColumnCount(int columns);
    // Inserts `count` empty rows before `row` (row == rowCount() appends); the heading text,
    // when given, goes into column 0 of the first new row.
    void insertRows(int row, int count = 1, std::string_view heading = {});
    void appendRows(int count) { insertRows(rowCount(), count); }
    void deleteRows(int row, int count = 1);
    void insertColumns(int column, int count = 1);
    void deleteColumns(int column, int count = 1);

    int fixedRows() const { return fixedRows_; }
    int fixedColumns() const { return fixedColumns_; }
    void setFixedRows(int rows);
    void setFixedColumns(int columns);
    int rowHeight() const { return rowHeight_; }
    void setRowHeight(int pixels);

    // Cells. The view stays valid until the same row changes.
    std::string_view text(int row, int column) const;
    void setText(int row, int column, std::string_view text);
    // The texts of consecutive cells from `column` on, at the cost of one setText.
    void setTexts(int row, int column, std::initializer_list<std::string_view> texts);
    // Row `row` made anew in one piece, as loaded rows are: the texts from column 0 on (the
    // rest blank) with the styles of row `styleRow`. For writers of long tables, whose rows
    // would otherwise be packed once for their make-up and again for every text.
    void writeRow(int row, int styleRow, std::span<const std::string_view> texts);
    void clearTexts(const CellRange& range);
    // Back to a grid without rows, columns, styles or anything else.
    void clear();
    // Writes the product columns, then the range sums.
    void recalculate();
    // Only the range sums: for a writer that wrote every product as productText makes it.
    void recalculateSums();

    // Layout
    const Column& column(int column) const;
    void setColumnWidth(int column, int width);
    void setColumnKind(int column, ColumnKind kind, int decimals = 0);
    void setColumnAlign(int column, std::optional<Align> align);
    void setPickList(int column, std::vector<std::string> items);
    void setProductColumn(int column, std::optional<ProductRule> rule);
    void setRangeSum(const RangeSum& sum);
    void clearRangeSum(int row, int column);
    const std::vector<RangeSum>& rangeSums() const { return sums_; }
    // Merging absorbs merges it overlaps; a single cell is never a merge.
    void merge(const CellRange& range);
    // Removes every merge that overlaps the range.
    void split(const CellRange& range);
    std::optional<CellRange> mergeAt(int row, int column) const;
    const std::vector<CellRange>& merges() const { return merges_; }  // sorted by top, left
    // How many merges inserted rows have moved or grown so far: the work behind adding rows,
    // which tests hold to the rows added rather than to the size of the table.
    std::uint64_t mergesMoved() const { return mergesMoved_; }
    // The merges that reach into rows first..last.
    std::vector<CellRange> mergesInRows(int first, int last) const;

    // Appearance
    const CellStyle& style(int row, int column) const;
    StyleId styleId(int row, int column) const;
    void setBackground(const CellRange& range, std::optional<Rgb> colour);
    void setForeground(const CellRange& range, std::optional<Rgb> colour);
    // Alternating row bands: rows with an even grid index get `evenRows`, the others
    // `oddRows` (nothing = the default background).
    void setBands(const CellRange& range, std::optional<Rgb> evenRows, std::optional<Rgb> oddRows);
    void setFont(const CellRange& range, std::string_view name, int size);
    void setBold(const CellRange& range, bool bold);
    void setWrap(const CellRange& range, bool wrap);
    void setAlign(const CellRange& range, std::optional<Align> align);
    Rgb gridLineColor() const { return gridLineColor_; }
    void setGridLineColor(Rgb colour);
    std::size_t styleCount() const { return styles_.size(); }

    // Cursor and selection
    CellPos cursor() const { return cursor_; }
    void setCursor(int row, int column);
    CellRange selection() const { return selection_; }
    void setSelection(const CellRange& range);

    // Persistence: the saved form rebuilds everything above. Loading bytes that are not a
    // saved grid fails and leaves this grid unchanged.
    std::string save() const;
    // The saved form appended to a larger image, and about how many bytes it takes. The form
    // is sealed: it ends with the CRC-32 of all of it before (sealedCrc).
    void saveTo(ByteWriter& out) const;
    std::size_t saveSizeHint() const;
    bool load(std::string_view bytes);
    // The same from a stream limited to the saved grid's bytes, read to their end.
    bool load(ByteStream& section);

    // The record of changes that the view showing this grid follows (made on first use).
    std::shared_ptr<GridChanges> changes() { return changes_.record(); }
    // A count of the changes made so far (texts, styles, layout, merges, shape).
    std::uint64_t revision() const { return changes_.revision(); }
    std::uint64_t contentRevision() const { return changes_.contentRevision(); }

    // Undo. While a journal is attached, every change writes into it what it replaced; a
    // copy of the grid has none attached. Detach with nullptr.
    void attachJournal(GridJournal* journal);
    GridJournal* journal() const { return journal_.journal; }
    // Takes back what `step` recorded (emptying it), writing into `inverse` what takes the
    // undo back in turn.
    void undo(GridJournal& step, GridJournal& inverse);
    // Whether all that the journal holds is how the grid is viewed: the cursor or selection
    // moving, column widths laid out again for the window.
    bool onlyViewChanged(const GridJournal& journal) const;

    friend bool operator==(const Grid& a, const Grid& b);

  private:
    friend class GridFormat;

    CellRange clampToGrid(const CellRange& range) const;
    bool validRow(int row) const { return row >= 0 && row < rowCount(); }
    bool validColumn(int column) const { return column >= 0 && column < columnCount(); }
    // `memoKey` names the change (kind and value) so that its result per old style can be
    // remembered across calls; 0 for changes not worth remembering.
    void changeStyle(const CellRange& range, const std::function<void(CellStyle&)>& change,
                     std::uint64_t memoKey = 0);
    void compactStyles();
    void sortMerges();
    void clampCursorAndSelection();
    // What the journal keeps before a change: the small parts, rows, the whole grid, merges.
    void keepState();
    void keepRows(int first, int last);
    void keepStyles(const CellRange& area);
    void restoreStyles(const GridJournal::StyleRuns& runs);
    void keepWhole();
    void keepMerges(std::vector<CellRange> before, std::vector<CellRange> after);
    void removeMerges(std::vector<CellRange> merges);
    void addMerges(std::vector<CellRange> merges);
    void replay(GridJournal::Record& record);

    // The rows, and the blocks loaded and rewritten rows were packed into. A copy of the grid
    // shares the blocks and the rows in them (a million-row table copies in milliseconds and
    // adds no second copy of its texts); rows of their own are copied.
    struct Rows : std::vector<PackedRow> {
        Rows() = default;
        Rows(const Rows& other) : std::vector<PackedRow>() {
            reserve(other.size());
            for (const PackedRow& row : other) {
                push_back(row.sharingArena());
            }
        }
        Rows(Rows&&) noexcept = default;
        Rows& operator=(const Rows& other) {
            if (this != &other) {
                Rows copy(other);
                swap(copy);
            }
            return *this;
        }
        Rows& operator=(Rows&&) noexcept = default;
        ~Rows() = default;
    };
    std::shared_ptr<RowArena> rowArena_;  // before the rows: they go first
    Rows rows_;
    std::vector<Column> columns_;
    StyleTable styles_;
    std::unordered_map<std::uint64_t, StyleId> styleMemo_;  // (change, old id) -> new id
    std::vector<CellRange> merges_;
    int tallestMerge_ = 1;  // an upper bound, for merge look-ups
    std::uint64_t mergesMoved_ = 0;
    std::vector<RangeSum> sums_;
    int fixedRows_ = 0;
    int fixedColumns_ = 0;
    int rowHeight_ = kDefaultRowHeight;
    Rgb gridLineColor_ = kDefaultGridLineColor;
    CellPos cursor_;
    CellRange selection_;
    GridChangeLink changes_;
    // Not copied with the grid: a copy is another grid, with its own history.
    struct JournalLink {
        GridJournal* journal = nullptr;
        JournalLink() = default;
        JournalLink(const JournalLink&) {}
        JournalLink& operator=(const JournalLink&) { return *this; }
    } journal_;
};

// What a product column shows for its two factors' texts: blank when both are.
std::string productText(std::string_view left, std::string_view right);

}  // namespace tf

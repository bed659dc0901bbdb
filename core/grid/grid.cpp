#include "core/grid/grid.h"

#include <algorithm>
#include <cstdint>

#include "core/base/number_text.h"
#include "core/base/text_util.h"

namespace tf {
namespace {

const Column kNoColumn{};

// For searching merges, which are sorted by their top row, then their left column.
bool startsAbove(const CellRange& m, int top) {
    return m.top < top;
}

bool beforeInOrder(const CellRange& a, const CellRange& b) {
    return std::pair(a.top, a.left) < std::pair(b.top, b.left);
}

// New first..last after removing `count` items at `at` from an inclusive interval; empty
// optional when nothing of it is left.
std::optional<std::pair<int, int>> shrinkInterval(int first, int last, int at, int count) {
    const int cutLast = at + count - 1;
    if (last < at) {
        return std::pair{first, last};
    }
    if (first > cutLast) {
        return std::pair{first - count, last - count};
    }
    const int newFirst = first < at ? first : at;
    const int newLast = last > cutLast ? last - count : at - 1;
    if (newLast < newFirst) {
        return std::nullopt;
    }
    return std::pair{newFirst, newLast};
}

// Interval after inserting `count` items before `at`: those at or after move, an interval
// that straddles the point grows.
std::pair<int, int> growInterval(int first, int last, int at, int count) {
    if (first >= at) {
        return {first + count, last + count};
    }
    if (last >= at) {
        return {first, last + count};
    }
    return {first, last};
}

}  // namespace

Grid::Grid(int rows, int columns) {
    setColumnCount(columns);
    setRowCount(rows);
}

void Grid::setRowCount(int rows) {
    rows = std::max(0, rows);
    if (rows > rowCount()) {
        insertRows(rowCount(), rows - rowCount());
    } else if (rows < rowCount()) {
        deleteRows(rows, rowCount() - rows);
    }
}

void Grid::setColumnCount(int columns) {
    columns = std::max(0, columns);
    if (columns > columnCount()) {
        insertColumns(columnCount(), columns - columnCount());
    } else if (columns < columnCount()) {
        deleteColumns(columns, columnCount() - columns);
    }
}

void Grid::insertRows(int row, int count, std::string_view heading) {
    if (count <= 0 || row < 0 || row > rowCount()) {
        return;
    }
    keepState();
    if (GridJournal* j = journal_.journal) {
        j->records_.emplace_back(GridJournal::Kind::Inserted, row, count);
        j->rowsKept_.clear();
    }
    rows_.insert(rows_.begin() + row, static_cast<std::size_t>(count), PackedRow{});
    // Merges starting tallestMerge_ rows or more above end before `row`: untouched. Rows added
    // at the end thus cost nothing per merge, whatever the size of the table.
    const auto first =
        std::lower_bound(merges_.begin(), merges_.end(), row - tallestMerge_ + 1, startsAbove);
    for (auto m = first; m != merges_.end(); ++m) {
        std::tie(m->top, m->bottom) = growInterval(m->top, m->bottom, row, count);
        tallestMerge_ = std::max(tallestMerge_, m->bottom - m->top + 1);
        ++mergesMoved_;
    }
    for (auto& s : sums_) {
        if (s.row >= row) {
            s.row += count;
        }
        std::tie(s.firstRow, s.lastRow) = growInterval(s.firstRow, s.lastRow, row, count);
    }
    if (cursor_.row >= row) {
        cursor_.row += count;
    }
    changes_.shape();
    if (!heading.empty()) {
        setText(row, 0, heading);
    }
}

void Grid::deleteRows(int row, int count) {
    if (row < 0 || row >= rowCount() || count <= 0) {
        return;
    }
    count = std::min(count, rowCount() - row);
    keepState();
    GridJournal::Record deleted(GridJournal::Kind::Deleted, row, count);
    if (journal_.journal != nullptr) {
        deleted.rows.assign(rows_.begin() + row, rows_.begin() + row + count);
        deleted.mergesBefore = mergesInRows(row, row + count - 1);
        for (const CellRange& m : deleted.mergesBefore) {
            if (const auto span = shrinkInterval(m.top, m.bottom, row, count)) {
                const CellRange after{span->first, m.left, span->second, m.right};
                if (!after.singleCell()) {
                    deleted.mergesAfter.push_back(after);
                }
            }
        }
    }
    rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
    // As in insertRows, merges starting tallestMerge_ rows or more above `row` are untouched.
    const auto from =
        std::lower_bound(merges_.begin(), merges_.end(), row - tallestMerge_ + 1, startsAbove) -
        merges_.begin();
    merges_.erase(std::remove_if(merges_.begin() + from, merges_.end(),
                                 [&](CellRange& m) {
                                     const auto span = shrinkInterval(m.top, m.bottom, row, count);
                                     if (span) {
                                         std::tie(m.top, m.bottom) = *span;
                                     }
                                     return !span || m.singleCell();
                                 }),
                  merges_.end());
    // Merges cut at their top now start on `row`, maybe beside one that started there already.
    if (!std::is_sorted(merges_.begin() + from, merges_.end(), beforeInOrder)) {
        std::sort(merges_.begin() + from, merges_.end(), beforeInOrder);
    }
    std::erase_if(sums_, [&](RangeSum& s) {
        if (s.row >= row && s.row < row + count) {
            return true;
        }
        if (s.row >= row + count) {
            s.row -= count;
        }
        const auto span = shrinkInterval(s.firstRow, s.lastRow, row, count);
        if (!span) {
            s.lastRow = s.firstRow - 1;  // an empty range sums to 0
        } else {
            std::tie(s.firstRow, s.lastRow) = *span;
        }
        return false;
    });
    fixedRows_ = std::min(fixedRows_, rowCount());
    if (cursor_.row >= row + count) {
        cursor_.row -= count;
    }
    if (auto span = shrinkInterval(selection_.top, selection_.bottom, row, count)) {
        std::tie(selection_.top, selection_.bottom) = *span;
    }
    clampCursorAndSelection();
    changes_.shape();
    if (GridJournal* j = journal_.journal) {
        j->records_.push_back(std::move(deleted));
        j->rowsKept_.clear();
    }
}

void Grid::insertColumns(int column, int count) {
    if (count <= 0 || column < 0 || column > columnCount()) {
        return;
    }
    keepWhole();
    columns_.insert(columns_.begin() + column, static_cast<std::size_t>(count), Column{});
    for (auto& row : rows_) {
        row.insertSlots(column, count);
    }
    for (auto& m : merges_) {
        std::tie(m.left, m.right) = growInterval(m.left, m.right, column, count);
    }
    const auto shift = [&](int& c) {
        if (c >= column) {
            c += count;
        }
    };
    for (auto& c : columns_) {
        if (c.product) {
            shift(c.product->left);
            shift(c.product->right);
        }
    }
    for (auto& s : sums_) {
        shift(s.column);
        shift(s.sourceColumn);
    }
    if (cursor_.column >= column) {
        cursor_.column += count;
    }
    changes_.shape();
}

void Grid::deleteColumns(int column, int count) {
    if (column < 0 || column >= columnCount() || count <= 0) {
        return;
    }
    keepWhole();
    count = std::min(count, columnCount() - column);
    const auto removed = [&](int c) { return c >= column && c < column + count; };
    const auto shift = [&](int& c) {
        if (c >= column + count) {
            c -= count;
        }
    };
    columns_.erase(columns_.begin() + column, columns_.begin() + column + count);
    for (auto& row : rows_) {
        row.eraseSlots(column, count);
    }
    std::erase_if(merges_, [&](CellRange& m) {
        const auto span = shrinkInterval(m.left, m.right, column, count);
        if (span) {
            std::tie(m.left, m.right) = *span;
        }
        return !span || m.singleCell();
    });
    sortMerges();
    for (auto& c : columns_) {
        if (c.product && (removed(c.product->left) || removed(c.product->right))) {
            c.product.reset();
        } else if (c.product) {
            shift(c.product->left);
            shift(c.product->right);
        }
    }
    std::erase_if(sums_, [&](RangeSum& s) {
        if (removed(s.column) || removed(s.sourceColumn)) {
            return true;
        }
        shift(s.column);
        shift(s.sourceColumn);
        return false;
    });
    fixedColumns_ = std::min(fixedColumns_, columnCount());
    if (cursor_.column >= column + count) {
        cursor_.column -= count;
    }
    if (auto span = shrinkInterval(selection_.left, selection_.right, column, count)) {
        std::tie(selection_.left, selection_.right) = *span;
    }
    clampCursorAndSelection();
    changes_.shape();
}

void Grid::setFixedRows(int rows) {
    keepState();
    fixedRows_ = std::clamp(rows, 0, rowCount());
    changes_.layout();
}

void Grid::setFixedColumns(int columns) {
    keepState();
    fixedColumns_ = std::clamp(columns, 0, columnCount());
    changes_.layout();
}

void Grid::setRowHeight(int pixels) {
    keepState();
    rowHeight_ = std::max(1, pixels);
    changes_.layout();
}

void Grid::setGridLineColor(Rgb colour) {
    keepState();
    gridLineColor_ = colour;
    changes_.layout();
}

std::string_view Grid::text(int row, int column) const {
    if (!validRow(row) || !validColumn(column)) {
        return {};
    }
    return rows_[static_cast<std::size_t>(row)].text(column);
}

void Grid::setText(int row, int column, std::string_view value) {
    if (validRow(row) && validColumn(column)) {
        keepRows(row, row);
        rows_[static_cast<std::size_t>(row)].setText(column, value);
        changes_.rows(row, row);
    }
}

void Grid::setTexts(int row, int column, std::initializer_list<std::string_view> texts) {
    if (!validRow(row) || !validColumn(column)) {
        return;
    }
    const auto fitting = std::min(texts.size(), static_cast<std::size_t>(columnCount() - column));
    keepRows(row, row);
    rows_[static_cast<std::size_t>(row)].setTexts(column, {texts.begin(), fitting});
    changes_.rows(row, row);
}

void Grid::writeRow(int row, int styleRow, std::span<const std::string_view> texts) {
    if (!validRow(row) || !validRow(styleRow)) {
        return;
    }
    const PackedRow& model = rows_[static_cast<std::size_t>(styleRow)];
    const std::size_t slots = std::min(std::max(texts.size(), std::size_t(model.slotCount())),
                                       static_cast<std::size_t>(columnCount()));
    // Kept between calls: a long table is written a row at a time.
    thread_local std::vector<StyleId> styles;
    thread_local std::vector<std::string_view> cells;
    styles.resize(slots);
    cells.resize(slots);
    for (std::size_t c = 0; c < slots; ++c) {
        styles[c] = model.style(static_cast<int>(c));
        cells[c] = c < texts.size() ? texts[c] : std::string_view();
    }
    if (!rowArena_) {
        rowArena_ = std::make_shared<RowArena>();
    }
    keepRows(row, row);
    rows_[static_cast<std::size_t>(row)] =
        PackedRow::build(static_cast<int>(slots), styles.data(), cells.data(), rowArena_.get());
    changes_.rows(row, row);
}

void Grid::clearTexts(const CellRange& range) {
    const CellRange r = clampToGrid(range);
    for (int row = r.top; row <= r.bottom && r.top >= 0; ++row) {
        for (int c = r.left; c <= r.right; ++c) {
            setText(row, c, {});
        }
    }
}

void Grid::clear() {
    keepWhole();
    *this = Grid();
}

std::string productText(std::string_view left, std::string_view right) {
    return isBlank(left) && isBlank(right) ? std::string()
                                           : formatNumber(parseNumber(left) * parseNumber(right));
}

void Grid::recalculate() {
    for (int c = 0; c < columnCount(); ++c) {
        const auto& rule = columns_[static_cast<std::size_t>(c)].product;
        if (!rule) {
            continue;
        }
        for (int r = fixedRows_; r < rowCount(); ++r) {
            // A row already showing its product is not packed again.
            const std::string product = productText(text(r, rule->left), text(r, rule->right));
            if (product != text(r, c)) {
                setText(r, c, product);
            }
        }
    }
    recalculateSums();
}

void Grid::recalculateSums() {
    for (const auto& s : sums_) {
        double total = 0;
        for (int r = std::max(s.firstRow, 0); r <= std::min(s.lastRow, rowCount() - 1); ++r) {
            total += parseNumber(text(r, s.sourceColumn));
        }
        setText(s.row, s.column, formatNumber(total));
    }
}

const Column& Grid::column(int c) const {
    return validColumn(c) ? columns_[static_cast<std::size_t>(c)] : kNoColumn;
}

void Grid::setColumnWidth(int c, int width) {
    width = std::max(0, width);
    // Laying a table out again sets most widths to what they are: nothing to record or show.
    if (!validColumn(c) || columns_[static_cast<std::size_t>(c)].width == width) {
        return;
    }
    keepState();
    columns_[static_cast<std::size_t>(c)].width = width;
    changes_.layout();
}

void Grid::setColumnKind(int c, ColumnKind kind, int decimals) {
    keepState();
    if (validColumn(c)) {
        auto& col = columns_[static_cast<std::size_t>(c)];
        col.kind = kind;
        col.decimals = std::clamp(decimals, 0, 15);
    }
    changes_.layout();
}

void Grid::setColumnAlign(int c, std::optional<Align> align) {
    keepState();
    if (validColumn(c)) {
        columns_[static_cast<std::size_t>(c)].align = align;
    }
    changes_.layout();
}

void Grid::setPickList(int c, std::vector<std::string> items) {
    keepState();
    if (validColumn(c)) {
        columns_[static_cast<std::size_t>(c)].pickList = std::move(items);
    }
    changes_.layout();
}

void Grid::setProductColumn(int c, std::optional<ProductRule> rule) {
    if (!validColumn(c) || (rule && (!validColumn(rule->left) || !validColumn(rule->right)))) {
        return;
    }
    keepState();
    columns_[static_cast<std::size_t>(c)].product = rule;
    changes_.layout();
}

void Grid::setRangeSum(const RangeSum& sum) {
    if (!validRow(sum.row) || !validColumn(sum.column) || !validColumn(sum.sourceColumn)) {
        return;
    }
    keepState();
    clearRangeSum(sum.row, sum.column);
    sums_.push_back(sum);
}

void Grid::clearRangeSum(int row, int column) {
    keepState();
    std::erase_if(sums_, [&](const RangeSum& s) { return s.row == row && s.column == column; });
}

void Grid::merge(const CellRange& range) {
    const CellRange r = clampToGrid(range);
    if (r.top < 0) {
        return;
    }
    split(r);
    if (r.singleCell()) {
        return;
    }
    keepMerges({}, {r});
    merges_.insert(std::lower_bound(merges_.begin(), merges_.end(), r, beforeInOrder), r);
    tallestMerge_ = std::max(tallestMerge_, r.bottom - r.top + 1);
    changes_.spans();
}

void Grid::split(const CellRange& range) {
    const CellRange r = range.normalized();
    // Only merges that start between tallestMerge_ rows above and the range's bottom can
    // overlap it.
    const auto first = std::lower_bound(merges_.begin(), merges_.end(),
                                        std::max(r.top, 0) - tallestMerge_ + 1, startsAbove);
    const auto last = std::lower_bound(first, merges_.end(), r.bottom + 1, startsAbove);
    if (journal_.journal != nullptr) {
        std::vector<CellRange> removed;
        std::copy_if(first, last, std::back_inserter(removed),
                     [&](const CellRange& m) { return m.intersects(r); });
        keepMerges(std::move(removed), {});
    }
    const auto kept =
        std::remove_if(first, last, [&](const CellRange& m) { return m.intersects(r); });
    if (kept != last) {
        merges_.erase(kept, last);
        changes_.spans();
    }
}

std::optional<CellRange> Grid::mergeAt(int row, int column) const {
    // Merges are sorted by top row; only those starting at most tallestMerge_ rows above can
    // cover the cell.
    auto it = std::upper_bound(merges_.begin(), merges_.end(), row,
                               [](int r, const CellRange& m) { return r < m.top; });
    while (it != merges_.begin()) {
        --it;
        if (it->top <= row - tallestMerge_) {
            break;
        }
        if (it->contains(row, column)) {
            return *it;
        }
    }
    return std::nullopt;
}

std::vector<CellRange> Grid::mergesInRows(int first, int last) const {
    auto it = std::lower_bound(merges_.begin(), merges_.end(),
                               std::max(first, 0) - tallestMerge_ + 1, startsAbove);
    std::vector<CellRange> found;
    for (; it != merges_.end() && it->top <= last; ++it) {
        if (it->bottom >= first) {
            found.push_back(*it);
        }
    }
    return found;
}

void Grid::sortMerges() {
    // Shrinking keeps the order nearly always; sort only when it did not.
    if (!std::is_sorted(merges_.begin(), merges_.end(), beforeInOrder)) {
        std::sort(merges_.begin(), merges_.end(), beforeInOrder);
    }
    tallestMerge_ = 1;
    for (const auto& m : merges_) {
        tallestMerge_ = std::max(tallestMerge_, m.bottom - m.top + 1);
    }
}

const CellStyle& Grid::style(int row, int column) const {
    return styles_[styleId(row, column)];
}

StyleId Grid::styleId(int row, int column) const {
    if (!validRow(row) || !validColumn(column)) {
        return 0;
    }
    return rows_[static_cast<std::size_t>(row)].style(column);
}

void Grid::changeStyle(const CellRange& range, const std::function<void(CellStyle&)>& change,
                       std::uint64_t memoKey) {
    const CellRange r = clampToGrid(range);
    if (r.top < 0) {
        return;
    }
    keepState();
    keepRows(r.top, r.bottom);
    changes_.rows(r.top, r.bottom);
    // Every cell with the same old style gets the same new one: intern once per old id, and
    // for named changes (bands painted row by row) once per grid.
    std::vector<std::pair<StyleId, StyleId>> done;
    const auto newStyle = [&](StyleId old) -> std::optional<StyleId> {
        const auto known = std::find_if(done.begin(), done.end(),
                                        [old](const auto& pair) { return pair.first == old; });
        if (known != done.end()) {
            return known->second;
        }
        const std::uint64_t key = memoKey << 16 | old;
        if (memoKey != 0) {
            if (const auto it = styleMemo_.find(key); it != styleMemo_.end()) {
                done.emplace_back(old, it->second);
                return it->second;
            }
        }
        CellStyle next = styles_[old];
        change(next);
        const auto id = styles_.intern(next);
        if (id) {
            done.emplace_back(old, *id);
            if (memoKey != 0) {
                styleMemo_.emplace(key, *id);
            }
        }
        return id;
    };
    for (int row = r.top; row <= r.bottom; ++row) {
        auto& cells = rows_[static_cast<std::size_t>(row)];
        for (int c = r.left; c <= r.right; ++c) {
            const auto id = newStyle(cells.style(c));
            if (!id) {
                compactStyles();
                if (styles_.size() < StyleTable::kCapacity) {
                    changeStyle({row, r.left, r.bottom, r.right}, change, memoKey);
                    return;
                }
                continue;  // every id in use: this cell keeps its style
            }
            cells.setStyle(c, *id);
        }
    }
}

void Grid::compactStyles() {
    keepRows(0, rowCount() - 1);
    std::vector<bool> used(styles_.size(), false);
    for (const auto& row : rows_) {
        for (int c = 0; c < row.slotCount(); ++c) {
            used[row.style(c)] = true;
        }
    }
    const auto remap = styles_.compact(used);
    styleMemo_.clear();
    for (auto& row : rows_) {
        for (int c = 0; c < row.slotCount(); ++c) {
            row.setStyle(c, remap[row.style(c)]);
        }
    }
}

namespace {

// Memo keys of the style changes worth remembering: the kind of change and its value.
std::uint64_t colourKey(std::uint64_t kind, std::optional<Rgb> colour) {
    return kind << 32 | (colour ? colour->packed() + 1 : 0);
}

}  // namespace

void Grid::setBackground(const CellRange& range, std::optional<Rgb> colour) {
    changeStyle(
        range, [&](CellStyle& s) { s.background = colour; }, colourKey(1, colour));
}

void Grid::setBands(const CellRange& range, std::optional<Rgb> evenRows,
                    std::optional<Rgb> oddRows) {
    const CellRange r = clampToGrid(range);
    if (r.top < 0) {
        return;
    }
    keepState();
    keepStyles(r);
    changes_.rows(r.top, r.bottom);
    // Bands are repainted over long stretches of rows: one tight pass, with the new style of
    // each (old style, parity) pair worked out once.
    std::vector<std::pair<std::uint32_t, StyleId>> known;
    for (int row = r.top; row <= r.bottom; ++row) {
        const bool even = row % 2 == 0;
        auto& cells = rows_[static_cast<std::size_t>(row)];
        for (int c = r.left; c <= r.right; ++c) {
            const StyleId old = cells.style(c);
            const std::uint32_t key = static_cast<std::uint32_t>(old) << 1 | (even ? 1u : 0u);
            auto it = std::find_if(known.begin(), known.end(),
                                   [key](const auto& pair) { return pair.first == key; });
            if (it == known.end()) {
                CellStyle next = styles_[old];
                next.background = even ? evenRows : oddRows;
                const auto id = styles_.intern(next);
                if (!id) {  // the style table is full: take the general path from here on
                    setBackground({row, c, row, r.right}, next.background);
                    setBands({row + 1, r.left, r.bottom, r.right}, evenRows, oddRows);
                    return;
                }
                known.emplace_back(key, *id);
                it = known.end() - 1;
            }
            cells.setStyle(c, it->second);
        }
    }
}

void Grid::setForeground(const CellRange& range, std::optional<Rgb> colour) {
    changeStyle(
        range, [&](CellStyle& s) { s.foreground = colour; }, colourKey(2, colour));
}

void Grid::setFont(const CellRange& range, std::string_view name, int size) {
    changeStyle(range, [&](CellStyle& s) {
        s.fontName = std::string(name);
        s.fontSize = std::max(0, size);
    });
}

void Grid::setBold(const CellRange& range, bool bold) {
    changeStyle(range, [&](CellStyle& s) { s.bold = bold; });
}

void Grid::setWrap(const CellRange& range, bool wrap) {
    changeStyle(range, [&](CellStyle& s) { s.wrap = wrap; });
}

void Grid::setAlign(const CellRange& range, std::optional<Align> align) {
    changeStyle(range, [&](CellStyle& s) { s.align = align; });
}

void Grid::setCursor(int row, int column) {
    keepState();
    cursor_ = validRow(row) && validColumn(column) ? CellPos{row, column} : CellPos{};
}

void Grid::setSelection(const CellRange& range) {
    keepState();
    selection_ = clampToGrid(range);
}

CellRange Grid::clampToGrid(const CellRange& range) const {
    const CellRange r = range.normalized();
    if (rowCount() == 0 || columnCount() == 0 || r.bottom < 0 || r.right < 0 ||
        r.top >= rowCount() || r.left >= columnCount()) {
        return {};
    }
    return {std::max(r.top, 0), std::max(r.left, 0), std::min(r.bottom, rowCount() - 1),
            std::min(r.right, columnCount() - 1)};
}

void Grid::clampCursorAndSelection() {
    if (!validRow(cursor_.row) || !validColumn(cursor_.column)) {
        cursor_ = {};
    }
    selection_ = clampToGrid(selection_);
}

void Grid::attachJournal(GridJournal* journal) {
    journal_.journal = journal;
}

void Grid::keepState() {
    GridJournal* j = journal_.journal;
    if (j == nullptr || std::exchange(j->stateKept_, true)) {
        return;
    }
    auto state = std::make_unique<GridJournal::State>(
        GridJournal::State{columns_, styles_, styleMemo_, sums_, fixedRows_, fixedColumns_,
                           rowHeight_, gridLineColor_, cursor_, selection_});
    j->records_.emplace_back(GridJournal::Kind::State).state = std::move(state);
}

void Grid::keepRows(int first, int last) {
    GridJournal* j = journal_.journal;
    if (j == nullptr) {
        return;
    }
    for (int r = std::max(first, 0); r <= std::min(last, rowCount() - 1); ++r) {
        if (j->rowsKept_.insert(r).second) {
            j->records_.emplace_back(GridJournal::Kind::Row, r, 1)
                .rows.push_back(rows_[static_cast<std::size_t>(r)]);
        }
    }
}

void Grid::keepStyles(const CellRange& area) {
    GridJournal* j = journal_.journal;
    if (j == nullptr) {
        return;
    }
    auto runs = std::make_unique<GridJournal::StyleRuns>();
    runs->area = area;
    const int slots = area.right - area.left + 2;
    std::vector<std::uint32_t> pair(2 * static_cast<std::size_t>(slots));
    for (int top = area.top; top <= area.bottom; top += 2) {
        for (int half = 0; half < 2; ++half) {
            // A last row without its pair repeats itself; only rows of the area are written back.
            const PackedRow& row =
                rows_[static_cast<std::size_t>(std::min(top + half, area.bottom))];
            auto* out = pair.data() + half * slots;
            for (int c = area.left; c <= area.right; ++c) {
                *out++ = row.style(c);
            }
            *out = static_cast<std::uint32_t>(std::min(row.slotCount(), area.right + 1));
        }
        if (!runs->repeats.empty() &&
            std::equal(pair.begin(), pair.end(), runs->pairs.end() - std::ssize(pair))) {
            ++runs->repeats.back();
        } else {
            runs->pairs.insert(runs->pairs.end(), pair.begin(), pair.end());
            runs->repeats.push_back(1);
        }
    }
    j->records_.emplace_back(GridJournal::Kind::Styles).styles = std::move(runs);
}

void Grid::restoreStyles(const GridJournal::StyleRuns& runs) {
    const CellRange& area = runs.area;
    keepStyles(area);
    const int width = area.right - area.left + 2;
    int top = area.top;
    for (std::size_t run = 0; run < runs.repeats.size(); ++run) {
        const std::uint32_t* pair = runs.pairs.data() + run * 2 * static_cast<std::size_t>(width);
        for (std::uint32_t n = 0; n < runs.repeats[run]; ++n, top += 2) {
            for (int half = 0; half < 2 && top + half <= area.bottom; ++half) {
                PackedRow& row = rows_[static_cast<std::size_t>(top + half)];
                const std::uint32_t* in = pair + half * width;
                for (int c = area.left; c <= area.right; ++c) {
                    row.setStyle(c, static_cast<StyleId>(*in++));
                }
                // The row gets back its length up to the area's right: a repaint lengthens a
                // shorter row. Only empty slots go; a text written into one since is taken
                // back by its own record, which must still find it.
                const int length = static_cast<int>(*in);
                int slots = row.slotCount();
                if (slots < length) {
                    row.insertSlots(slots, length - slots);
                    slots = length;
                }
                while (slots > length && slots <= area.right + 1 && row.text(slots - 1).empty() &&
                       row.style(slots - 1) == 0) {
                    --slots;
                }
                row.truncate(slots);
            }
        }
    }
    changes_.rows(area.top, area.bottom);
}

void Grid::keepWhole() {
    if (GridJournal* j = journal_.journal) {
        j->records_.emplace_back(GridJournal::Kind::Whole).whole = std::make_unique<Grid>(*this);
        j->rowsKept_.clear();
    }
}

void Grid::keepMerges(std::vector<CellRange> before, std::vector<CellRange> after) {
    GridJournal* j = journal_.journal;
    if (j != nullptr && (!before.empty() || !after.empty())) {
        GridJournal::Record& record = j->records_.emplace_back(GridJournal::Kind::Merges);
        record.mergesBefore = std::move(before);
        record.mergesAfter = std::move(after);
    }
}

// Both keep the merges in order touching only where the given ones go, so that replaying a
// step costs what the step did, not the number of merges in the table.
void Grid::removeMerges(std::vector<CellRange> merges) {
    if (merges.empty()) {
        return;
    }
    keepMerges(merges, {});
    std::sort(merges.begin(), merges.end(), beforeInOrder);
    const auto first =
        std::lower_bound(merges_.begin(), merges_.end(), merges.front(), beforeInOrder);
    const auto last = std::upper_bound(first, merges_.end(), merges.back(), beforeInOrder);
    merges_.erase(std::remove_if(first, last,
                                 [&](const CellRange& m) {
                                     return std::binary_search(merges.begin(), merges.end(), m,
                                                               beforeInOrder);
                                 }),
                  last);
    changes_.spans();
}

void Grid::addMerges(std::vector<CellRange> merges) {
    if (merges.empty()) {
        return;
    }
    keepMerges({}, merges);
    std::sort(merges.begin(), merges.end(), beforeInOrder);
    const auto at =
        std::lower_bound(merges_.begin(), merges_.end(), merges.front(), beforeInOrder) -
        merges_.begin();
    const auto old = static_cast<std::ptrdiff_t>(merges_.size());
    merges_.insert(merges_.end(), merges.begin(), merges.end());
    std::inplace_merge(merges_.begin() + at, merges_.begin() + old, merges_.end(), beforeInOrder);
    for (const CellRange& m : merges) {
        tallestMerge_ = std::max(tallestMerge_, m.bottom - m.top + 1);
    }
    changes_.spans();
}

void Grid::replay(GridJournal::Record& record) {
    switch (record.kind) {
        case GridJournal::Kind::State: {
            keepState();
            GridJournal::State& s = *record.state;
            columns_ = std::move(s.columns);
            styles_ = std::move(s.styles);
            styleMemo_ = std::move(s.styleMemo);
            sums_ = std::move(s.sums);
            fixedRows_ = s.fixedRows;
            fixedColumns_ = s.fixedColumns;
            rowHeight_ = s.rowHeight;
            gridLineColor_ = s.gridLineColor;
            cursor_ = s.cursor;
            selection_ = s.selection;
            changes_.shape();
            break;
        }
        case GridJournal::Kind::Row:
            keepRows(record.row, record.row);
            rows_[static_cast<std::size_t>(record.row)] = std::move(record.rows.front());
            changes_.rows(record.row, record.row);
            break;
        case GridJournal::Kind::Inserted:
            deleteRows(record.row, record.count);
            break;
        case GridJournal::Kind::Deleted:
            removeMerges(std::move(record.mergesAfter));
            insertRows(record.row, record.count);
            std::move(record.rows.begin(), record.rows.end(), rows_.begin() + record.row);
            addMerges(std::move(record.mergesBefore));
            break;
        case GridJournal::Kind::Merges:
            removeMerges(std::move(record.mergesAfter));
            addMerges(std::move(record.mergesBefore));
            break;
        case GridJournal::Kind::Whole:
            keepWhole();
            *this = std::move(*record.whole);
            break;
        case GridJournal::Kind::Styles:
            restoreStyles(*record.styles);
            break;
    }
}

void Grid::undo(GridJournal& step, GridJournal& inverse) {
    if (step.records_.empty()) {
        return;  // a step that changed other tables: this one, and whoever watches it, stays
    }
    GridJournal* outer = std::exchange(journal_.journal, &inverse);
    for (auto it = step.records_.rbegin(); it != step.records_.rend(); ++it) {
        replay(*it);
    }
    step = GridJournal();
    journal_.journal = outer;
    changes_.shape();
}

bool Grid::onlyViewChanged(const GridJournal& journal) const {
    if (journal.records_.size() != 1 || journal.records_.front().kind != GridJournal::Kind::State) {
        return journal.records_.empty();
    }
    const GridJournal::State& s = *journal.records_.front().state;
    const bool sameColumns = std::equal(s.columns.begin(), s.columns.end(), columns_.begin(),
                                        columns_.end(), [](Column a, const Column& b) {
                                            a.width = b.width;
                                            return a == b;
                                        });
    return sameColumns && s.styles.size() == styles_.size() && s.sums == sums_ &&
           s.fixedRows == fixedRows_ && s.fixedColumns == fixedColumns_ &&
           s.rowHeight == rowHeight_ && s.gridLineColor == gridLineColor_;
}

bool operator==(const Grid& a, const Grid& b) {
    if (a.rowCount() != b.rowCount() || a.columns_ != b.columns_ || a.merges_ != b.merges_ ||
        a.sums_ != b.sums_ || a.fixedRows_ != b.fixedRows_ || a.fixedColumns_ != b.fixedColumns_ ||
        a.rowHeight_ != b.rowHeight_ || a.gridLineColor_ != b.gridLineColor_ ||
        a.cursor_ != b.cursor_ || a.selection_ != b.selection_) {
        return false;
    }
    for (int r = 0; r < a.rowCount(); ++r) {
        for (int c = 0; c < a.columnCount(); ++c) {
            if (a.text(r, c) != b.text(r, c) || !(a.style(r, c) == b.style(r, c))) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace tf

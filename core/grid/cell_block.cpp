#include "core/grid/cell_block.h"

#include "core/base/utf8.h"

namespace tf {
namespace {

bool needsQuotes(std::string_view cell) {
    return cell.find_first_of("\t\r\n\"") != std::string_view::npos;
}

void appendCell(std::string& out, std::string_view cell) {
    if (!needsQuotes(cell)) {
        out += cell;
        return;
    }
    out += '"';
    for (const char c : cell) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

std::string cutToLongest(std::string cell) {
    std::size_t pos = 0;
    for (std::size_t characters = 0; pos < cell.size() && characters < kLongestBlockCell;
         ++characters) {
        utf8::next(cell, pos);
    }
    cell.resize(pos);
    return cell;
}

}  // namespace

std::string blockText(const Grid& grid, const CellRange& range) {
    const CellRange r = range.normalized();
    std::string out;
    for (int row = std::max(r.top, 0); row <= std::min(r.bottom, grid.rowCount() - 1); ++row) {
        bool first = true;
        for (int c = std::max(r.left, 0); c <= std::min(r.right, grid.columnCount() - 1); ++c) {
            if (grid.column(c).width == 0) {
                continue;
            }
            if (!std::exchange(first, false)) {
                out += '\t';
            }
            appendCell(out, grid.text(row, c));
        }
        out += "\r\n";
    }
    return out;
}

std::optional<CellBlock> parseCellBlock(std::string_view text) {
    CellBlock block;
    std::size_t cells = 0;
    std::vector<std::string> row;
    std::string cell;
    std::size_t i = 0;
    const auto endCell = [&] {
        row.push_back(cutToLongest(std::move(cell)));
        cell.clear();
        return ++cells <= kMostBlockCells;
    };
    const auto endRow = [&] {
        block.rows.push_back(std::move(row));
        row.clear();
        return block.rows.size() <= kMostBlockRows;
    };
    while (i < text.size()) {
        // A quote opens a quoted cell only at the cell's start, as spreadsheets write them.
        if (text[i] == '"' && cell.empty()) {
            std::size_t j = i + 1;
            std::string quoted;
            bool closed = false;
            while (j < text.size()) {
                if (text[j] == '"') {
                    if (j + 1 < text.size() && text[j + 1] == '"') {
                        quoted += '"';
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                quoted += text[j++];
            }
            if (closed) {
                cell = std::move(quoted);
                i = j;
                continue;
            }
            // An unclosed quote is text like any other.
        }
        const char c = text[i];
        if (c == '\t') {
            if (!endCell()) {
                return std::nullopt;
            }
            ++i;
        } else if (c == '\r' || c == '\n') {
            if (!endCell() || !endRow()) {
                return std::nullopt;
            }
            i += c == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
        } else {
            cell += c;
            ++i;
        }
    }
    if (!cell.empty() || !row.empty()) {
        if (!endCell() || !endRow()) {
            return std::nullopt;
        }
    }
    return block;
}

std::vector<int> pasteColumns(const Grid& grid, int from, std::size_t count) {
    std::vector<int> columns;
    for (int c = std::max(from, 0); c < grid.columnCount() && columns.size() < count; ++c) {
        if (grid.column(c).width > 0) {
            columns.push_back(c);
        }
    }
    return columns;
}

}  // namespace tf

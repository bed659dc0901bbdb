#include "core/shell/column_widths.h"

#include <algorithm>
#include <charconv>

#include "core/base/text_util.h"

namespace tf {
namespace {

constexpr std::string_view kSection = "列宽";
// No table of the program has nearly this many columns; a larger number is not ours.
constexpr int kMostColumns = 1000;

std::optional<int> wholeNumber(std::string_view text) {
    text = trimSpaces(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

ColumnWidths parseColumnWidths(std::string_view text) {
    ColumnWidths widths;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view pair = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const std::size_t colon = pair.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const auto column = wholeNumber(pair.substr(0, colon));
        const auto width = wholeNumber(pair.substr(colon + 1));
        if (column && width && *column >= 0 && *column < kMostColumns) {
            widths[*column] = std::clamp(*width, kNarrowestUserColumn, kWidestUserColumn);
        }
    }
    return widths;
}

std::string columnWidthsText(const ColumnWidths& widths) {
    std::string text;
    for (const auto& [column, width] : widths) {
        if (!text.empty()) {
            text += ',';
        }
        text += std::to_string(column) + ':' + std::to_string(width);
    }
    return text;
}

ColumnWidths keptColumnWidths(const AppSettings& settings, std::string_view table) {
    return parseColumnWidths(settings.text(kSection, table));
}

void applyColumnWidths(Grid& grid, const ColumnWidths& widths) {
    for (const auto& [column, width] : widths) {
        if (column < grid.columnCount() && grid.column(column).width > 0) {
            grid.setColumnWidth(column, width);
        }
    }
}

ColumnWidthMemory::ColumnWidthMemory(AppSettings& settings, std::string table)
    : settings_(settings), table_(std::move(table)), widths_(keptColumnWidths(settings_, table_)) {}

void ColumnWidthMemory::hold(int column, int width) {
    if (column >= 0 && column < kMostColumns) {
        widths_[column] = std::clamp(width, kNarrowestUserColumn, kWidestUserColumn);
    }
}

void ColumnWidthMemory::keep() {
    settings_.setText(kSection, table_, columnWidthsText(widths_));
}

void ColumnWidthMemory::apply(Grid& grid) const {
    applyColumnWidths(grid, widths_);
}

}  // namespace tf

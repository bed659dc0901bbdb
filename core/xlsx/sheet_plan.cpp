#include "core/xlsx/sheet_plan.h"

#include <algorithm>

#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/base/utf8.h"
#include "core/grid/grid_display.h"

namespace tf {
namespace {

std::uint64_t cellKey(int row, int column) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32 |
           static_cast<std::uint32_t>(column);
}

std::string cellName(int sheetColumn, int row) {
    return sheetColumnName(sheetColumn) + std::to_string(row + 1);
}

}  // namespace

std::string sheetColumnName(int column) {
    std::string name;
    for (int n = column + 1; n > 0; n = (n - 1) / 26) {
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    return name;
}

std::string sheetRange(std::string_view sheet, int column, int firstRow, int lastRow) {
    std::string quoted = "'";
    for (const char c : sheet) {
        quoted += c;
        if (c == '\'') {
            quoted += c;
        }
    }
    const std::string name = "$" + sheetColumnName(column) + "$";
    return quoted + "'!" + name + std::to_string(firstRow + 1) + ":" + name +
           std::to_string(lastRow + 1);
}

std::string sheetNameFrom(std::string_view text, std::string_view fallback) {
    constexpr int kLongest = 31;
    std::string name;
    const std::string valid = utf8::sanitize(text);
    std::size_t pos = 0;
    for (int count = 0; pos < valid.size() && count < kLongest; ++count) {
        const char32_t c = utf8::next(valid, pos);
        utf8::append(
            name, std::u32string_view(U"[]:*?/\\").find(c) == std::u32string_view::npos ? c : U'_');
    }
    const auto first = name.find_first_not_of('\'');
    const auto last = name.find_last_not_of('\'');
    if (first == std::string::npos || isBlank(name)) {
        return std::string(fallback);
    }
    return name.substr(first, last - first + 1);
}

SheetPlan::SheetPlan(SheetSource source)
    : source_(std::move(source)),
      grid_(*source_.grid),
      name_(source_.name),
      rows_(source_.lastRow < 0 ? grid_.rowCount()
                                : std::min(source_.lastRow + 1, grid_.rowCount())),
      rowTotals_(source_.rowTotals),
      numberedColumns_(source_.numberedColumns) {
    sheetColumns_.assign(static_cast<std::size_t>(grid_.columnCount()), -1);
    for (int c = 0; c < grid_.columnCount(); ++c) {
        if (grid_.column(c).width > 0) {
            sheetColumns_[static_cast<std::size_t>(c)] = static_cast<int>(columns_.size());
            columns_.push_back(c);
            frozenColumns_ += c < grid_.fixedColumns() ? 1 : 0;
        }
    }
    for (const CellRange& merge : grid_.merges()) {
        if (merge.top >= rows_) {
            continue;
        }
        if (const auto m = sheetMerge(
                {merge.top, merge.left, std::min(merge.bottom, rows_ - 1), merge.right})) {
            merges_.push_back(*m);
        }
    }
    std::stable_sort(merges_.begin(), merges_.end(),
                     [](const CellRange& a, const CellRange& b) { return a.bottom < b.bottom; });
    for (const RangeSum& sum : grid_.rangeSums()) {
        sums_[cellKey(sum.row, sum.column)] = &sum;
    }
    if (source_.chart && !source_.chart->bars.empty()) {
        chartColumn_ = tableColumnCount() + 1;
        for (const auto& spans : source_.chart->bars.front().sums) {
            if (!spans.empty()) {
                chartLook_ = spans.front().column;
                break;
            }
        }
    }
}

int SheetPlan::rowCount() const {
    const BarChart* shown = chart();
    return shown ? std::max(tableRowCount(), static_cast<int>(shown->bars.size()) + 1)
                 : tableRowCount();
}

int SheetPlan::columnCount() const {
    const BarChart* shown = chart();
    return shown ? chartColumn_ + 1 + static_cast<int>(shown->series.size()) : tableColumnCount();
}

const BarChart* SheetPlan::chart() const {
    return chartColumn_ >= 0 ? &*source_.chart : nullptr;
}

int SheetPlan::gridColumn(int sheetColumn) const {
    const auto c = static_cast<std::size_t>(sheetColumn);
    if (sheetColumn >= tableColumnCount()) {
        return chartLook_;
    }
    return c < columns_.size() ? columns_[c] : source_.addedColumns[c - columns_.size()].lookColumn;
}

std::optional<std::string> SheetPlan::sheetColumnNameOf(int gridColumn) const {
    const auto c = sheetColumnOf(gridColumn);
    return c ? std::optional<std::string>(sheetColumnName(*c)) : std::nullopt;
}

int SheetPlan::columnPixels(int sheetColumn) const {
    constexpr int kGap = 16;
    constexpr int kLabels = 150;
    constexpr int kFigures = 96;
    if (chartColumn_ >= 0 && sheetColumn >= tableColumnCount()) {
        return sheetColumn < chartColumn_ ? kGap : sheetColumn == chartColumn_ ? kLabels : kFigures;
    }
    return grid_.column(gridColumn(sheetColumn)).width;
}

std::optional<int> SheetPlan::sheetColumnOf(int gridColumn) const {
    if (gridColumn < 0 || gridColumn >= grid_.columnCount()) {
        return std::nullopt;
    }
    const int c = sheetColumns_[static_cast<std::size_t>(gridColumn)];
    return c < 0 ? std::nullopt : std::optional<int>(c);
}

std::optional<CellRange> SheetPlan::sheetMerge(const CellRange& m) const {
    int left = -1;
    int right = -1;
    for (int c = std::max(m.left, 0); c <= std::min(m.right, grid_.columnCount() - 1); ++c) {
        if (const auto s = sheetColumnOf(c)) {
            left = left < 0 ? *s : left;
            right = *s;
        }
    }
    if (left < 0 || (left == right && m.top == m.bottom)) {
        return std::nullopt;
    }
    return CellRange{m.top, left, m.bottom, right};
}

std::optional<std::string> SheetPlan::formula(int row, int gridColumn) const {
    if (const auto it = sums_.find(cellKey(row, gridColumn)); it != sums_.end()) {
        const RangeSum& sum = *it->second;
        const auto source = sheetColumnOf(sum.sourceColumn);
        const int first = std::max(sum.firstRow, 0);
        const int last = std::min(sum.lastRow, grid_.rowCount() - 1);
        if (!source || first > last) {
            return std::nullopt;
        }
        return "=SUM(" + cellName(*source, first) + ":" + cellName(*source, last) + ")";
    }
    for (const RowTotal& total : rowTotals_) {
        if (total.column != gridColumn || row < total.firstRow || row > total.lastRow) {
            continue;
        }
        std::string text;
        for (const int part : total.parts) {
            const auto c = sheetColumnOf(part);
            if (!c) {
                return std::nullopt;
            }
            text += (text.empty() ? "=" : "+") + cellName(*c, row);
        }
        return text.empty() ? std::nullopt : std::optional<std::string>(text);
    }
    const auto& rule = grid_.column(gridColumn).product;
    if (!rule || row < grid_.fixedRows()) {
        return std::nullopt;
    }
    const auto left = sheetColumnOf(rule->left);
    const auto right = sheetColumnOf(rule->right);
    if (!left || !right ||
        (isBlank(grid_.text(row, rule->left)) && isBlank(grid_.text(row, rule->right)))) {
        return std::nullopt;
    }
    return "=" + cellName(*left, row) + "*" + cellName(*right, row);
}

int SheetPlan::formatOf(int row, int gridColumn, bool numeric) {
    const std::uint64_t key = static_cast<std::uint64_t>(grid_.styleId(row, gridColumn)) << 40 |
                              static_cast<std::uint64_t>(gridColumn) << 1 | (numeric ? 1 : 0);
    if (const auto it = formatIds_.find(key); it != formatIds_.end()) {
        return it->second;
    }
    const CellStyle& style = grid_.style(row, gridColumn);
    const Column& column = grid_.column(gridColumn);
    SheetFormat format;
    format.fontName = style.fontName.empty() ? std::string(kSheetFont) : style.fontName;
    format.fontSize = style.fontSize > 0 ? style.fontSize : kSheetFontSize;
    format.bold = style.bold;
    format.wrap = style.wrap;
    format.foreground = style.foreground.value_or(Rgb{0, 0, 0});
    format.background = style.background;
    format.align = effectiveAlign(grid_, row, gridColumn);
    format.decimals = numeric && column.kind == ColumnKind::Number ? column.decimals : -1;
    format.border = grid_.gridLineColor();
    const int id = formatId(std::move(format));
    formatIds_.emplace(key, id);
    return id;
}

int SheetPlan::plainFormat(int id, Align align) {
    SheetFormat format = formats_[static_cast<std::size_t>(id)];
    format.background.reset();
    format.align = align;
    return formatId(std::move(format));
}

int SheetPlan::formatId(SheetFormat format) {
    auto found = std::find(formats_.begin(), formats_.end(), format);
    const int id = static_cast<int>(found - formats_.begin());
    if (found == formats_.end()) {
        formats_.push_back(std::move(format));
    }
    return id;
}

SheetCell SheetPlan::addedCell(int row, const AddedColumn& column) {
    const int look = std::clamp(column.lookColumn, 0, grid_.columnCount() - 1);
    SheetCell cell;
    if (row == 0) {
        cell.kind = SheetCellKind::Text;
        cell.text = column.heading;
        cell.format = formatOf(0, look, false);
        return cell;
    }
    AddedCell added = row < grid_.fixedRows() ? AddedCell{} : column.cell(row);
    if (added.formula) {
        cell.kind = SheetCellKind::Formula;
        cell.text = std::move(added.formula->formula);
        cell.value = added.formula->value;
    } else if (!added.text.empty()) {
        cell.kind = SheetCellKind::Text;
        cell.text = std::move(added.text);
    }
    cell.format = formatOf(row, look, cell.kind == SheetCellKind::Formula);
    return cell;
}

SheetCell SheetPlan::totalCell(int sheetColumn) {
    const GrandTotal& total = *source_.grandTotal;
    const int gc = gridColumn(sheetColumn);
    const int lookRow = std::max(grid_.fixedRows(), rows_ - 1);
    SheetCell cell;
    if (static_cast<std::size_t>(sheetColumn) >= columns_.size()) {
        cell.format = formatOf(lookRow, gc, false);
        return cell;
    }
    if (gc == total.labelColumn) {
        cell.kind = SheetCellKind::Text;
        cell.text = total.label;
    } else if (std::ranges::find(total.columns, gc) != total.columns.end() &&
               rows_ > grid_.fixedRows()) {
        double sum = 0;
        for (int r = grid_.fixedRows(); r < rows_; ++r) {
            sum += parseNumber(grid_.text(r, gc));
        }
        cell.kind = SheetCellKind::Formula;
        cell.text = "=SUM(" + cellName(sheetColumn, grid_.fixedRows()) + ":" +
                    cellName(sheetColumn, rows_ - 1) + ")";
        cell.value = sum;
    }
    cell.format = formatOf(lookRow, gc, cell.kind == SheetCellKind::Formula);
    return cell;
}

std::optional<std::string> SheetPlan::sumFormula(const std::vector<GridSpan>& spans) const {
    // Far below a formula's 255 arguments: "其他" of a long table is a few runs.
    constexpr std::size_t kMostTerms = 64;
    if (spans.empty() || spans.size() > kMostTerms) {
        return std::nullopt;
    }
    std::string terms;
    for (const GridSpan& span : spans) {
        const auto column = sheetColumnOf(span.column);
        if (!column || span.firstRow < 0 || span.lastRow >= rows_ || span.firstRow > span.lastRow) {
            return std::nullopt;
        }
        terms += terms.empty() ? "" : ",";
        terms += cellName(*column, span.firstRow);
        if (span.lastRow > span.firstRow) {
            terms += ":" + cellName(*column, span.lastRow);
        }
    }
    const bool oneCell = spans.size() == 1 && spans.front().firstRow == spans.front().lastRow;
    return oneCell ? "=" + terms : "=SUM(" + terms + ")";
}

SheetCell SheetPlan::chartCell(int row, int sheetColumn) {
    const BarChart* shown = chart();
    const int k = sheetColumn - chartColumn_;  // 0: the labels, then a series each
    SheetCell cell;
    cell.format = kUnwritten;
    if (!shown || k < 0 || row > static_cast<int>(shown->bars.size())) {
        return cell;
    }
    const auto series = static_cast<std::size_t>(k - 1);
    if (row == 0) {
        cell.kind = SheetCellKind::Text;
        cell.text = k == 0 ? shown->title : shown->series[series];
        cell.format = formatOf(0, chartLook_, false);
        return cell;
    }
    const ChartBar& bar = shown->bars[static_cast<std::size_t>(row - 1)];
    const int look = std::min(grid_.fixedRows(), grid_.rowCount() - 1);
    if (k == 0) {
        cell.kind = SheetCellKind::Text;
        cell.text = bar.label;
        cell.format = plainFormat(formatOf(look, chartLook_, false), Align::Left);
        return cell;
    }
    if (series >= bar.sums.size() || bar.sums[series].empty()) {
        return cell;  // not of this series: the stack leaves it out
    }
    cell.value = series < bar.values.size() ? bar.values[series] : 0;
    if (auto formula = sumFormula(bar.sums[series])) {
        cell.kind = SheetCellKind::Formula;
        cell.text = std::move(*formula);
    } else {
        cell.kind = SheetCellKind::Number;
    }
    cell.format = plainFormat(formatOf(look, chartLook_, true), Align::Right);
    return cell;
}

SheetCell SheetPlan::cell(int row, int sheetColumn) {
    if (sheetColumn >= tableColumnCount()) {
        return chartCell(row, sheetColumn);
    }
    if (row >= rows_) {
        if (row == rows_ && source_.grandTotal) {
            return totalCell(sheetColumn);
        }
        return {SheetCellKind::Blank, {}, 0, kUnwritten};
    }
    if (const auto added = static_cast<std::size_t>(sheetColumn); added >= columns_.size()) {
        return addedCell(row, source_.addedColumns[added - columns_.size()]);
    }
    int gridRow = row;
    int gc = gridColumn(sheetColumn);
    bool content = true;
    if (const auto merge = grid_.mergeAt(row, gc)) {
        if (const auto m = sheetMerge(*merge)) {
            // The merge shows its first cell's content and look over all of it.
            content = row == m->top && sheetColumn == m->left;
            gridRow = merge->top;
            gc = merge->left;
        }
    }
    const std::string_view text = grid_.text(gridRow, gc);
    SheetCell cell;
    if (!content || text.empty()) {
        cell.format = formatOf(gridRow, gc, false);
        return cell;
    }
    const bool numberColumn = grid_.column(gc).kind == ColumnKind::Number;
    if (auto link = numberColumn && source_.linked ? source_.linked(gridRow, gc) : std::nullopt) {
        cell.kind = SheetCellKind::Formula;
        cell.text = std::move(link->formula);
        cell.value = link->value;
    } else if (auto f = numberColumn ? formula(gridRow, gc) : std::nullopt) {
        cell.kind = SheetCellKind::Formula;
        cell.text = std::move(*f);
        cell.value = parseNumber(text);
    } else if ((numberColumn && isPlainNumber(text)) ||
               (std::ranges::find(numberedColumns_, gc) != numberedColumns_.end() &&
                isWholeNumber(text))) {
        cell.kind = SheetCellKind::Number;
        cell.value = parseNumber(text);
    } else {
        cell.kind = SheetCellKind::Text;
        cell.text = text;
    }
    cell.format = formatOf(gridRow, gc, cell.kind != SheetCellKind::Text);
    return cell;
}

}  // namespace tf

#include "core/xlsx/workbook_writer.h"

#include <xlsxwriter.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "core/base/file_bytes.h"
#include "core/base/safe_write.h"
#include "core/base/temporary_file.h"

namespace tf {
namespace {

// A workbook never grows near this; more would be a fault, not a table.
constexpr std::size_t kLargestWorkbook = std::size_t{1} << 31;

lxw_color_t colour(Rgb rgb) {
    return static_cast<lxw_color_t>(rgb.packed());
}

std::uint8_t alignment(Align align) {
    switch (align) {
        case Align::Center:
            return LXW_ALIGN_CENTER;
        case Align::Right:
            return LXW_ALIGN_RIGHT;
        case Align::Left:
            break;
    }
    return LXW_ALIGN_LEFT;
}

std::string numberFormat(int decimals) {
    return decimals <= 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0');
}

lxw_format* makeFormat(lxw_workbook* book, const SheetFormat& f) {
    lxw_format* format = workbook_add_format(book);
    format_set_font_name(format, f.fontName.c_str());
    format_set_font_size(format, f.fontSize);
    format_set_font_color(format, colour(f.foreground));
    if (f.bold) {
        format_set_bold(format);
    }
    if (f.wrap) {
        format_set_text_wrap(format);
    }
    if (f.background) {
        format_set_bg_color(format, colour(*f.background));
    }
    format_set_align(format, alignment(f.align));
    format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
    if (f.decimals >= 0) {
        format_set_num_format(format, numberFormat(f.decimals).c_str());
    }
    format_set_border(format, LXW_BORDER_THIN);
    format_set_border_color(format, colour(f.border));
    return format;
}

lxw_error writeCell(lxw_worksheet* sheet, int row, int column, const SheetCell& cell,
                    lxw_format* format) {
    const auto r = static_cast<lxw_row_t>(row);
    const auto c = static_cast<lxw_col_t>(column);
    switch (cell.kind) {
        case SheetCellKind::Text:
            return worksheet_write_string(sheet, r, c, cell.text.c_str(), format);
        case SheetCellKind::Number:
            return worksheet_write_number(sheet, r, c, cell.value, format);
        case SheetCellKind::Formula:
            return worksheet_write_formula_num(sheet, r, c, cell.text.c_str(), format, cell.value);
        case SheetCellKind::Blank:
            break;
    }
    return worksheet_write_blank(sheet, r, c, format);
}

// One library format per distinct look in the whole workbook: the library resolves a format
// equal to an earlier one by hashing it again at every cell it is written with.
class WorkbookFormats {
  public:
    explicit WorkbookFormats(lxw_workbook* book) : book_(book) {}
    lxw_format* of(const SheetFormat& look) {
        for (const auto& [made, format] : made_) {
            if (made == look) {
                return format;
            }
        }
        made_.emplace_back(look, makeFormat(book_, look));
        return made_.back().second;
    }

  private:
    lxw_workbook* book_;
    std::vector<std::pair<SheetFormat, lxw_format*>> made_;
};

// The plan's chart over its block of figures: stacked bars across, the first bar on top, a
// series a colour (a legend when there are several), right of the block.
bool insertChart(lxw_workbook* book, lxw_worksheet* sheet, const SheetPlan& plan) {
    const BarChart* shown = plan.chart();
    if (shown == nullptr) {
        return true;
    }
    lxw_chart* chart = workbook_add_chart(book, LXW_CHART_BAR_STACKED);
    if (chart == nullptr) {
        return false;
    }
    const int labels = plan.chartColumn();
    const int last = static_cast<int>(shown->bars.size());
    const std::string categories = "=" + sheetRange(plan.name(), labels, 1, last);
    for (std::size_t s = 0; s < shown->series.size(); ++s) {
        const int column = labels + 1 + static_cast<int>(s);
        const std::string values = "=" + sheetRange(plan.name(), column, 1, last);
        lxw_chart_series* series = chart_add_series(chart, categories.c_str(), values.c_str());
        if (series == nullptr) {
            return false;
        }
        const std::string name = "=" + sheetRange(plan.name(), column, 0, 0);
        chart_series_set_name(series, name.c_str());
    }
    chart_title_set_name(chart, shown->title.c_str());
    chart_set_series_gap(chart, 40);  // bars as thick as the window's
    // Bars count from the bottom: the category axis reversed puts the block's first row on top,
    // and crossing it at its far end keeps the amounts at the foot.
    chart_axis_set_reverse(chart->y_axis);
    chart_axis_set_crossing_max(chart->y_axis);
    chart_axis_set_num_format(chart->x_axis, "#,##0");
    chart_axis_set_name(chart->x_axis, "金额（元）");
    if (shown->series.size() < 2) {
        chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
    } else {
        chart_legend_set_position(chart, LXW_CHART_LEGEND_BOTTOM);
    }
    // 480 × 288 pixels at scale 1: wider, and a line of text a bar.
    lxw_chart_options place{};
    place.x_offset = 8;
    place.x_scale = 1.6;
    place.y_scale = std::max(1.0, (22.0 * last + 140) / 288);
    return worksheet_insert_chart_opt(sheet, 0,
                                      static_cast<lxw_col_t>(labels + 1 + shown->series.size()),
                                      chart, &place) == LXW_NO_ERROR;
}

// In constant-memory mode a row can be written only until the next one begins, and a merge
// writes blanks over all of its rows: so each merge is declared when its last row is reached,
// before that row's cells, whose content then goes over the merge's blanks.
bool writeSheet(lxw_workbook* book, WorkbookFormats& looks, SheetPlan& plan,
                WorkProgress* progress) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, plan.name().c_str());
    if (sheet == nullptr) {
        return false;
    }
    for (int c = 0; c < plan.columnCount(); ++c) {
        worksheet_set_column_pixels(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                    static_cast<std::uint32_t>(plan.columnPixels(c)), nullptr);
    }
    // Points at 96 pixels to the inch.
    worksheet_set_default_row(sheet, plan.rowPixels() * 0.75, LXW_FALSE);
    worksheet_freeze_panes(sheet, static_cast<lxw_row_t>(plan.frozenRows()),
                           static_cast<lxw_col_t>(plan.frozenColumns()));
    // Printed as the program prints its tables: across, one page wide, headings on every page.
    worksheet_set_landscape(sheet);
    worksheet_fit_to_pages(sheet, 1, 0);
    if (plan.frozenRows() > 0) {
        worksheet_repeat_rows(sheet, 0, static_cast<lxw_row_t>(plan.frozenRows() - 1));
    }
    if (plan.chart() != nullptr) {  // the table printed as without the chart beside it
        worksheet_print_area(sheet, 0, 0, static_cast<lxw_row_t>(plan.tableRowCount() - 1),
                             static_cast<lxw_col_t>(plan.tableColumnCount() - 1));
    }
    std::vector<lxw_format*> formats;
    const auto formatOf = [&](int id) {
        while (formats.size() < plan.formats().size()) {
            formats.push_back(looks.of(plan.formats()[formats.size()]));
        }
        return formats[static_cast<std::size_t>(id)];
    };
    const auto& merges = plan.merges();
    std::size_t nextMerge = 0;
    for (int r = 0; r < plan.rowCount(); ++r) {
        for (; nextMerge < merges.size() && merges[nextMerge].bottom == r; ++nextMerge) {
            const CellRange& m = merges[nextMerge];
            if (worksheet_merge_range(
                    sheet, static_cast<lxw_row_t>(m.top), static_cast<lxw_col_t>(m.left),
                    static_cast<lxw_row_t>(m.bottom), static_cast<lxw_col_t>(m.right), "",
                    nullptr) != LXW_NO_ERROR) {
                return false;
            }
        }
        for (int c = 0; c < plan.columnCount(); ++c) {
            const SheetCell cell = plan.cell(r, c);
            if (cell.format != kUnwritten &&
                writeCell(sheet, r, c, cell, formatOf(cell.format)) != LXW_NO_ERROR) {
                return false;
            }
        }
        if (progress && (r & 1023) == 1023) {
            progress->done.fetch_add(1024, std::memory_order_relaxed);
            if (progress->stopped()) {
                return false;
            }
        }
    }
    return insertChart(book, sheet, plan);
}

// Our temporary file, held (and so locked) until it is gone: another process that sweeps
// the folder of what killed saves left behind takes an unlocked one for a leftover.
struct TemporaryName {
    std::string path;
    int fd = -1;
    ~TemporaryName() {
        if (!path.empty()) {
            ::unlink(path.c_str());
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

}  // namespace

std::optional<std::string> workbookBytes(std::span<const SheetSource> sheets,
                                         WorkProgress* progress) {
    // The library writes only to a named file: one of our own temporary files, read back.
    TemporaryName temporary;
    std::error_code ec;
    temporary.fd = createTemporaryFile(std::filesystem::temp_directory_path(ec), temporary.path);
    if (temporary.fd < 0) {
        return std::nullopt;
    }
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(temporary.path.c_str(), &options);
    if (book == nullptr) {
        return std::nullopt;
    }
    bool ok = !sheets.empty();
    std::int64_t rows = 0;
    for (const SheetSource& source : sheets) {
        rows += source.grid ? source.grid->rowCount() : 0;
    }
    if (progress) {
        // Packing the sheets into the file at the end takes about two thirds of the time the
        // rows took: the bar keeps that share for it.
        progress->total = rows + rows * 2 / 3;
    }
    WorkbookFormats looks(book);
    for (const SheetSource& source : sheets) {
        if (!ok || source.grid == nullptr) {
            ok = false;
            break;
        }
        SheetPlan plan(source);
        ok = writeSheet(book, looks, plan, progress);
    }
    if (progress && progress->stopped()) {
        // Stopped: nothing is packed (it would take seconds), the workbook only freed.
        lxw_workbook_free(book);
        return std::nullopt;
    }
    // Closing writes the file and frees the workbook, whatever happened before.
    ok = workbook_close(book) == LXW_NO_ERROR && ok;
    if (progress) {
        progress->done = progress->total.load();
    }
    return ok ? readFileBytes(temporary.path, kLargestWorkbook) : std::nullopt;
}

}  // namespace tf

// The print preview of a million-row 分析表: laying it out on pages, and the first page shown.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QScrollBar>

#include "bench/analysis_sample.h"
#include "core/print/print_sheet.h"
#include "gui/print/grid_printer.h"
#include "gui/print/sheet_preview.h"

namespace {

constexpr int kRows = 1'000'000;

const tf::PrintSheet& sheet() {
    static const tf::PrintSheet copy = tf::analysisSheet(tf::bench::analysisSample(kRows), {});
    return copy;
}

QPageLayout landscapeA4() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                       QPageLayout::Millimeter);
}

double peakMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_LayOutMillionRowsOnPages(benchmark::State& state) {
    const tf::PrintSheet& s = sheet();
    for (auto _ : state) {
        const tf::gui::SheetPages pages(s.grid, tf::sheetTitle(s), landscapeA4());
        benchmark::DoNotOptimize(pages.count());
        state.counters["pages"] = pages.count();
    }
}
BENCHMARK(BM_LayOutMillionRowsOnPages)->Unit(benchmark::kMillisecond)->Iterations(3);

// From the 预览 button to the first page on screen.
void BM_PreviewFirstPageOfMillionRows(benchmark::State& state) {
    const tf::PrintSheet& s = sheet();
    for (auto _ : state) {
        tf::gui::SheetPreview preview(
            s.grid, tf::sheetTitle(s), landscapeA4(), [](const QPageLayout&) {}, nullptr);
        preview.resize(1200, 800);
        preview.show();
        QApplication::processEvents();
        preview.strip().viewport()->repaint();
        state.counters["pages"] = preview.pageCount();
        state.counters["drawn"] = preview.strip().pagesDrawn();
    }
    state.counters["peak MB"] = peakMegabytes();
}
BENCHMARK(BM_PreviewFirstPageOfMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

// Paging through: each page drawn when it comes into view.
void BM_PreviewNextPage(benchmark::State& state) {
    const tf::PrintSheet& s = sheet();
    tf::gui::SheetPreview preview(
        s.grid, tf::sheetTitle(s), landscapeA4(), [](const QPageLayout&) {}, nullptr);
    preview.resize(1200, 800);
    preview.show();
    QApplication::processEvents();
    int page = preview.pageCount() / 2;
    for (auto _ : state) {
        preview.strip().showPage(++page);
        preview.strip().viewport()->repaint();
    }
    state.counters["peak MB"] = peakMegabytes();
}
BENCHMARK(BM_PreviewNextPage)->Unit(benchmark::kMillisecond);

}  // namespace

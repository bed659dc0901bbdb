// The grid view over a million-row analysis table: opening it, and the model reads one
// screen of it costs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include "bench/analysis_sample.h"
#include "gui/widgets/grid_view.h"

namespace {

constexpr int kRows = 1'000'000;

tf::Grid& sample() {
    static tf::Grid grid = tf::bench::analysisSample(kRows);
    return grid;
}

void BM_OpenMillionRowView(benchmark::State& state) {
    tf::Grid& grid = sample();
    for (auto _ : state) {
        tf::gui::GridView view;
        view.resize(1200, 800);
        view.setGrid(grid);
        view.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(view.model()->rowCount());
    }
}
BENCHMARK(BM_OpenMillionRowView)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ScrollOneScreen(benchmark::State& state) {
    tf::gui::GridView view;
    view.resize(1200, 800);
    view.setGrid(sample());
    view.show();
    QApplication::processEvents();
    int position = 0;
    for (auto _ : state) {
        position = (position + 37) % (kRows - 100);
        view.verticalScrollBar()->setValue(position);
        view.viewport()->repaint();
    }
}
BENCHMARK(BM_ScrollOneScreen)->Unit(benchmark::kMillisecond);

// Every role the view asks for, for every cell of one 40-row screen.
void BM_ModelDataOneScreen(benchmark::State& state) {
    tf::gui::GridModel model(sample());
    const int roles[] = {Qt::DisplayRole,    Qt::CheckStateRole, Qt::TextAlignmentRole,
                         Qt::BackgroundRole, Qt::ForegroundRole, Qt::FontRole};
    const int first = kRows / 2;
    for (auto _ : state) {
        for (int r = first; r < first + 40; ++r) {
            for (int c = 0; c < 14; ++c) {
                const QModelIndex index = model.index(r, c);
                for (const int role : roles) {
                    benchmark::DoNotOptimize(model.data(index, role));
                }
            }
        }
    }
    state.counters["cells"] = 40 * 14;
}
BENCHMARK(BM_ModelDataOneScreen)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

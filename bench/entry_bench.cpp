#include <benchmark/benchmark.h>

#include "bench/analysis_sample.h"
#include "core/analysis/location_index.h"
#include "core/base/number_text.h"
#include "core/entry/entry_form.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/project/project_io.h"

namespace {

using namespace tf::EntryColumn;

// A project of 100,000 analysis rows (10,000 locations of 10 rows) with one material.
tf::ProjectDocument& bigProject() {
    static tf::ProjectDocument doc = [] {
        tf::ProjectDocument d;
        tf::resetProject(d);
        d.analysis = tf::bench::analysisSample(100'000);
        d.materials.setText(1, tf::MaterialColumn::kCategory, "砂浆");
        d.materials.setText(1, tf::MaterialColumn::kName, "水泥砂浆1:3");
        d.materials.setText(1, tf::MaterialColumn::kUnit, "立方米");
        tf::rebuildCatalogue(d);
        return d;
    }();
    return doc;
}

void fillRows(tf::EntryForm& form, int rows) {
    form.location = "新部位";
    while (form.grid().rowCount() - 1 < rows) {
        form.addRow(form.grid().rowCount() - 1);
    }
    for (int r = 1; r <= rows; ++r) {
        form.grid().setText(r, kCode, r <= rows / 2 ? "030201" : "030801");
        form.grid().setText(r, kWorkQuantity, "12.5");
        form.pickMaterial(r, 1001);
        form.grid().setText(r, kMaterialQuantity, "0.25");
    }
}

void BM_RebuildLocationIndex100k(benchmark::State& state) {
    const tf::Grid& analysis = bigProject().analysis;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tf::rebuildLocationIndex(analysis).size());
    }
}
BENCHMARK(BM_RebuildLocationIndex100k)->Unit(benchmark::kMillisecond);

void BM_ConfirmAddTwentyRows(benchmark::State& state) {
    tf::ProjectDocument& doc = bigProject();
    tf::SilentPrompter quiet;
    tf::EntryForm form(doc, quiet);
    form.open();
    for (auto _ : state) {
        state.PauseTiming();
        fillRows(form, 20);
        state.ResumeTiming();
        form.confirm();
    }
}
BENCHMARK(BM_ConfirmAddTwentyRows)->Unit(benchmark::kMillisecond)->Iterations(50);

// Modify the location in the middle, growing it from 10 to 20 rows and back.
void BM_ConfirmModifyInTheMiddle(benchmark::State& state) {
    tf::ProjectDocument& doc = bigProject();
    tf::SilentPrompter quiet;
    tf::EntryForm form(doc, quiet);
    const int middle = static_cast<int>(doc.locations.size() / 2);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.beginModify(middle);
        fillRows(form, ++round % 2 == 0 ? 10 : 20);
        state.ResumeTiming();
        form.confirm();
    }
}
BENCHMARK(BM_ConfirmModifyInTheMiddle)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

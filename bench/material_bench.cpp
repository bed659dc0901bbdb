#include <benchmark/benchmark.h>

#include <string>

#include "bench/analysis_sample.h"
#include "core/base/prompter.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"

namespace {

using namespace tf::MaterialColumn;

// A table of `count` materials in 20 categories.
void fillMaterials(tf::ProjectDocument& doc, int count) {
    doc.materials.setRowCount(count + 1);
    for (int r = 1; r <= count; ++r) {
        doc.materials.setText(r, kCategory, "类别" + std::to_string(r % 20));
        doc.materials.setText(r, kName, "材料" + std::to_string(r));
        doc.materials.setText(r, kSpec, "600×600");
        doc.materials.setText(r, kUnit, "平方米");
        doc.materials.setText(r, kPrice, "85.5");
    }
}

void BM_RebuildCatalogue10k(benchmark::State& state) {
    tf::ProjectDocument doc;
    tf::resetProject(doc);
    fillMaterials(doc, 10'000);
    for (auto _ : state) {
        tf::rebuildCatalogue(doc);
    }
}
BENCHMARK(BM_RebuildCatalogue10k)->Unit(benchmark::kMillisecond);

void BM_CommitEditWith100kAnalysisRows(benchmark::State& state) {
    tf::ProjectDocument doc;
    tf::resetProject(doc);
    doc.analysis = tf::bench::analysisSample(100'000);
    fillMaterials(doc, 60);
    tf::SilentPrompter prompter;
    tf::rebuildCatalogue(doc);
    int round = 0;
    for (auto _ : state) {
        doc.materials.setText(5, kUnit, ++round % 2 == 0 ? "米" : "平方米");
        tf::commitMaterialEdit(doc, 5, kUnit, prompter);
    }
}
BENCHMARK(BM_CommitEditWith100kAnalysisRows)->Unit(benchmark::kMillisecond);

}  // namespace

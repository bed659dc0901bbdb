// Project files as loadProject reads them, without the file around them; a project that
// opens also has its statistics built, as the program does right after opening it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/base/prompter.h"
#include "core/project/project_io.h"
#include "core/stats/find_details.h"
#include "core/stats/statistic_row.h"
#include "core/stats/statistics.h"

namespace {

void buildEveryView(tf::ProjectDocument& document, tf::SilentPrompter& prompter) {
    tf::Statistics statistics;
    tf::resetStatistics(statistics);
    tf::rebuildStatistics(document, statistics, prompter);
    for (std::size_t node = 0; node < statistics.divisionTree.tree.size(); ++node) {
        tf::selectDivisionNode(statistics, node, prompter);
    }
    for (std::size_t l = 0; l < statistics.filter.locations().size(); ++l) {
        statistics.filter.setLocationTick(l, tf::Tick::Ticked);
    }
    tf::chooseStatisticsView(document, statistics, tf::StatisticsView::Filtered, prompter);
    statistics.summary.setCursor(1, 2);
    tf::findDetails(statistics, document.analysis);
    tf::sumAllRows(statistics.summary, statistics.statisticRow);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tf::SilentPrompter prompter;
    auto reading =
        tf::readProjectImage(std::string_view(reinterpret_cast<const char*>(data), size), prompter);
    const bool whole = reading && reading->lostParts.empty();
    if (whole == prompter.told) {
        __builtin_trap();  // a refusal or a salvage is always told, a whole project never
    }
    if (reading) {
        buildEveryView(reading->document, prompter);
    }
    return 0;
}

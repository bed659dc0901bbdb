#include "cli/stats_commands.h"

#include <algorithm>
#include <ostream>

#include "cli/cli_prompter.h"
#include "cli/project_commands.h"
#include "core/base/number_text.h"
#include "core/project/project_io.h"
#include "core/stats/statistics.h"
#include "core/stats/statistics_export.h"

namespace tf::cli {
namespace {

constexpr std::string_view kLineEnd = "\n";

// Loads the project and builds the statistics `build` names: each command builds only what
// it prints, as the statistics page builds only the view it shows.
bool loadStatistics(const std::string& project, ProjectDocument& document, Statistics& statistics,
                    CliPrompter& prompter, Streams io,
                    void (*build)(const ProjectDocument&, Statistics&, Prompter&)) {
    if (!openProject(document, project, prompter, io)) {
        return false;
    }
    resetStatistics(statistics);
    build(document, statistics, prompter);
    return true;
}

void allMaterials(const ProjectDocument& document, Statistics& statistics, Prompter& prompter) {
    chooseStatisticsView(document, statistics, StatisticsView::AllMaterials, prompter);
}

}  // namespace

int statsCommand(const std::string& project, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    Statistics statistics;
    if (!loadStatistics(project, document, statistics, prompter, io, allMaterials)) {
        return 1;
    }
    io.out << statisticsRows(statistics.summary, false, kLineEnd);
    return 0;
}

int statsNodeCommand(const std::string& project, const std::string& node, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    Statistics statistics;
    if (!loadStatistics(project, document, statistics, prompter, io, rebuildStatistics)) {
        return 1;
    }
    const auto structure = parseStructure(document.structure);
    const std::size_t count = structure ? structure->tree.size() : 0;
    const double number = isPlainNumber(node) ? parseNumber(node) : 0;
    if (number < 1 || number > static_cast<double>(count) || number != static_cast<int>(number)) {
        io.err << "tallyframe-cli: no node " << node << " (the structure has " << count
               << " nodes)\n";
        return 1;
    }
    const auto index = static_cast<std::size_t>(number) - 1;
    const auto& source = statistics.divisionTree.source;
    const auto shown = std::find(source.begin(), source.end(), index);
    if (shown != source.end()) {
        selectDivisionNode(statistics, static_cast<std::size_t>(shown - source.begin()), prompter);
    } else {
        // Not in the division tree (no materials below it): what the whole structure shows.
        showItemStatistics(structure->tree, structure->items, index, statistics.groups,
                           statistics.itemSummary);
    }
    io.out << statisticsRows(statistics.itemSummary, false, kLineEnd);
    return 0;
}

int statsFilterCommand(const std::string& project, const std::vector<std::string>& locations,
                       Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    Statistics statistics;
    if (!loadStatistics(project, document, statistics, prompter, io, rebuildFilterTree)) {
        return 1;
    }
    std::vector<std::size_t> ticked;
    for (const std::string& name : locations) {
        const auto location = statistics.filter.findLocation(name);
        if (!location) {
            io.err << "tallyframe-cli: no location " << name << '\n';
            return 1;
        }
        ticked.push_back(*location);
    }
    if (locations.empty()) {
        for (std::size_t i = 0; i < statistics.filter.locations().size(); ++i) {
            ticked.push_back(i);
        }
    }
    for (const std::size_t location : ticked) {
        statistics.filter.setLocationTick(location, Tick::Ticked);
    }
    chooseStatisticsView(document, statistics, StatisticsView::Filtered, prompter);
    io.out << statisticsRows(statistics.cumulative, false, kLineEnd) << kLineEnd
           << statisticsRows(statistics.summary, false, kLineEnd);
    return 0;
}

}  // namespace tf::cli

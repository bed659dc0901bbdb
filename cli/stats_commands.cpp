#include "cli/stats_commands.h"

#include <algorithm>
#include <ostream>

#include "cli/cli_prompter.h"
#include "core/base/number_text.h"
#include "core/project/project_io.h"
#include "core/stats/statistics_export.h"

namespace tf::cli {
namespace {

constexpr std::string_view kLineEnd = "\n";

bool selectNode(const ProjectDocument& document, Statistics& statistics, const std::string& node,
                Prompter& prompter, Streams io) {
    rebuildStatistics(document, statistics, prompter);
    const auto structure = parseStructure(document.structure);
    const std::size_t count = structure ? structure->tree.size() : 0;
    const double number = isPlainNumber(node) ? parseNumber(node) : 0;
    if (number < 1 || number > static_cast<double>(count) || number != static_cast<int>(number)) {
        io.err << "tallyframe-cli: no node " << node << " (the structure has " << count
               << " nodes)\n";
        return false;
    }
    statistics.view = StatisticsView::Division;
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
    return true;
}

bool filterLocations(const ProjectDocument& document, Statistics& statistics,
                     const std::vector<std::string>& locations, Prompter& prompter, Streams io) {
    rebuildFilterTree(document, statistics, prompter);
    std::vector<std::size_t> ticked;
    for (const std::string& name : locations) {
        const auto location = statistics.filter.findLocation(name);
        if (!location) {
            io.err << "tallyframe-cli: no location " << name << '\n';
            return false;
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
    return true;
}

}  // namespace

bool loadStatistics(const std::string& project, const StatisticsChoice& choice,
                    ProjectDocument& document, Statistics& statistics, Prompter& prompter,
                    Streams io) {
    if (!openProject(document, project, prompter, io)) {
        return false;
    }
    resetStatistics(statistics);
    // Each command builds only what it uses, as the statistics page builds only what it shows.
    if (choice.node) {
        return selectNode(document, statistics, *choice.node, prompter, io);
    }
    if (choice.filter) {
        return filterLocations(document, statistics, *choice.filter, prompter, io);
    }
    chooseStatisticsView(document, statistics, StatisticsView::AllMaterials, prompter);
    return true;
}

int statsCommand(const std::string& project, const StatisticsChoice& choice, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    Statistics statistics;
    if (!loadStatistics(project, choice, document, statistics, prompter, io)) {
        return 1;
    }
    const auto write = [&](const Grid& grid) {
        forEachStatisticsRow(grid, false, [&](std::string_view row) { io.out << row << kLineEnd; });
    };
    if (choice.node) {
        write(statistics.itemSummary);
    } else if (choice.filter) {
        write(statistics.cumulative);
        io.out << kLineEnd;
        write(statistics.summary);
    } else {
        write(statistics.summary);
    }
    return 0;
}

}  // namespace tf::cli

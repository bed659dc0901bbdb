#include "cli/export_commands.h"

#include <ostream>

#include "cli/cli_prompter.h"
#include "cli/stats_commands.h"
#include "core/stats/project_workbook.h"
#include "core/stats/table_sheets.h"
#include "core/xlsx/workbook_writer.h"

namespace tf::cli {
namespace {

// A statistics table is shown by one view: without the option that chooses that view it
// would be written empty.
std::string_view viewMissing(ExportTable table, const StatisticsChoice& choice) {
    if (table == ExportTable::ItemSummary && !choice.node) {
        return "分统计表 is the breakdown of a structure node: give --node N";
    }
    if (table == ExportTable::Cumulative && !choice.filter) {
        return "累计统计表 is the filtered view's: give --filter [LOCATION ...]";
    }
    if (table == ExportTable::Summary && choice.node) {
        return "统计表 is not shown with a structure node: leave out --node";
    }
    return {};
}

}  // namespace

int exportCommand(const std::vector<std::string>& args, Streams io) {
    // FILE (--table T | --all) [--node N | --filter LOCATION...] OUT
    const bool all = args.size() >= 3 && args[1] == "--all";
    const std::size_t options = all ? 2 : 3;
    if (args.size() < options + 1 || (!all && args[1] != "--table")) {
        return 2;
    }
    // With --all, every table: the node and the locations choose what 分统计表 and 累计统计表
    // break down.
    ExportTable table = ExportTable::Analysis;
    if (!all) {
        const auto named = exportTableNamed(args[2]);
        if (!named) {
            io.err << "tallyframe-cli: no table " << args[2] << '\n';
            return 2;
        }
        table = *named;
    }
    StatisticsChoice choice;
    const std::size_t last = args.size() - 1;
    if (options < last && args[options] == "--node" && options + 2 == last) {
        choice.node = args[options + 1];
    } else if (options < last && args[options] == "--filter") {
        choice.filter = std::vector<std::string>(args.begin() + static_cast<long>(options) + 1,
                                                 args.begin() + static_cast<long>(last));
    } else if (options != last) {
        return 2;
    }
    if (const std::string_view missing = viewMissing(table, choice); !missing.empty()) {
        io.err << "tallyframe-cli: " << missing << '\n';
        return 2;
    }
    CliPrompter prompter(io.err);
    ProjectDocument document;
    Statistics statistics;
    if (!loadStatistics(args[0], choice, document, statistics, prompter, io)) {
        return 1;
    }
    const std::vector<SheetSource> sheets =
        all ? projectWorkbookSheets(document, statistics, prompter)
            : std::vector<SheetSource>{tableSheet(document, statistics, table)};
    return exportWorkbook(args[last], sheets, prompter) ? 0 : 1;
}

}  // namespace tf::cli

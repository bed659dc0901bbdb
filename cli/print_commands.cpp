#include "cli/print_commands.h"

#include <QApplication>
#include <ostream>

#include "cli/cli_prompter.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/charts/statistics_chart.h"
#include "core/print/page_setup.h"
#include "core/print/print_file.h"
#include "core/shell/program_environment.h"
#include "core/stats/statistics.h"
#include "gui/charts/chart_figure.h"
#include "gui/print/grid_printer.h"
#include "gui/widgets/chinese_faces.h"

namespace tf::cli {
namespace {

// The page and the column widths the user set in the window: the command line prints what
// the print editor shows.
AppSettings programSettings() {
    return AppSettings(settingsFilePath(programDirectory(), userConfigFolder()));
}

int writePdf(const PrintSheet& sheet, const std::string& out, Streams io) {
    const PageSetup setup = keptPageSetup(programSettings(), pageSetupKey(sheet));
    const QByteArray pdf =
        gui::sheetPdf(sheet.grid, sheetTitle(sheet), setup, nullptr,
                      gui::chartPageOf(sheet, gui::sheetPageLayout(sheet.grid, setup)));
    if (pdf.isEmpty()) {
        io.err << "tallyframe-cli: the PDF could not be made\n";
        return 1;
    }
    CliPrompter prompter(io.err);
    return writeFileTelling(pathFromUtf8(out),
                            {pdf.constData(), static_cast<std::size_t>(pdf.size())}, prompter)
               ? 0
               : 1;
}

int printTable(const std::string& project, const std::string& table,
               const std::optional<std::string>& title, bool chart, const std::string& out,
               Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    if (table != "分析表" && table != "材料表" && table != "统计表") {
        io.err << "tallyframe-cli: no table " << table << " (分析表, 材料表 or 统计表)\n";
        return 2;
    }
    if (chart && table != "统计表") {
        io.err << "tallyframe-cli: --chart goes with --table 统计表\n";
        return 2;
    }
    if (!openProject(document, project, prompter, io)) {
        return 1;
    }
    PrintSheet sheet;
    if (table == "分析表") {
        sheet = analysisSheet(document.analysis, keptColumnWidths(programSettings(), table));
    } else if (table == "材料表") {
        sheet = materialSheet(document.materials, keptColumnWidths(programSettings(), table));
    } else {
        Statistics statistics;
        resetStatistics(statistics);
        rebuildStatistics(document, statistics, prompter);
        sheet = statisticsSheet(statistics.summary, statistics.title, false,
                                keptColumnWidths(programSettings(), table));
        if (chart) {
            sheet.chart = tableChart(statistics, statistics.summary);
            sheet.printChart = true;
        }
    }
    if (title) {
        sheet.title = *title;
    }
    return writePdf(sheet, out, io);
}

int printFile(const std::string& printFile, const std::string& out, Streams io) {
    auto file = readPrintFile(printFile);
    if (!file) {
        io.err << "载入失败！\n";
        if (printFile.ends_with(".gdb")) {
            io.err << "tallyframe-cli: " << printFile
                   << " is a project: name its table with --table 分析表|材料表|统计表\n";
        }
        return 1;
    }
    PrintSheet sheet;
    applyPrintFile(sheet, std::move(*file));
    return writePdf(sheet, out, io);
}

}  // namespace

int printCommand(const std::vector<std::string>& all, int argc, char** argv, Streams io) {
    if (!printWordsFit(all)) {
        return 2;
    }
    const auto [words, chart] = withoutChartWord(all);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Charts are drawn by Qt Charts, whose figures need the widgets' application.
    QApplication app(argc, argv);
    gui::useSimplifiedChineseFaces();
    if (words.size() == 2) {
        return printFile(words[0], words[1], io);
    }
    const std::optional<std::string> title =
        words.size() == 6 ? std::optional<std::string>(words[4]) : std::nullopt;
    return printTable(words[0], words[2], title, chart, words.back(), io);
}

}  // namespace tf::cli

#include "cli/compare_commands.h"

#include <filesystem>
#include <memory>
#include <ostream>

#include "cli/cli_prompter.h"
#include "core/base/number_text.h"
#include "core/base/path_text.h"
#include "core/compare/comparison_job.h"
#include "core/versions/project_versions.h"
#include "core/xlsx/workbook_writer.h"

namespace tf::cli {
namespace {

void writeLine(std::ostream& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        out << (i ? "\t" : "") << cells[i];
    }
    out << '\n';
}

}  // namespace

int compareCommand(const std::vector<std::string>& args, Streams io) {
    if (args.size() < 2) {
        return 2;
    }
    std::optional<ComparisonTable> table;
    std::optional<std::string> workbook;
    bool onlyChanges = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--by" && i + 1 < args.size() && comparisonTableNamed(args[i + 1])) {
            table = comparisonTableNamed(args[++i]);
        } else if (args[i] == "--xlsx" && i + 1 < args.size()) {
            workbook = args[++i];
        } else if (args[i] == "--changes") {
            onlyChanges = true;
        } else {
            return 2;
        }
    }
    CliPrompter prompter(io.err);
    auto before = tallyProjectFile(args[0], prompter);
    auto after = before ? tallyProjectFile(args[1], prompter) : nullptr;
    if (!after) {
        return 1;
    }
    auto view = std::make_shared<ComparisonView>();
    view->comparison = compareProjects(std::move(before), std::move(after));
    const ProjectComparison& comparison = view->comparison;
    if (table) {
        const auto headings = comparisonHeadings(*table);
        writeLine(io.out, {headings.begin(), headings.end()});
        forEachComparisonRow(
            comparison, *table, onlyChanges,
            [&](const std::vector<std::string>& cells, Change) { writeLine(io.out, cells); });
    } else {
        for (const auto& [caption, figure] : comparisonSummary(comparison)) {
            io.out << caption << '\t' << figure << '\n';
        }
    }
    if (workbook) {
        layOutComparison(*view);
        if (!exportWorkbook(*workbook, comparisonWorkbookSheets(view), prompter)) {
            return 1;
        }
    }
    return 0;
}

int versionsCommand(const std::vector<std::string>& args, Streams io) {
    CliPrompter prompter(io.err);
    if (args.size() == 1) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(pathFromUtf8(args[0]), ec)) {
            io.err << "tallyframe-cli: no project " << args[0] << '\n';
            return 1;
        }
        // Numbered as `versions restore` takes them.
        int number = 0;
        for (const ProjectVersion& v : listVersions(pathFromUtf8(args[0]))) {
            const auto tally = tallyProjectFile(utf8FromPath(v.file), prompter);
            io.out << ++number << '\t' << v.time << '\t' << v.label << '\t'
                   << (tally ? formatNumber(totalCost(*tally)) : "") << '\t'
                   << utf8FromPath(v.file.filename()) << '\n';
        }
        return 0;
    }
    if (args.size() != 3 || (args[0] != "save" && args[0] != "restore")) {
        return 2;
    }
    ProjectDocument document;
    if (!openProjectToChange(document, args[1], prompter, io)) {
        return 1;
    }
    if (args[0] == "save") {
        const auto version = saveVersion(document, args[2], prompter);
        if (version) {
            io.out << utf8FromPath(version->file.filename()) << '\n';
        }
        return version ? 0 : 1;
    }
    const auto versions = listVersions(pathFromUtf8(args[1]));
    for (std::size_t i = 0; i < versions.size(); ++i) {
        const ProjectVersion& v = versions[i];
        if (v.label == args[2] || utf8FromPath(v.file.filename()) == args[2] ||
            std::to_string(i + 1) == args[2]) {
            return restoreVersion(document, v, prompter) ? 0 : 1;
        }
    }
    io.err << "tallyframe-cli: no version " << args[2] << '\n';
    return 1;
}

}  // namespace tf::cli

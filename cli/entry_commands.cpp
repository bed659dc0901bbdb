#include "cli/entry_commands.h"

#include <filesystem>
#include <ostream>

#include "cli/cli_prompter.h"
#include "cli/project_commands.h"
#include "cli/sample_project.h"
#include "core/base/file_bytes.h"
#include "core/base/path_text.h"
#include "core/entry/entry_sheet.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"

namespace tf::cli {
namespace {

constexpr std::size_t kLargestSheet = 16u << 20;

}  // namespace

int analysisCommand(const std::string& project, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    if (!openProject(document, project, prompter, io)) {
        return 1;
    }
    const Grid& a = document.analysis;
    for (int r = kAnalysisHeadingRows; r < a.rowCount(); ++r) {
        bool any = false;
        for (int c = AnalysisColumn::kLocation; c < AnalysisColumn::kCount && !any; ++c) {
            any = !a.text(r, c).empty();
        }
        if (!any) {
            continue;
        }
        for (int c = 0; c < AnalysisColumn::kCount; ++c) {
            if (c == AnalysisColumn::kFirstHidden) {
                continue;
            }
            io.out << a.text(r, c) << (c + 1 < AnalysisColumn::kCount ? '\t' : '\n');
        }
    }
    return 0;
}

int entryImportCommand(const std::string& project, const std::string& sheet, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    if (!openProjectToChange(document, project, prompter, io)) {
        return 1;
    }
    FileReadFault fault = FileReadFault::Unreadable;
    const auto bytes = readFileBytes(sheet, kLargestSheet, &fault);
    if (!bytes) {
        io.err << "tallyframe-cli: cannot read " << sheet
               << (fault == FileReadFault::TooLarge
                       ? ": larger than " + std::to_string(kLargestSheet >> 20) +
                             " MB, the most a sheet may be"
                       : std::string(": no such file, or not one that can be read"))
               << '\n';
        return 1;
    }
    const auto problems = importEntrySheet(document, *bytes, prompter);
    for (const auto& problem : problems) {
        io.err << "line " << problem.line << ": " << problem.reason << '\n';
    }
    if (!problems.empty()) {
        return 1;
    }
    return saveProject(document, prompter, false) ? 0 : 1;
}

int sampleCommand(const std::string& out, int locations, bool force, Streams io) {
    std::error_code error;
    if (!force && std::filesystem::exists(pathFromUtf8(out), error)) {
        io.err << "tallyframe-cli: " << out << " already exists (--force writes over it)\n";
        return 1;
    }
    CliPrompter prompter(io.err);
    ProjectDocument document;
    buildSampleProject(document, locations);
    document.path = out;
    return saveProject(document, prompter, false) ? 0 : 1;
}

}  // namespace tf::cli

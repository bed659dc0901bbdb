#include "cli/material_commands.h"

#include <ostream>

#include "cli/cli_prompter.h"
#include "cli/project_commands.h"
#include "core/base/text_util.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_replace.h"
#include "core/materials/material_text_file.h"
#include "core/project/project_io.h"

namespace tf::cli {
int materialsListCommand(const std::string& project, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    if (!openProject(document, project, prompter, io)) {
        return 1;
    }
    const Grid& g = document.materials;
    for (int r = 1; r < g.rowCount(); ++r) {
        if (isBlank(g.text(r, MaterialColumn::kCategory)) &&
            isBlank(g.text(r, MaterialColumn::kName))) {
            continue;
        }
        for (int c = 0; c < MaterialColumn::kCount; ++c) {
            io.out << g.text(r, c) << (c + 1 < MaterialColumn::kCount ? '\t' : '\n');
        }
    }
    return 0;
}

int materialsImportCommand(const std::string& project, const std::string& in, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    if (!openProjectToChange(document, project, prompter, io)) {
        return 1;
    }
    // The closing "文件导入完毕！" with every skipped line is news; a refused line is a failure.
    CliPrompter told(io.err);
    const auto report = importMaterialsAppending(document, in, told, kEverySkippedLine);
    if (!report) {
        return 1;
    }
    CliPrompter quiet(io.err);
    return saveProject(document, quiet, false) && !report->refusedAny() ? 0 : 1;
}

int materialsReplaceCommand(const std::string& project, const std::string& in, bool deleteMissing,
                            Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    if (!openProjectToChange(document, project, prompter, io)) {
        return 1;
    }
    // The notices go to standard error; what becomes of rows whose material is gone is the flag.
    CliPrompter told(io.err);
    ReplaceOptions options;
    options.shown = kEverySkippedLine;
    options.missingRows = deleteMissing ? MissingRows::Delete : MissingRows::Keep;
    const auto outcome = importMaterialsReplacing(document, in, told, options);
    if (!outcome) {
        return 1;
    }
    for (const MissingMaterialRow& row : outcome->missingRows) {
        io.err << (deleteMissing ? "deleted" : "kept") << " row " << row.row << ": " << row.location
               << '\t' << row.material << '\t' << row.unit << '\n';
    }
    CliPrompter quiet(io.err);
    return saveProject(document, quiet, false) && !outcome->report.refusedAny() ? 0 : 1;
}

int materialsExportCommand(const std::string& project, const std::string& out, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    if (!openProject(document, project, prompter, io)) {
        return 1;
    }
    return exportMaterials(document.materials, out, prompter) ? 0 : 1;
}

}  // namespace tf::cli

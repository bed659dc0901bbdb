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
    if (!openProject(document, project, prompter, io) ||
        !importMaterialsAppending(document, in, prompter)) {
        return 1;
    }
    // The closing "文件导入完毕！" is news, not a failure.
    CliPrompter quiet(io.err);
    return saveProject(document, quiet, false) ? 0 : 1;
}

int materialsReplaceCommand(const std::string& project, const std::string& in, bool deleteMissing,
                            Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    if (!openProject(document, project, prompter, io)) {
        return 1;
    }
    // The notices and the question go to standard error; the question's answer is the flag.
    CliPrompter told(io.err);
    told.answerOkCancel(deleteMissing ? Answer::Ok : Answer::Cancel);
    const auto missing = importMaterialsReplacing(document, in, told);
    if (!missing) {
        return 1;
    }
    for (const MissingMaterialRow& row : *missing) {
        io.err << (deleteMissing ? "deleted" : "kept") << " row " << row.row << ": " << row.location
               << '\t' << row.material << '\t' << row.unit << '\n';
    }
    CliPrompter quiet(io.err);
    return saveProject(document, quiet, false) ? 0 : 1;
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

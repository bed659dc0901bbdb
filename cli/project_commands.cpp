#include "cli/project_commands.h"

#include <filesystem>
#include <ostream>
#include <variant>

#include "cli/cli_prompter.h"
#include "core/project/project_file.h"
#include "core/project/project_io.h"

namespace tf::cli {

int newProjectCommand(const std::string& path, Streams io) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        io.err << "tallyframe-cli: " << path << " already exists\n";
        return 1;
    }
    CliPrompter prompter(io.err);
    ProjectDocument document;
    resetProject(document);
    document.path = path;
    return saveProject(document, prompter, false) ? 0 : 1;
}

int infoCommand(const std::string& path, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    if (!loadProject(document, path, prompter)) {
        return 1;
    }
    // Section sizes as they stand in the file; rows and columns as the program shows them.
    const auto bytes = document.file->readAll();
    const ProjectParse parsed = bytes ? parseProjectImage(*bytes) : ProjectParse{DamagedProject{}};
    const auto* sections = std::get_if<ProjectSections>(&parsed);
    if (sections == nullptr) {
        io.err << "tallyframe-cli: " << path << " changed while it was read\n";
        return 1;
    }
    io.out << "version: " << kProjectVersion << '\n'
           << "attachment-bytes: " << sections->attachments.size() << '\n'
           << "analysis-bytes: " << sections->analysis.size() << '\n'
           << "analysis-rows: " << document.analysis.rowCount() << '\n'
           << "analysis-columns: " << document.analysis.columnCount() << '\n'
           << "material-bytes: " << sections->materials.size() << '\n'
           << "material-rows: " << document.materials.rowCount() << '\n'
           << "material-columns: " << document.materials.columnCount() << '\n'
           << "tree-bytes: " << sections->tree.size() << '\n'
           << "table-bytes: " << sections->items.size() << '\n';
    return 0;
}

}  // namespace tf::cli

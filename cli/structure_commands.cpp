#include "cli/structure_commands.h"

#include <istream>
#include <ostream>

#include "cli/cli_prompter.h"
#include "cli/project_commands.h"
#include "core/expr/expression_evaluator.h"
#include "core/project/project_io.h"
#include "core/structure/codes.h"
#include "core/structure/default_structure.h"
#include "core/structure/structure_file.h"

namespace tf::cli {
namespace {

bool endsWith(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::optional<StructureSnapshot> snapshotOf(const std::string& source, Prompter& prompter,
                                            Streams io) {
    if (source == "--default") {
        return defaultStructure();
    }
    if (endsWith(source, ".gd")) {
        return readStructureFile(source, prompter);
    }
    ProjectDocument document;
    if (!openProject(document, source, prompter, io)) {
        return std::nullopt;
    }
    return document.structure;
}

}  // namespace

int evalCommand(const std::vector<std::string>& expressions, std::istream& in, Streams io) {
    CliPrompter prompter(io.err);
    const auto run = [&](const std::string& expression) {
        io.out << calculateLastLine(expression, prompter) << '\n';
    };
    if (!expressions.empty()) {
        for (const auto& expression : expressions) {
            run(expression);
        }
    } else {
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            run(line);
        }
    }
    return prompter.failed() ? 1 : 0;
}

int structureListCommand(const std::string& source, Streams io) {
    CliPrompter prompter(io.err);
    const auto snapshot = snapshotOf(source, prompter, io);
    const auto structure = snapshot ? parseStructure(*snapshot) : std::nullopt;
    if (!structure) {
        return 1;
    }
    const DivisionTree& tree = structure->tree;
    for (std::size_t i = 0; i < tree.size(); ++i) {
        io.out << i + 1 << '\t' << tree[i].level << '\t' << tree[i].number << '\t'
               << (isWorkItem(tree, i) ? itemCodeOfNode(tree, i) : "") << '\t' << tree[i].name
               << '\n';
    }
    return 0;
}

int structureExportCommand(const std::string& project, const std::string& out, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    if (!openProject(document, project, prompter, io)) {
        return 1;
    }
    return writeStructureFile(out, document.structure, prompter) ? 0 : 1;
}

int structureImportCommand(const std::string& project, const std::string& in, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    if (!openProjectToChange(document, project, prompter, io)) {
        return 1;
    }
    const auto snapshot = readStructureFile(in, prompter);
    if (!snapshot) {
        return 1;
    }
    document.structure = *snapshot;
    document.modified = true;
    return saveProject(document, prompter, false) ? 0 : 1;
}

}  // namespace tf::cli

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

namespace {

// The trailing integrity record: "whole" when it matches, "broken" when it does not, "none"
// for a file saved before there was one.
std::string_view integrityOf(std::string_view bytes, const ProjectSections& sections) {
    if (sections.integrityFailed) {
        return "broken";
    }
    const bool present = bytes.size() >= kIntegrityMagic.size() + 4 &&
                         bytes.substr(bytes.size() - kIntegrityMagic.size() - 4,
                                      kIntegrityMagic.size()) == kIntegrityMagic;
    return present ? "whole" : "none";
}

}  // namespace

int infoCommand(const std::string& path, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    std::vector<std::string> lostParts;
    if (!loadProject(document, path, prompter, &lostParts)) {
        return 1;
    }
    // Section sizes as they stand in the file (a salvaged project has let go of it); rows and
    // columns as the program shows them.
    auto file =
        document.file ? std::nullopt : ExclusiveFile::open(path, ExclusiveFile::Mode::ReadOnly);
    const ExclusiveFile* held = document.file ? &*document.file : file ? &*file : nullptr;
    const auto bytes = held != nullptr ? held->readAll() : std::nullopt;
    const ProjectParse parsed = bytes ? parseProjectImage(*bytes) : ProjectParse{DamagedProject{}};
    const auto* sections = std::get_if<ProjectSections>(&parsed);
    if (sections == nullptr) {
        io.err << "tallyframe-cli: " << path << " changed while it was read\n";
        return 1;
    }
    const auto size = [](const std::optional<std::string_view>& section) {
        return section ? section->size() : 0;
    };
    io.out << "version: " << kProjectVersion << '\n'
           << "attachment-bytes: " << sections->attachments.size() << '\n'
           << "analysis-bytes: " << sections->analysis.size() << '\n'
           << "analysis-rows: " << document.analysis.rowCount() << '\n'
           << "analysis-columns: " << document.analysis.columnCount() << '\n'
           << "material-bytes: " << size(sections->materials) << '\n'
           << "material-rows: " << document.materials.rowCount() << '\n'
           << "material-columns: " << document.materials.columnCount() << '\n'
           << "tree-bytes: " << size(sections->tree) << '\n'
           << "table-bytes: " << size(sections->items) << '\n'
           << "integrity: " << integrityOf(*bytes, *sections) << '\n';
    for (const auto& part : lostParts) {
        io.out << "damaged: " << part << '\n';
    }
    return lostParts.empty() ? 0 : 2;
}

}  // namespace tf::cli

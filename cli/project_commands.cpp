#include "cli/project_commands.h"

#include <filesystem>
#include <ostream>
#include <variant>

#include "cli/cli_prompter.h"
#include "core/base/path_text.h"
#include "core/project/project_file.h"
#include "core/project/project_io.h"

namespace tf::cli {

int newProjectCommand(const std::string& path, Streams io) {
    std::error_code ec;
    if (std::filesystem::exists(pathFromUtf8(path), ec)) {
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

std::string_view systemReason(ExclusiveFile::Refusal refusal) {
    switch (refusal) {
        case ExclusiveFile::Refusal::Missing:
            return "no such file";
        case ExclusiveFile::Refusal::Held:
            return "held by another process";
        case ExclusiveFile::Refusal::NoPermission:
            return "permission denied";
        case ExclusiveFile::Refusal::NotAFile:
            return "not a regular file";
        case ExclusiveFile::Refusal::Other:
            break;
    }
    return "cannot be opened";
}

std::string_view integrityText(Integrity integrity) {
    switch (integrity) {
        case Integrity::Whole:
            return "whole";
        case Integrity::Broken:
            return "broken";
        case Integrity::Absent:
            break;
    }
    return "none";
}

// Passes messages on, but for the window's "非工程数据，无法打开！" about a file the system
// refused: the command line names the real reason instead.
class RefusalPrompter : public HeadlessPrompter {
  public:
    RefusalPrompter(Prompter& told, const LoadDetails& details) : told_(told), details_(details) {}
    Answer message(std::string_view text, std::string_view caption, int flags) override {
        if (details_.refusal && text == kNotAProject) {
            return Answer::Ok;
        }
        return told_.message(text, caption, flags);
    }

  private:
    Prompter& told_;
    const LoadDetails& details_;
};

}  // namespace

bool openProject(ProjectDocument& document, const std::string& path, Prompter& prompter, Streams io,
                 LoadDetails* details) {
    LoadDetails own;
    LoadDetails& found = details != nullptr ? *details : own;
    RefusalPrompter told(prompter, found);
    if (loadProject(document, path, told, &found)) {
        return true;
    }
    if (found.refusal) {
        io.err << "tallyframe-cli: " << path << ": " << systemReason(*found.refusal) << '\n';
    }
    return false;
}

bool openProjectToChange(ProjectDocument& document, const std::string& path, Prompter& prompter,
                         Streams io) {
    if (!openProject(document, path, prompter, io)) {
        return false;
    }
    if (!document.file) {
        io.err
            << "tallyframe-cli: " << path
            << ": opened with damaged parts, it is saved under a new name only: nothing changed\n";
        return false;
    }
    if (!document.file->writable()) {
        io.err << "tallyframe-cli: " << path << ": read-only: nothing changed\n";
        return false;
    }
    return true;
}

int infoCommand(const std::string& path, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    LoadDetails details;
    if (!openProject(document, path, prompter, io, &details)) {
        return 1;
    }
    const auto& lostParts = details.lostParts;
    // Section sizes as they stood in the file when it was read; rows and columns as the
    // program shows them.
    const LoadDetails::Sizes& sizes = details.sizes;
    io.out << "version: " << kProjectVersion << '\n'
           << "attachment-bytes: " << sizes.attachments << '\n'
           << "analysis-bytes: " << sizes.analysis << '\n'
           << "analysis-rows: " << document.analysis.rowCount() << '\n'
           << "analysis-columns: " << document.analysis.columnCount() << '\n'
           << "material-bytes: " << sizes.materials << '\n'
           << "material-rows: " << document.materials.rowCount() << '\n'
           << "material-columns: " << document.materials.columnCount() << '\n'
           << "tree-bytes: " << sizes.tree << '\n'
           << "table-bytes: " << sizes.items << '\n'
           << "integrity: " << integrityText(details.integrity) << '\n';
    for (const auto& part : lostParts) {
        io.out << "damaged: " << part << '\n';
    }
    return lostParts.empty() ? 0 : 2;
}

}  // namespace tf::cli

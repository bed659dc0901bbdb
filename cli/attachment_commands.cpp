#include "cli/attachment_commands.h"

#include <map>
#include <ostream>
#include <set>

#include "cli/cli_prompter.h"
#include "core/attach/attachment_manager.h"
#include "core/attach/release_folder.h"
#include "core/base/path_text.h"
#include "core/project/analysis_layout.h"

namespace tf::cli {
namespace fs = std::filesystem;
namespace {

// No desktop without a window: nothing can be opened or captured.
struct NoDesktop : AttachmentDesktop {
    bool openFolder(const fs::path&) override { return false; }
    bool openFile(const fs::path&) override { return false; }
    bool showInFolder(const fs::path&) override { return false; }
    std::optional<std::string> captureScreen(bool) override { return std::nullopt; }
};

std::string locationName(const ProjectDocument& document, std::size_t k) {
    return std::string(
        document.analysis.text(document.locations[k].first, AnalysisColumn::kLocation));
}

// The location named `wanted` (its 部位名称, else its number counted from 1).
std::optional<std::size_t> findLocation(const ProjectDocument& document, const std::string& wanted,
                                        Streams io) {
    for (std::size_t k = 0; k < document.locations.size(); ++k) {
        if (locationName(document, k) == wanted) {
            return k;
        }
    }
    const bool digits =
        !wanted.empty() && wanted.find_first_not_of("0123456789") == std::string::npos;
    if (digits && wanted.size() < 10) {
        const std::size_t number = std::stoul(wanted);
        if (number >= 1 && number <= document.locations.size()) {
            return number - 1;
        }
    }
    io.err << "tallyframe-cli: no location " << wanted << '\n';
    return std::nullopt;
}

std::string& record(ProjectDocument& document, std::size_t k) {
    const int first = document.locations[k].first;
    document.attachments.align(document.analysis.rowCount());
    return document.attachments.records[static_cast<std::size_t>(first)];
}

std::optional<AttachmentStore> storeOf(ProjectDocument& document, std::size_t k, Streams io) {
    auto store = parseAttachmentStore(record(document, k));
    if (!store) {
        io.err << "tallyframe-cli: the attachments of " << locationName(document, k)
               << " are damaged\n";
    }
    return store;
}

// The project opened and the named location's store read: the location and its store.
std::optional<std::pair<std::size_t, AttachmentStore>> openLocation(ProjectDocument& document,
                                                                    const std::string& project,
                                                                    const std::string& location,
                                                                    Prompter& prompter, Streams io,
                                                                    bool toChange) {
    const bool opened = toChange ? openProjectToChange(document, project, prompter, io)
                                 : openProject(document, project, prompter, io);
    if (!opened) {
        return std::nullopt;
    }
    const auto k = findLocation(document, location, io);
    if (!k) {
        return std::nullopt;
    }
    auto store = storeOf(document, *k, io);
    if (!store) {
        return std::nullopt;
    }
    return std::pair{*k, std::move(*store)};
}

}  // namespace

int attachmentsListCommand(const std::string& project, const std::string& location, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    if (!openProject(document, project, prompter, io)) {
        return 1;
    }
    std::size_t first = 0;
    std::size_t last = document.locations.size();
    if (!location.empty()) {
        const auto k = findLocation(document, location, io);
        if (!k) {
            return 1;
        }
        first = *k;
        last = *k + 1;
    }
    int status = 0;
    for (std::size_t k = first; k < last; ++k) {
        const auto store = storeOf(document, k, io);
        if (!store) {
            status = 1;
            continue;
        }
        for (const AttachmentFile& f : store->files) {
            io.out << locationName(document, k) << '\t' << store->folderPath(f.folder) << '\t'
                   << f.name << '\t' << f.description << '\t' << f.time << '\t' << f.size() << '\n';
        }
    }
    return status;
}

int attachmentsAddCommand(const std::string& project, const std::string& location,
                          const std::string& folder, const std::vector<std::string>& files,
                          Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    auto opened = openLocation(document, project, location, prompter, io, true);
    if (!opened) {
        return 1;
    }
    const std::size_t k = opened->first;
    AttachmentStore& store = opened->second;
    int key = 0;
    if (!folder.empty()) {
        key = store.folderAt(folder);
    } else if (!store.folders.empty()) {
        key = store.folders.front().key;
    } else {
        key = store.addFolder(0);
    }
    if (key == 0) {
        io.err << "tallyframe-cli: no folder " << folder << '\n';
        return 1;
    }
    NoDesktop desktop;
    AttachmentManager manager(prompter, desktop, {});
    std::string block = serializeAttachmentStore(store);
    manager.handBack = [&](const std::string& changed) { block = changed; };
    const auto first = document.locations[k].first;
    manager.load(block, AttachMode::Edit, attachmentRoom(document.attachments, first));
    manager.selectFolder(key);
    for (const std::string& file : files) {
        manager.addFile(file);
    }
    if (prompter.failed()) {
        return 1;  // nothing is saved when a file could not be added
    }
    record(document, k) = block;
    document.modified = true;
    return saveProject(document, prompter, false) ? 0 : 1;
}

int attachmentsExtractCommand(const std::string& project, const std::string& location,
                              const std::string& outDir, Streams io) {
    CliPrompter prompter(io.err);
    ProjectDocument document;
    const auto opened = openLocation(document, project, location, prompter, io, false);
    if (!opened) {
        return 1;
    }
    const AttachmentStore& store = opened->second;
    std::map<fs::path, std::set<std::string>> taken;  // per folder written into
    for (const AttachmentFile& f : store.files) {
        fs::path folder = pathFromUtf8(outDir);
        std::string path = store.folderPath(f.folder);
        for (std::size_t start = 0; start <= path.size();) {
            const std::size_t slash = std::min(path.find('/', start), path.size());
            folder /= pathFromUtf8(releasedName(path.substr(start, slash - start)));
            start = slash + 1;
        }
        const std::string name = unusedName(releasedName(f.name), taken[folder]);
        const auto written = releaseFile(folder, name, f.content);
        if (!written) {
            io.err << "tallyframe-cli: could not write "
                   << utf8FromPath(folder / pathFromUtf8(name)) << '\n';
            return 1;
        }
        io.out << utf8FromPath(*written) << '\n';
    }
    return 0;
}

}  // namespace tf::cli

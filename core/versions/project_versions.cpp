#include "core/versions/project_versions.h"

#include <algorithm>

#include "core/base/file_bytes.h"
#include "core/base/file_names.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/base/text_util.h"
#include "core/base/time_text.h"
#include "core/base/utf8.h"
#include "core/project/project_file.h"
#include "core/project/project_io.h"

namespace tf {
namespace {

constexpr std::string_view kFolderSuffix = ".版本";
constexpr std::string_view kExtension = ".gdb";
constexpr std::size_t kLongestLabel = 60;  // characters

// "2026-12-10 142233" of "2026-12-10 14:22:33": no colons, which Windows refuses in names.
std::string nameTime(std::string_view time) {
    std::string name(time);
    std::erase(name, ':');
    return name;
}

bool digits(std::string_view text) {
    return !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

// The moment and label of "2026-12-10 142233 初稿.gdb"; nothing for another name.
std::optional<ProjectVersion> parseVersionName(std::string_view stem) {
    if (stem.size() < 19 || stem[4] != '-' || stem[7] != '-' || stem[10] != ' ' ||
        stem[17] != ' ' || !digits(stem.substr(0, 4)) || !digits(stem.substr(5, 2)) ||
        !digits(stem.substr(8, 2)) || !digits(stem.substr(11, 6))) {
        return std::nullopt;
    }
    ProjectVersion v;
    v.time = std::string(stem.substr(0, 10)) + " " + std::string(stem.substr(11, 2)) + ":" +
             std::string(stem.substr(13, 2)) + ":" + std::string(stem.substr(15, 2));
    v.label = std::string(stem.substr(18));
    return v;
}

// The version's content; nothing when it cannot be read whole (told).
std::optional<ProjectReading> readVersion(const ProjectVersion& version, Prompter& prompter) {
    const auto bytes = readFileBytes(utf8FromPath(version.file), kLargestProjectFile);
    if (!bytes) {
        prompter.message(kNotAProject, Captions::kError, MessageFlags::kError);
        return std::nullopt;
    }
    auto reading = readProjectImage(*bytes, prompter);
    if (!reading || !reading->lostParts.empty()) {
        return std::nullopt;  // told by the reading; a damaged version gives nothing
    }
    return reading;
}

void takeContent(ProjectDocument& document, ProjectDocument& from) {
    document.analysis = std::move(from.analysis);
    document.materials = std::move(from.materials);
    document.attachments = std::move(from.attachments);
    document.structure = std::move(from.structure);
    document.catalogue = std::move(from.catalogue);
    document.locations = std::move(from.locations);
}

}  // namespace

std::filesystem::path versionFolder(const std::filesystem::path& project) {
    return project.parent_path() /
           pathFromUtf8(utf8FromPath(project.stem()) + std::string(kFolderSuffix));
}

std::vector<ProjectVersion> listVersions(const std::filesystem::path& project) {
    std::vector<ProjectVersion> versions;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(versionFolder(project), ec)) {
        const std::string name = utf8FromPath(entry.path().filename());
        if (!entry.is_regular_file(ec) || !hasExtension(name, kExtension)) {
            continue;
        }
        const std::string stem = utf8FromPath(entry.path().stem());
        ProjectVersion version;
        if (auto named = parseVersionName(stem)) {
            version = std::move(*named);
        } else {
            version.label = stem;
            version.time = fileTimeText(entry.path()).value_or("");
        }
        version.file = entry.path();
        versions.push_back(std::move(version));
    }
    std::ranges::sort(versions, [](const ProjectVersion& a, const ProjectVersion& b) {
        return std::tie(a.time, a.file) < std::tie(b.time, b.file);
    });
    return versions;
}

std::string versionLabel(std::string_view label) {
    std::string kept;
    const std::string valid = utf8::sanitize(trimSpaces(label));
    std::size_t pos = 0;
    for (std::size_t count = 0; pos < valid.size() && count < kLongestLabel; ++count) {
        const char32_t c = utf8::next(valid, pos);
        utf8::append(kept,
                     c < 0x80 && forbiddenInFileName(static_cast<unsigned char>(c)) ? U'_' : c);
    }
    kept = std::string(trimSpaces(kept));
    // A name of dots alone means a folder to some desktops.
    if (kept.empty() || kept.find_first_not_of('.') == std::string::npos) {
        return "版本";
    }
    return kept;
}

std::optional<ProjectVersion> saveVersion(const ProjectDocument& document, std::string_view label,
                                          Prompter& prompter,
                                          std::chrono::system_clock::time_point moment) {
    const std::filesystem::path folder = versionFolder(pathFromUtf8(document.path));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    ProjectVersion version;
    version.label = versionLabel(label);
    version.time = localTimeText(moment);
    const std::string stem = nameTime(version.time) + " " + version.label;
    // Two versions in one second with one label stay two files.
    version.file = folder / pathFromUtf8(stem + std::string(kExtension));
    for (int n = 2; std::filesystem::exists(version.file, ec); ++n) {
        version.file =
            folder / pathFromUtf8(stem + " (" + std::to_string(n) + ")" + std::string(kExtension));
    }
    if (!writeFileTelling(version.file, buildProjectImage(document), prompter)) {
        return std::nullopt;
    }
    return version;
}

bool restoreVersion(ProjectDocument& document, const ProjectVersion& version, Prompter& prompter) {
    auto reading = readVersion(version, prompter);
    if (!reading ||
        !saveVersion(document, std::string(kBeforeRestore) + " " + version.label, prompter)) {
        return false;
    }
    takeContent(document, reading->document);
    document.modified = true;
    return saveProject(document, prompter, false);
}

bool openVersionUntitled(ProjectDocument& document, const ProjectVersion& version,
                         Prompter& prompter) {
    auto reading = readVersion(version, prompter);
    if (!reading) {
        return false;
    }
    takeContent(document, reading->document);
    document.path.clear();
    document.file.reset();
    document.modified = false;
    return true;
}

}  // namespace tf

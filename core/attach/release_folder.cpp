#include "core/attach/release_folder.h"

#include <algorithm>
#include <system_error>

#include "core/base/file_names.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/base/utf8.h"

namespace tf {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kLongestName = 200;

// The longest prefix of `text` of at most `bytes` bytes that ends on a whole character.
std::string_view wholeCharacters(std::string_view text, std::size_t bytes) {
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t next = pos;
        utf8::next(text, next);
        if (next > bytes) {
            break;
        }
        end = pos = next;
    }
    return text.substr(0, end);
}

}  // namespace

std::string releasedName(std::string_view name) {
    std::string clean = utf8::sanitize(name);
    for (char& c : clean) {
        if (forbiddenInFileName(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    while (!clean.empty() && (clean.back() == '.' || clean.back() == ' ')) {
        clean.pop_back();
    }
    if (clean.size() > kLongestName) {
        const std::size_t dot = clean.rfind('.');
        const std::string extension =
            dot != std::string::npos && clean.size() - dot <= 16 ? clean.substr(dot) : "";
        clean = std::string(wholeCharacters(clean, kLongestName - extension.size())) + extension;
    }
    if (clean.empty()) {
        return "_";
    }
    if (clean == "." || clean == ".." || reservedDeviceName(clean)) {
        return "_" + clean;
    }
    return clean;
}

bool emptyReleaseFolder(const fs::path& folder) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(folder, error);
    if (fs::is_symlink(status) || (fs::exists(status) && !fs::is_directory(status))) {
        fs::remove(folder, error);  // the link, not what it points to
        if (error) {
            return false;
        }
    } else if (fs::is_directory(status)) {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
            fs::remove_all(entry.path(), error);  // does not follow links
            if (error) {
                return false;
            }
        }
        if (error) {
            return false;
        }
    }
    fs::create_directories(folder, error);
    return !error && fs::is_directory(fs::symlink_status(folder, error));
}

std::string unusedName(const std::string& name, std::set<std::string>& taken) {
    const std::size_t dot = name.rfind('.');
    const bool extension = dot != std::string::npos && dot > 0;
    const std::string stem = extension ? name.substr(0, dot) : name;
    const std::string suffix = extension ? name.substr(dot) : "";
    std::string candidate = name;
    for (int n = 2; taken.contains(candidate); ++n) {
        candidate = stem + " (" + std::to_string(n) + ")" + suffix;
    }
    taken.insert(candidate);
    return candidate;
}

std::optional<fs::path> releaseFile(const fs::path& folder, std::string_view name,
                                    std::string_view content) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(folder, error);
    if ((fs::is_symlink(status) || !fs::is_directory(status)) && !emptyReleaseFolder(folder)) {
        return std::nullopt;
    }
    const fs::path target = folder / pathFromUtf8(releasedName(name));
    // The safe writer writes through a link to its target: a link or folder in the way goes.
    const fs::file_status existing = fs::symlink_status(target, error);
    if (fs::is_symlink(existing) || fs::is_directory(existing)) {
        fs::remove_all(target, error);
    }
    if (writeFileSafely(target, content) != WriteOutcome::Written) {
        return std::nullopt;
    }
    return target;
}

}  // namespace tf

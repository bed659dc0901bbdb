#include "core/update/update_package.h"

#include <algorithm>

#include "core/base/byte_io.h"
#include "core/base/file_bytes.h"
#include "core/base/file_names.h"
#include "core/base/number_text.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/base/text_codec.h"
#include "core/base/text_util.h"
#include "core/shell/program_data.h"

namespace tf {
namespace {

constexpr std::size_t kNameBytes = 20;
constexpr double kTolerance = 0.0000001;

}  // namespace

bool plainPackageName(std::string_view name) {
    if (name.empty() || name == "." || name.find("..") != std::string_view::npos ||
        reservedDeviceName(name)) {
        return false;
    }
    return std::ranges::none_of(
        name, [](char c) { return forbiddenInFileName(static_cast<unsigned char>(c)); });
}

std::optional<std::vector<PackageFile>> parseUpdatePackage(std::string_view bytes) {
    if (bytes.size() > kLargestUpdatePackage) {
        return std::nullopt;
    }
    ByteReader r(bytes);
    const auto count = r.u8();
    if (!count || r.remaining() < std::size_t{*count} * (4 + kNameBytes)) {
        return std::nullopt;
    }
    std::vector<std::size_t> sizes;
    std::size_t total = 0;
    for (int i = 0; i < *count; ++i) {
        const std::int32_t size = *r.i32();
        if (size < 0) {
            return std::nullopt;
        }
        sizes.push_back(static_cast<std::size_t>(size));
        total += static_cast<std::size_t>(size);
    }
    std::vector<PackageFile> files;
    for (int i = 0; i < *count; ++i) {
        const std::string_view field = *r.bytes(kNameBytes);
        std::string name = fromGbk(field.substr(0, field.find('\0')));
        if (!plainPackageName(name)) {
            return std::nullopt;
        }
        files.push_back({std::move(name), {}});
    }
    if (r.remaining() < total) {
        return std::nullopt;  // contents cut short
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        files[i].content = std::string(*r.bytes(sizes[i]));
    }
    return files;
}

bool packageReadable(const std::vector<PackageFile>& files) {
    return std::ranges::all_of(files, [](const PackageFile& f) {
        return !equalIgnoringAsciiCase(f.name, kProgramDataFile) ||
               parseProgramData(f.content).has_value();
    });
}

bool installUpdatePackage(const std::filesystem::path& programDirectory,
                          const std::vector<PackageFile>& files) {
    // Every new file is written beside its target, and every old one kept beside it too,
    // before any is replaced: a file that cannot go in leaves the program as it was.
    std::vector<StagedFile> fresh;
    std::vector<std::optional<StagedFile>> old;  // the old content of files that were there
    fresh.reserve(files.size());
    old.reserve(files.size());
    std::error_code error;
    for (const PackageFile& f : files) {
        if (!plainPackageName(f.name)) {
            return false;
        }
        const std::filesystem::path target = programDirectory / pathFromUtf8(f.name);
        if (fresh.emplace_back(target, f.content).outcome() != WriteOutcome::Written) {
            return false;
        }
        if (!std::filesystem::exists(std::filesystem::symlink_status(target, error))) {
            old.emplace_back();
            continue;
        }
        const auto content = readFileBytes(utf8FromPath(target), kLargestUpdatePackage);
        if (!content ||
            old.emplace_back(std::in_place, target, *content)->outcome() != WriteOutcome::Written) {
            return false;  // a folder in the way, or a file that cannot be kept
        }
    }
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        if (fresh[i].commit()) {
            continue;
        }
        // Back as it was: the old files over the new ones, the files that were not there gone.
        for (std::size_t j = i; j-- > 0;) {
            if (old[j]) {
                old[j]->commit();
            } else {
                std::filesystem::remove(programDirectory / pathFromUtf8(files[j].name), error);
            }
        }
        return false;
    }
    return true;
}

std::optional<double> latestDataNumber(std::string_view versionFile) {
    const std::string_view line = versionFile.substr(0, versionFile.find_first_of("\r\n"));
    if (line.find_first_not_of(" \t") == std::string_view::npos) {
        return std::nullopt;
    }
    return parseNumber(line);
}

bool isNewerDataNumber(double latest, long current) {
    return latest - static_cast<double>(current) > kTolerance;
}

}  // namespace tf

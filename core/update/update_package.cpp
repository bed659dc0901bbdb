#include "core/update/update_package.h"

#include <algorithm>

#include "core/base/byte_io.h"
#include "core/base/file_names.h"
#include "core/base/number_text.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/base/text_codec.h"

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

bool installUpdatePackage(const std::filesystem::path& programDirectory,
                          const std::vector<PackageFile>& files) {
    for (const PackageFile& f : files) {
        if (!plainPackageName(f.name) || writeFileSafely(programDirectory / pathFromUtf8(f.name),
                                                         f.content) != WriteOutcome::Written) {
            return false;
        }
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

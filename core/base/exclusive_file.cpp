#include "core/base/exclusive_file.h"

#include "core/base/exclusive_file_io.h"
#include "core/base/safe_write_io.h"
#include "core/base/temporary_file.h"

namespace tf {
namespace detail {
namespace {

std::filesystem::path& safetyFolder() {
    static std::filesystem::path folder = [] {
        std::error_code ec;
        return std::filesystem::temp_directory_path(ec);
    }();
    return folder;
}

}  // namespace

const std::filesystem::path& safetyCopyFolder() {
    return safetyFolder();
}

}  // namespace detail

void ExclusiveFile::setSafetyCopyFolder(std::filesystem::path folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    detail::safetyFolder() = std::move(folder);
}

std::optional<ExclusiveFile> ExclusiveFile::create(const std::filesystem::path& path,
                                                   std::string_view image, Refusal* why) {
    const auto refuse = [why](Refusal refusal) -> std::optional<ExclusiveFile> {
        if (why != nullptr) {
            *why = refusal;
        }
        return std::nullopt;
    };
    std::string tempName;
    // Made locked (sharing denied but for its move): held from the start, as the file it becomes.
    const int temp = createTemporaryFile(path.parent_path(), tempName);
    if (temp < 0) {
        std::error_code ec;
        const auto folder = path.parent_path().empty() ? "." : path.parent_path();
        return refuse(std::filesystem::is_directory(folder, ec) ? Refusal::NoPermission
                                                                : Refusal::Missing);
    }
    detail::giveModeOf(path, temp);  // a new file's permissions, not a temporary file's
    if (!writeFully(temp, image) || !flushToDisk(temp)) {
        discardTemporaryFile(temp, tempName);
        return refuse(Refusal::Other);
    }
    if (!moveToNew(tempName, path)) {
        discardTemporaryFile(temp, tempName);
        return refuse(Refusal::Held);
    }
    return ExclusiveFile(temp, detail::heldName(path), Mode::ReadWrite);
}

ExclusiveFile::ExclusiveFile(ExclusiveFile&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)),
      path_(std::move(other.path_)),
      mode_(other.mode_) {}

ExclusiveFile& ExclusiveFile::operator=(ExclusiveFile&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, -1);
        path_ = std::move(other.path_);
        mode_ = other.mode_;
    }
    return *this;
}

ExclusiveFile::~ExclusiveFile() {
    close();
}

std::optional<std::string> ExclusiveFile::readAll() const {
    const auto size = handle_ < 0 ? std::nullopt : detail::heldFileSize(handle_);
    if (!size) {
        return std::nullopt;
    }
    // Read straight into the result, then on past the size until the file ends: it may
    // have grown meanwhile.
    constexpr std::size_t kProbe = 1 << 16;
    std::string content;
    content.reserve(static_cast<std::size_t>(*size) + kProbe);
    content.resize(static_cast<std::size_t>(*size));
    for (std::size_t have = 0;;) {
        const auto got =
            detail::readHeldFile(handle_, have, {content.data() + have, content.size() - have});
        if (!got) {
            return std::nullopt;
        }
        have += *got;
        if (have < content.size()) {
            content.resize(have);
            return content;
        }
        content.resize(have + kProbe);
    }
}

std::optional<ByteStream> ExclusiveFile::stream() const {
    const auto size = handle_ < 0 ? std::nullopt : detail::heldFileSize(handle_);
    if (!size) {
        return std::nullopt;
    }
    const int handle = handle_;
    return ByteStream(
        [handle](std::uint64_t offset, std::span<char> out) {
            return detail::readHeldFile(handle, offset, out);
        },
        *size);
}

bool ExclusiveFile::rewriteInPlace(std::string_view image) {
    const auto old = readAll();
    if (!old) {
        return false;
    }
    // The complete old content goes to a safety copy first; it restores the file when the
    // rewrite fails, and stays behind only when even that fails.
    std::string copyName;
    const int copy = createTemporaryFile(detail::safetyCopyFolder(), copyName);
    if (copy < 0) {
        return false;
    }
    if (!writeFully(copy, *old) || !flushToDisk(copy)) {
        discardTemporaryFile(copy, copyName);
        return false;
    }
    const bool written = detail::overwriteHeldFile(handle_, image);
    if (written || detail::overwriteHeldFile(handle_, *old)) {
        discardTemporaryFile(copy, copyName);
    } else {
        closeDescriptor(copy);
    }
    return written;
}

}  // namespace tf

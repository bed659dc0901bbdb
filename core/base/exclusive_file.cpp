#include "core/base/exclusive_file.h"

#include <set>

#include "core/base/exclusive_file_io.h"
#include "core/base/file_bytes.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/base/safe_write_io.h"
#include "core/base/temporary_file.h"

namespace tf {
namespace {

// A journal is a few dozen bytes: anything larger in the safety folder is none of ours.
constexpr std::size_t kLargestJournal = 4096;

}  // namespace

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
    const auto file = handle_ < 0 ? std::nullopt : detail::heldFileIdentity(handle_);
    if (!old || !file) {
        return false;
    }
    // The complete old content goes to a safety copy first, and beside it a journal that says
    // which file it protects and what that holds before and after: a rewrite cut short, even
    // by a crash, is put right from them when the file is next opened.
    const std::filesystem::path& folder = detail::safetyCopyFolder();
    std::error_code made;
    std::filesystem::create_directories(folder, made);  // the user may have emptied the cache
    std::string copyName;
    const int copy = createTemporaryFile(folder, copyName);
    if (copy < 0) {
        return false;
    }
    const std::filesystem::path copyPath = pathFromUtf8(copyName);
    const std::filesystem::path journal =
        copyPath.parent_path() /
        pathFromUtf8(utf8FromPath(copyPath.filename()) + std::string(kJournalSuffix));
    const std::string record = serializeRewriteJournal(
        {*file, utf8FromPath(copyPath.filename()), markOf(*old), markOf(image)});
    if (!writeFully(copy, *old) || !flushToDisk(copy) ||
        writeFileSafely(journal, record) != WriteOutcome::Written) {
        discardTemporaryFile(copy, copyName);
        return false;
    }
    const bool written = detail::overwriteHeldFile(handle_, image);
    if (written || detail::overwriteHeldFile(handle_, *old)) {
        std::error_code ec;
        std::filesystem::remove(journal, ec);
        discardTemporaryFile(copy, copyName);
    } else {
        closeDescriptor(copy);  // the journal and its copy stay, for the next open to use
    }
    return written;
}

ExclusiveFile::Recovery ExclusiveFile::recoverInterruptedRewrite() {
    const std::filesystem::path& folder = detail::safetyCopyFolder();
    const auto file = handle_ < 0 ? std::nullopt : detail::heldFileIdentity(handle_);
    Recovery outcome = Recovery::Nothing;
    std::set<std::string> protecting;  // copies other files' journals still need
    std::optional<ContentMark> now;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = utf8FromPath(entry.path().filename());
        if (!name.ends_with(kJournalSuffix)) {
            continue;
        }
        const auto bytes = readFileBytes(utf8FromPath(entry.path()), kLargestJournal);
        const auto journal = bytes ? parseRewriteJournal(*bytes) : std::nullopt;
        if (!journal) {
            continue;  // not one of ours to judge
        }
        if (!file || journal->file != *file) {
            protecting.insert(journal->copyName);
            continue;
        }
        if (!now) {
            const auto content = readAll();
            if (!content) {
                protecting.insert(journal->copyName);
                continue;
            }
            now = markOf(*content);
        }
        const std::filesystem::path copy = folder / pathFromUtf8(journal->copyName);
        if (*now != journal->before && *now != journal->after) {
            // Torn: neither what was there nor what was being written. The old content comes
            // back when its copy is whole; otherwise nothing can be done but say so.
            const auto old = readFileBytes(utf8FromPath(copy), journal->before.size);
            if (old && markOf(*old) == journal->before && mode_ != Mode::ReadOnly &&
                detail::overwriteHeldFile(handle_, *old)) {
                now = journal->before;
                outcome = Recovery::Restored;
            } else {
                outcome = Recovery::Unrecoverable;
            }
        }
        // The file is whole again, or past help: the journal and its copy have done their work.
        std::filesystem::remove(entry.path(), ec);
        std::filesystem::remove(copy, ec);
    }
    // Copies no journal names are of rewrites that never began or that ended.
    sweepStaleTemporaryFiles(folder, protecting);
    return outcome;
}

}  // namespace tf

#include "core/base/rewrite_journal.h"

#include <algorithm>

#include "core/base/byte_io.h"
#include "core/base/crc32.h"
#include "core/base/sealed_bytes.h"
#include "core/base/temporary_file.h"

namespace tf {
namespace {

constexpr std::string_view kMagic = "TFJOURN1";

// One of the program's temporary file names, letters and digits between its prefix and suffix:
// only ever a file directly in the safety folder.
bool plainCopyName(std::string_view name) {
    if (!detail::isTemporaryName(name)) {
        return false;
    }
    const auto middle =
        name.substr(detail::kTemporaryPrefix.size(), detail::kTemporaryRandomLength);
    return std::ranges::all_of(middle, [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
}

void writeMark(ByteWriter& w, const ContentMark& mark) {
    w.u64(mark.size);
    w.u32(mark.crc);
}

std::optional<ContentMark> readMark(ByteReader& r) {
    const auto size = r.u64();
    const auto crc = r.u32();
    if (!size || !crc) {
        return std::nullopt;
    }
    return ContentMark{*size, *crc};
}

}  // namespace

ContentMark markOf(std::string_view content) {
    return {content.size(), crc32(content)};
}

std::string serializeRewriteJournal(const RewriteJournal& journal) {
    ByteWriter w = beginSealed(kMagic);
    w.u64(journal.file.device);
    w.u64(journal.file.index);
    w.sized(journal.copyName);
    writeMark(w, journal.before);
    writeMark(w, journal.after);
    return endSealed(w);
}

std::optional<RewriteJournal> parseRewriteJournal(std::string_view bytes) {
    const auto body = openSealed(bytes, kMagic);
    if (!body) {
        return std::nullopt;
    }
    ByteReader r(*body);
    RewriteJournal journal;
    const auto device = r.u64();
    const auto index = r.u64();
    const auto name = r.sized();
    const auto before = readMark(r);
    const auto after = readMark(r);
    if (!device || !index || !name || !before || !after || !r.atEnd() || !plainCopyName(*name)) {
        return std::nullopt;
    }
    journal.file = {*device, *index};
    journal.copyName = std::string(*name);
    journal.before = *before;
    journal.after = *after;
    return journal;
}

}  // namespace tf

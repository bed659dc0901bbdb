#include "core/structure/structure_file.h"

#include "core/base/byte_io.h"
#include "core/base/file_bytes.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/base/sealed_bytes.h"
#include "core/structure/default_structure.h"

namespace tf {
namespace {

constexpr std::string_view kMagic = "TFSTRUCT";
constexpr std::size_t kLargestStructureFile = 64u << 20;

}  // namespace

std::string buildStructureFile(const StructureSnapshot& snapshot) {
    ByteWriter w;
    w.bytes(kMagic);
    w.sized(snapshot.tree);
    w.bytes(snapshot.items);
    std::string file = w.take();
    appendIntegrityRecord(file);
    return file;
}

std::optional<StructureSnapshot> parseStructureFile(std::string_view bytes) {
    // The tree part has no check of its own: a file whose record does not match is refused.
    const CoveredBytes covered = splitIntegrityRecord(bytes);
    if (covered.integrity == Integrity::Broken) {
        return std::nullopt;
    }
    ByteReader r(covered.bytes);
    if (r.bytes(kMagic.size()) != kMagic) {
        return std::nullopt;
    }
    const auto tree = r.sized();
    if (!tree) {
        return std::nullopt;
    }
    StructureSnapshot snapshot{std::string(*tree), std::string(r.rest())};
    if (!parseStructure(snapshot)) {
        return std::nullopt;
    }
    return snapshot;
}

std::optional<StructureSnapshot> readStructureFile(const std::string& path, Prompter& prompter) {
    const auto bytes = readFileBytes(path, kLargestStructureFile);
    auto snapshot = bytes ? parseStructureFile(*bytes) : std::nullopt;
    if (!snapshot) {
        prompter.message("非分部分项结构文件，无法导入！", Captions::kWarning,
                         MessageFlags::kWarning);
    }
    return snapshot;
}

bool writeStructureFile(const std::string& path, const StructureSnapshot& snapshot,
                        Prompter& prompter) {
    return writeFileTelling(pathFromUtf8(path), buildStructureFile(snapshot), prompter);
}

bool exportStructureAsked(const StructureSnapshot& snapshot, Prompter& prompter) {
    const auto path = prompter.chooseSaveFile("保存分部分项结构", kStructureFileFilter, "gd");
    return path && writeStructureFile(*path, snapshot, prompter);
}

}  // namespace tf

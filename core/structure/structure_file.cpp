#include "core/structure/structure_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "core/base/byte_io.h"
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
    return w.take();
}

std::optional<StructureSnapshot> parseStructureFile(std::string_view bytes) {
    ByteReader r(bytes);
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
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    if (in) {
        in.seekg(0, std::ios::end);
        const auto size = static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0));
        in.seekg(0);
        if (size <= kLargestStructureFile) {
            bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
    }
    auto snapshot = parseStructureFile(bytes);
    if (!snapshot) {
        prompter.message("非分部分项结构文件，无法导入！", Captions::kWarning,
                         MessageFlags::kWarning);
    }
    return snapshot;
}

bool writeStructureFile(const std::string& path, const StructureSnapshot& snapshot,
                        Prompter& prompter) {
    const std::string bytes = buildStructureFile(snapshot);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        prompter.message("保存失败，请重新再试！", Captions::kError, MessageFlags::kError);
        return false;
    }
    return true;
}

}  // namespace tf

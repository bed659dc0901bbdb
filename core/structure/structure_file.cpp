#include "core/structure/structure_file.h"

#include "core/base/byte_io.h"
#include "core/structure/default_structure.h"

namespace tf {
namespace {

constexpr std::string_view kMagic = "TFSTRUCT";

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

}  // namespace tf

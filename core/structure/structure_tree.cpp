#include "core/structure/structure_tree.h"

#include "core/base/byte_io.h"
#include "core/base/text_codec.h"

namespace tf {

bool isWorkItem(const DivisionTree& tree, std::size_t index) {
    return index < tree.size() && tree[index].level > 1 &&
           (index + 1 == tree.size() || tree[index + 1].level <= tree[index].level);
}

std::optional<std::size_t> parentOf(const DivisionTree& tree, std::size_t index) {
    for (std::size_t i = index; i-- > 0;) {
        if (tree[i].level < tree[index].level) {
            return i;
        }
    }
    return std::nullopt;
}

std::string serializeTree(const DivisionTree& tree) {
    ByteWriter w;
    for (const auto& node : tree) {
        w.bytes(toGbk(node.name));
        w.u8(0);
        w.i32(node.image);
        w.i32(node.selectedImage);
        w.i32(node.number);
        w.i32(node.state);
        w.i32(node.level);
    }
    return w.take();
}

std::optional<DivisionTree> parseTree(std::string_view bytes) {
    DivisionTree tree;
    ByteReader r(bytes);
    while (!r.atEnd()) {
        const std::string_view rest = bytes.substr(r.position());
        const std::size_t nul = rest.find('\0');
        if (nul == std::string_view::npos) {
            return std::nullopt;
        }
        DivisionItem node;
        node.name = fromGbk(*r.bytes(nul));
        r.u8();
        const auto image = r.i32();
        const auto selected = r.i32();
        const auto number = r.i32();
        const auto state = r.i32();
        const auto level = r.i32();
        if (!image || !selected || !number || !state || !level) {
            return std::nullopt;
        }
        const std::int32_t previous = tree.empty() ? 0 : tree.back().level;
        if (*level < 1 || *level > previous + 1) {
            return std::nullopt;
        }
        node.image = *image;
        node.selectedImage = *selected;
        node.number = *number;
        node.state = *state;
        node.level = *level;
        tree.push_back(std::move(node));
    }
    return tree;
}

}  // namespace tf

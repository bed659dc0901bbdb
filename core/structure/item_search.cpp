#include "core/structure/item_search.h"

#include "core/base/text_util.h"
#include "core/structure/codes.h"

namespace tf {

std::vector<std::size_t> findWorkItems(const DivisionTree& tree, std::string_view typed,
                                       std::size_t most) {
    const std::string wanted = asciiLower(trimSpaces(typed));
    std::vector<std::size_t> leading;
    std::vector<std::size_t> holding;
    if (wanted.empty()) {
        return leading;
    }
    for (std::size_t node = 0; node < tree.size() && leading.size() < most; ++node) {
        if (!isWorkItem(tree, node)) {
            continue;
        }
        const std::string code = asciiLower(itemCodeOfNode(tree, node));
        if (code.starts_with(wanted)) {
            leading.push_back(node);
        } else if (holding.size() < most &&
                   (code.find(wanted) != std::string::npos ||
                    asciiLower(tree[node].name).find(wanted) != std::string::npos)) {
            holding.push_back(node);
        }
    }
    for (const std::size_t node : holding) {
        if (leading.size() >= most) {
            break;
        }
        leading.push_back(node);
    }
    return leading;
}

}  // namespace tf

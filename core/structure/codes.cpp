#include "core/structure/codes.h"

#include <cmath>
#include <string>

#include "core/base/number_text.h"

namespace tf {
namespace {

// The segment a number adds to a full code: "0n" for 1–9, "n" for 10–99, "0", the first
// digit, "-" and n mod 100 from 101 on; nothing for 0, 100 and negatives.
std::string codePart(std::int32_t m) {
    if (m >= 1 && m <= 9) {
        return "0" + std::to_string(m);
    }
    if (m >= 10 && m <= 99) {
        return std::to_string(m);
    }
    if (m >= 101) {
        return "0" + std::to_string(m).substr(0, 1) + "-" + std::to_string(m % 100);
    }
    return {};
}

std::int32_t truncated(double value) {
    if (!(value > -2147483648.0 && value < 2147483648.0)) {
        return 0;
    }
    return static_cast<std::int32_t>(std::trunc(value));
}

}  // namespace

std::string codeSegment(std::int32_t n) {
    if (n < 10) {
        return "0" + std::to_string(n);
    }
    if (n <= 100) {
        return std::to_string(n);
    }
    return "0" + std::to_string(n / 100) + "-" + std::to_string(n % 100);
}

std::string itemCodeOfNode(const DivisionTree& tree, std::size_t index) {
    if (index >= tree.size()) {
        return {};
    }
    std::string code;
    for (auto parent = parentOf(tree, index); parent; parent = parentOf(tree, *parent)) {
        const std::int32_t m = tree[*parent].number;
        // Ordinary segments go in front; a dashed segment is added at the end.
        if (m >= 101) {
            code += codePart(m);
        } else {
            code.insert(0, codePart(m));
        }
    }
    return code + codePart(tree[index].number);
}

std::int32_t parseCodeNumber(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        return truncated(parseNumber(text));
    }
    return truncated(parseNumber(text.substr(0, dash)) * 100 + parseNumber(text.substr(dash + 1)));
}

std::optional<std::size_t> findItemRowByCode(const ItemTable& items, std::string_view code) {
    for (std::size_t row = 0; row < items.size(); ++row) {
        if (items[row].code == code) {
            return row;
        }
    }
    return std::nullopt;
}

}  // namespace tf

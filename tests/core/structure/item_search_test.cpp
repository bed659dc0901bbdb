#include "core/structure/item_search.h"

#include <gtest/gtest.h>

#include "core/structure/codes.h"
#include "core/structure/default_structure.h"

namespace tf {
namespace {

std::vector<std::string> codesFound(std::string_view typed, std::size_t most = 50) {
    const Structure structure = *parseStructure(defaultStructure());
    std::vector<std::string> codes;
    for (const std::size_t node : findWorkItems(structure.tree, typed, most)) {
        codes.push_back(itemCodeOfNode(structure.tree, node));
    }
    return codes;
}

TEST(FindWorkItems, CodesThatBeginWithTheTextComeFirstThenCodesAndNamesThatHoldIt) {
    EXPECT_EQ(codesFound("030107"), (std::vector<std::string>{"030107"}));
    EXPECT_EQ(codesFound("107"), (std::vector<std::string>{"030107"})) << "part of a code";
    EXPECT_EQ(codesFound(" 0308 "), (std::vector<std::string>{"030801", "030802", "030803"}));
    // "涂饰" names the division 涂饰 too, which is no work item.
    EXPECT_EQ(codesFound("涂饰"), (std::vector<std::string>{"030801", "030802", "030803"}));
    // 030302-2 holds "02-2" in its code; codes beginning with "02" do not exist.
    EXPECT_EQ(codesFound("02-2"), (std::vector<std::string>{"030302-2", "030702-2"}));
    // Beginning before holding: "0301" begins the floor items, "玻璃" is held by names only.
    const auto floor = codesFound("0301");
    ASSERT_FALSE(floor.empty());
    EXPECT_EQ(floor.front(), "030101-1");
    EXPECT_EQ(codesFound("0301", 2), (std::vector<std::string>{"030101-1", "030101-2"}));
    EXPECT_TRUE(codesFound("").empty());
    EXPECT_TRUE(codesFound("没有这种分项").empty());
}

}  // namespace
}  // namespace tf

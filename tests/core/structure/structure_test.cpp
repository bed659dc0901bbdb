#include <gtest/gtest.h>

#include "core/base/text_codec.h"
#include "core/materials/material_catalogue.h"
#include "core/structure/codes.h"
#include "core/structure/default_structure.h"
#include "core/structure/link_table.h"
#include "core/structure/structure_file.h"
#include "core/structure/structure_tree.h"

namespace tf {
namespace {

Structure builtIn() {
    return *parseStructure(defaultStructure());
}

std::size_t indexOf(const DivisionTree& tree, std::string_view name, int occurrence = 1) {
    for (std::size_t i = 0; i < tree.size(); ++i) {
        if (tree[i].name == name && --occurrence == 0) {
            return i;
        }
    }
    ADD_FAILURE() << "no node " << name;
    return 0;
}

TEST(DefaultStructure, TreePartIsExactAndReadsBackByteForByte) {
    const StructureSnapshot snapshot = defaultStructure();
    EXPECT_EQ(snapshot.tree.size(), 2679u);
    const auto tree = parseTree(snapshot.tree);
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->size(), 82u);
    EXPECT_EQ(serializeTree(*tree), snapshot.tree);

    std::string first = toGbk("建筑装饰装修");
    first.push_back('\0');
    for (const std::int32_t v : {0, 0, 3, 2, 1}) {
        for (int i = 0; i < 4; ++i) {
            first.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        }
    }
    EXPECT_EQ(snapshot.tree.substr(0, first.size()), first);
}

TEST(DefaultStructure, NamesAndPricesStandAsListed) {
    const Structure s = builtIn();
    EXPECT_EQ(s.tree[indexOf(s.tree, "饰面板(砖) ")].level, 2);
    EXPECT_EQ(s.tree[indexOf(s.tree, "金属幕墙(主控项目)", 2)].number, 202);
    indexOf(s.tree, "隐框、半隐框玻璃目墙(主控项目)");
    indexOf(s.tree, "石才幕墙(一般项目)");
    const std::size_t wall = indexOf(s.tree, "幕墙");
    EXPECT_EQ(s.items[wall], (ItemRow{}));
    const ItemRow& plaster = s.items[indexOf(s.tree, "一般抹灰")];
    EXPECT_EQ(plaster, (ItemRow{"1.00元/平方米", "0.00元", "0.00元", "030201", "", ""}));
    EXPECT_EQ(s.items[0].code, "");
    EXPECT_EQ(s.tree[0].state, 2);
    EXPECT_EQ(s.tree[1].state, 0);
    EXPECT_EQ(s.tree.back().name, "建筑暖通");
    // Top nodes are divisions even without children; grouping nodes are never work items.
    EXPECT_FALSE(isWorkItem(s.tree, s.tree.size() - 1));
    EXPECT_FALSE(isWorkItem(s.tree, indexOf(s.tree, "建筑电气照明")));
    EXPECT_FALSE(isWorkItem(s.tree, indexOf(s.tree, "地面")));
    EXPECT_FALSE(isWorkItem(s.tree, indexOf(s.tree, "基层")));
    EXPECT_TRUE(isWorkItem(s.tree, indexOf(s.tree, "竹地板面层")));
    EXPECT_TRUE(isWorkItem(s.tree, indexOf(s.tree, "清水砌体勾缝")));
    EXPECT_FALSE(isWorkItem(s.tree, s.tree.size()));
}

TEST(DefaultStructure, EveryWorkItemsCodeIsItsComputedCode) {
    const Structure s = builtIn();
    int workItems = 0;
    for (std::size_t i = 0; i < s.tree.size(); ++i) {
        if (isWorkItem(s.tree, i)) {
            EXPECT_EQ(itemCodeOfNode(s.tree, i), s.items[i].code) << s.tree[i].name;
            ++workItems;
        } else {
            EXPECT_EQ(s.items[i].code, "") << s.tree[i].name;
        }
    }
    EXPECT_EQ(workItems, 63);
}

TEST(Codes, NodeCodes) {
    const Structure s = builtIn();
    EXPECT_EQ(itemCodeOfNode(s.tree, indexOf(s.tree, "木门窗制作")), "030301-1");
    EXPECT_EQ(itemCodeOfNode(s.tree, indexOf(s.tree, "填充层")), "030101-10");
    EXPECT_EQ(itemCodeOfNode(s.tree, indexOf(s.tree, "基土垫层")), "030101-1");
    EXPECT_EQ(itemCodeOfNode(s.tree, indexOf(s.tree, "竹地板面层")), "030117");
    EXPECT_EQ(itemCodeOfNode(s.tree, indexOf(s.tree, "抹灰")), "0302");
    EXPECT_EQ(itemCodeOfNode(s.tree, indexOf(s.tree, "建筑暖通")), "05");
    EXPECT_EQ(itemCodeOfNode(s.tree, 999), "");
    // A dashed ancestor adds its segment at the end.
    const DivisionTree dashed = {
        {"a", 3, 1, 0, 0, 0}, {"b", 102, 2, 0, 0, 0}, {"c", 5, 3, 0, 0, 0}};
    EXPECT_EQ(itemCodeOfNode(dashed, 2), "0301-205");
    const DivisionTree zeros = {
        {"a", 0, 1, 0, 0, 0}, {"b", 100, 2, 0, 0, 0}, {"c", -4, 3, 0, 0, 0}};
    EXPECT_EQ(itemCodeOfNode(zeros, 2), "");
}

TEST(Codes, SegmentsAndTypedNumbers) {
    EXPECT_EQ(codeSegment(7), "07");
    EXPECT_EQ(codeSegment(0), "00");
    EXPECT_EQ(codeSegment(10), "10");
    EXPECT_EQ(codeSegment(100), "100");
    EXPECT_EQ(codeSegment(101), "01-1");
    EXPECT_EQ(codeSegment(203), "02-3");
    EXPECT_EQ(codeSegment(110), "01-10");
    EXPECT_EQ(parseCodeNumber("01-10"), 110);
    EXPECT_EQ(parseCodeNumber("01-5"), 105);
    EXPECT_EQ(parseCodeNumber("2-3"), 203);
    EXPECT_EQ(parseCodeNumber("05"), 5);
    EXPECT_EQ(parseCodeNumber(""), 0);
    EXPECT_EQ(parseCodeNumber("abc"), 0);
    EXPECT_EQ(parseCodeNumber("99999999999"), 0);
}

TEST(Codes, FindItemRowTakesTheUpperOfEqualCodes) {
    const Structure s = builtIn();
    EXPECT_EQ(findItemRowByCode(s.items, "030702-2"), indexOf(s.tree, "金属幕墙(主控项目)", 2));
    ItemTable twice = s.items;
    twice[1].code = "030201";  // above "一般抹灰", which has it too
    EXPECT_EQ(findItemRowByCode(twice, "030201"), 1u);
    EXPECT_FALSE(findItemRowByCode(s.items, "0302"));
}

TEST(ItemTable, RestoresEveryCellAndKeepsEmptyCellsEmpty) {
    Grid process = makeLinkTable();
    process.setText(1, LinkColumn::kLinked, "1");
    process.setText(1, LinkColumn::kName, "水泥砂浆");
    process.setText(1, LinkColumn::kUsage, "0.0125");
    ItemTable table = {{"1.00元/平方米", "0.00元", "", "030201", process.save(), ""},
                       {"", "", "", "", "", std::string("\0\x01\xFF", 3)}};
    const auto back = parseItemTable(serializeItemTable(table));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, table);
    Grid restored;
    ASSERT_TRUE(restored.load((*back)[0].currentProcess));
    EXPECT_EQ(restored, process);
    EXPECT_TRUE((*back)[1].currentProcess.empty());
}

TEST(LinkTable, FreshTableHasTitlesKindsAndAHiddenId) {
    const Grid g = makeLinkTable();
    EXPECT_EQ(g.rowCount(), 14);
    EXPECT_EQ(g.columnCount(), 7);
    EXPECT_EQ(g.text(0, 0), "№");
    EXPECT_EQ(g.text(0, 6), "关联号");
    EXPECT_EQ(g.column(1).kind, ColumnKind::CheckBox);
    EXPECT_EQ(g.column(3).kind, ColumnKind::Number);
    EXPECT_EQ(g.column(3).decimals, 4);
    EXPECT_EQ(g.column(6).width, 0);
    EXPECT_EQ(g.text(13, 0), "13");
}

TEST(Structure, MalformedPartsAreRefused) {
    const StructureSnapshot good = defaultStructure();
    for (std::size_t cut : {std::size_t{1}, std::size_t{19}, good.tree.size() - 1}) {
        EXPECT_FALSE(parseTree(good.tree.substr(0, cut))) << cut;
    }
    EXPECT_TRUE(parseTree(""));  // an empty structure is a structure
    std::string badLevel = good.tree;
    badLevel[toGbk("建筑装饰装修").size() + 1 + 16] = 3;  // first node at level 3
    EXPECT_FALSE(parseTree(badLevel));
    EXPECT_FALSE(parseItemTable(""));
    EXPECT_FALSE(parseItemTable(good.items.substr(0, good.items.size() - 1)));
    std::string flipped = good.items;
    flipped[20] ^= 1;
    EXPECT_FALSE(parseItemTable(flipped));
    // One item row per node, or it is no structure.
    Structure s = builtIn();
    s.items.pop_back();
    EXPECT_FALSE(parseStructure(serializeStructure(s)));
}

TEST(StructureFile, RoundTripsAndRefusesOtherFiles) {
    const StructureSnapshot snapshot = defaultStructure();
    const std::string file = buildStructureFile(snapshot);
    EXPECT_EQ(file.substr(0, 8), "TFSTRUCT");
    EXPECT_EQ(parseStructureFile(file), snapshot);
    EXPECT_FALSE(parseStructureFile("Brix BOQ 2009"));
    EXPECT_FALSE(parseStructureFile(file.substr(0, file.size() - 2)));
    EXPECT_FALSE(parseStructureFile(""));

    // A changed byte in a node's name is caught by the integrity record at the end; a file
    // from before the record reads unchecked.
    std::string renamed = file;
    renamed[8 + 4] ^= 0x01;  // the first byte of "建筑装饰装修"
    EXPECT_FALSE(parseStructureFile(renamed));
    EXPECT_EQ(file.substr(file.size() - 12, 8), "TFCHECK1");
    const std::string older = file.substr(0, file.size() - 12);
    EXPECT_EQ(parseStructureFile(older), snapshot);
    EXPECT_TRUE(parseStructureFile(renamed.substr(0, renamed.size() - 12)));
}

TEST(ValidateLink, IdMustNameAnEntryOfTheSameName) {
    MaterialCatalogue catalogue;
    const int first = catalogue.addCategory("水泥");
    const int second = catalogue.addCategory("PVC");
    EXPECT_EQ(catalogue.addMaterial(first, {"普通硅酸盐水泥", "", "吨", 420, ""}), 1001);
    EXPECT_EQ(catalogue.findCategory("pvc"), second);
    for (int i = 1; i <= 4; ++i) {
        catalogue.addMaterial(second, {"管" + std::to_string(i), "", "米", 3, ""});
    }
    MaterialLink link;
    link.materialId = 2005;
    link.materialName = "管5";
    EXPECT_FALSE(validateLink(link, catalogue));  // category 2 has 4 entries
    catalogue.addMaterial(second, {"管五", "", "米", 3, ""});
    EXPECT_FALSE(validateLink(link, catalogue));  // entry 5 has another name
    link.materialName = "  管五 ";
    EXPECT_TRUE(validateLink(link, catalogue));
    for (const std::int32_t id : {0, 999, 1000, 3001, -1001, 1002}) {
        link.materialId = id;
        EXPECT_FALSE(validateLink(link, catalogue)) << id;
    }
}

}  // namespace
}  // namespace tf

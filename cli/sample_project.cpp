#include "cli/sample_project.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/analysis/location_index.h"
#include "core/base/number_text.h"
#include "core/entry/entry_form.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/project/project_io.h"
#include "core/structure/item_table.h"
#include "core/structure/link_table.h"

namespace tf::cli {
namespace {

struct SampleMaterial {
    const char* category;
    const char* name;
    const char* spec;
    const char* unit;
    const char* price;
};

constexpr SampleMaterial kMaterials[] = {
    {"水泥砂浆", "普通硅酸盐水泥", "P.O 42.5", "吨", "460"},
    {"水泥砂浆", "中砂", "", "立方米", "135"},
    {"水泥砂浆", "水泥砂浆1:3", "", "立方米", "320"},
    {"水泥砂浆", "水泥砂浆1:2.5", "", "立方米", "345"},
    {"水泥砂浆", "界面剂", "", "千克", "3.2"},
    {"水泥砂浆", "素水泥浆", "", "立方米", "520"},
    {"水泥砂浆", "抹灰石膏", "", "千克", "1.6"},
    {"水泥砂浆", "耐水腻子", "", "千克", "2.4"},
    {"瓷砖石材", "抛光砖", "800×800", "平方米", "85"},
    {"瓷砖石材", "仿古砖", "600×600", "平方米", "68"},
    {"瓷砖石材", "釉面墙砖", "300×600", "平方米", "56"},
    {"瓷砖石材", "花岗岩板", "20厚", "平方米", "210"},
    {"瓷砖石材", "大理石板", "20厚", "平方米", "380"},
    {"瓷砖石材", "瓷砖胶", "", "千克", "4.5"},
    {"瓷砖石材", "填缝剂", "", "千克", "6.8"},
    {"木材板材", "细木工板", "18厚", "张", "165"},
    {"木材板材", "九厘板", "9厚", "张", "78"},
    {"木材板材", "实木地板", "910×125", "平方米", "280"},
    {"木材板材", "强化复合地板", "1215×195", "平方米", "96"},
    {"木材板材", "木龙骨", "30×40", "米", "4.2"},
    {"木材板材", "饰面板", "3厚", "张", "62"},
    {"木材板材", "地板防潮膜", "", "平方米", "2.5"},
    {"轻钢龙骨", "U型主龙骨", "UC50", "米", "6.5"},
    {"轻钢龙骨", "覆面龙骨", "UC38", "米", "4.8"},
    {"轻钢龙骨", "纸面石膏板", "9.5厚", "张", "32"},
    {"轻钢龙骨", "防水石膏板", "9.5厚", "张", "45"},
    {"轻钢龙骨", "竖龙骨", "C75", "米", "7.2"},
    {"轻钢龙骨", "吊杆", "Φ8", "根", "3.5"},
    {"轻钢龙骨", "自攻螺钉", "", "盒", "12"},
    {"涂料", "内墙乳胶漆", "", "千克", "18"},
    {"涂料", "外墙涂料", "", "千克", "26"},
    {"涂料", "封闭底漆", "", "千克", "15"},
    {"涂料", "防水涂料", "JS", "千克", "12.5"},
    {"涂料", "木器漆", "", "千克", "42"},
    {"涂料", "真石漆", "", "千克", "9.8"},
    {"涂料", "腻子粉", "", "千克", "1.2"},
    {"门窗五金", "实木复合门", "900×2100", "樘", "1250"},
    {"门窗五金", "铝合金窗", "断桥", "平方米", "520"},
    {"门窗五金", "塑钢窗", "", "平方米", "320"},
    {"门窗五金", "中空玻璃", "5+9A+5", "平方米", "145"},
    {"门窗五金", "门锁", "", "把", "180"},
    {"门窗五金", "合页", "", "副", "25"},
    {"门窗五金", "密封胶", "", "支", "18"},
    {"门窗五金", "门套线", "", "米", "38"},
    {"防水保温", "SBS防水卷材", "3厚", "平方米", "32"},
    {"防水保温", "聚氨酯防水涂料", "", "千克", "22"},
    {"防水保温", "挤塑板", "30厚", "平方米", "28"},
    {"防水保温", "岩棉板", "50厚", "平方米", "36"},
    {"防水保温", "保温砂浆", "", "立方米", "420"},
    {"防水保温", "耐碱网格布", "", "平方米", "3.8"},
    {"防水保温", "抗裂砂浆", "", "千克", "1.9"},
    {"玻璃金属", "钢化玻璃", "10厚", "平方米", "168"},
    {"玻璃金属", "不锈钢扶手", "Φ50", "米", "120"},
    {"玻璃金属", "铝单板", "2.5厚", "平方米", "280"},
    {"玻璃金属", "镀锌角钢", "L50×5", "米", "22"},
    {"玻璃金属", "膨胀螺栓", "M10", "套", "1.8"},
    {"玻璃金属", "结构胶", "", "支", "35"},
    {"玻璃金属", "玻璃地弹簧", "", "个", "260"},
    {"玻璃金属", "拉丝不锈钢板", "1.2厚", "平方米", "310"},
    {"玻璃金属", "铝合金踢脚线", "", "米", "16"},
};

struct SampleProcess {
    const char* code;
    std::vector<std::pair<int, const char*>> links;  // material (index above), unit usage
    const char* count = nullptr;  // counted items (doors, windows) take this size, not areas
};

const std::vector<SampleProcess>& processes() {
    static const std::vector<SampleProcess> list = {
        {"030201", {{2, "0.023"}, {4, "0.25"}, {7, "1.2"}}},
        {"030202", {{3, "0.025"}, {5, "0.002"}}},
        {"030203", {{2, "0.005"}}},
        {"030301-2", {{36, "1"}, {40, "1"}, {41, "3"}}, "1+1"},
        {"030302-2", {{37, "1"}, {39, "1"}, {42, "1.5"}}, "1.5*1.8"},
        {"030303", {{38, "1"}, {42, "1.2"}}, "1.2*1.5"},
        {"030401", {{22, "1.2"}, {23, "2.8"}, {24, "0.36"}, {27, "1.5"}}},
        {"030402", {{22, "1.1"}, {23, "2.4"}, {25, "0.36"}}},
        {"030501", {{24, "0.72"}, {28, "0.05"}}},
        {"030502", {{26, "2.5"}, {24, "0.72"}, {47, "1.05"}}},
        {"030601", {{11, "1.02"}, {54, "2.2"}, {55, "4"}}},
        {"030602", {{10, "1.03"}, {13, "4.5"}, {14, "0.3"}}},
        {"030801", {{29, "0.35"}, {31, "0.12"}, {35, "1.5"}}},
        {"030802", {{33, "0.3"}, {31, "0.1"}}},
        {"030803", {{34, "2.8"}}},
        {"031003", {{15, "0.15"}, {20, "0.12"}, {43, "2.1"}}},
        {"031004", {{52, "1"}, {55, "2"}}, "3.6+1.2"},
        {"030107", {{8, "1.02"}, {2, "0.03"}, {14, "0.25"}}},
        {"030114", {{17, "1.05"}, {19, "3.5"}, {21, "1.1"}}},
        {"030116", {{18, "1.05"}, {21, "1.1"}, {59, "0.4"}}},
    };
    return list;
}

constexpr const char* kRooms[] = {"客厅", "餐厅",   "主卧", "次卧", "书房",
                                  "厨房", "卫生间", "阳台", "走廊", "楼梯间"};
constexpr const char* kSizes[] = {"3.6*4.2", "4.2*5.1", "3.3*3.9", "2.7*3.0",
                                  "6.0*4.5", "3.9*4.8", "2.4*1.8", "5.4*3.6"};

// A small linear congruential generator: the same sample every time, on every platform.
class Sequence {
  public:
    std::uint32_t next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

  private:
    std::uint32_t state_ = 20091;
};

void fillMaterials(ProjectDocument& document) {
    using namespace MaterialColumn;
    Grid& g = document.materials;
    const int count = static_cast<int>(std::size(kMaterials));
    g.setRowCount(count + 1);
    for (int i = 0; i < count; ++i) {
        const SampleMaterial& m = kMaterials[i];
        const int r = i + 1;
        styleMaterialRow(g, r, false);
        g.setText(r, kCategory, m.category);
        g.setText(r, kName, m.name);
        g.setText(r, kSpec, m.spec);
        g.setText(r, kUnit, m.unit);
        g.setText(r, kPrice, m.price);
    }
    rebuildCatalogue(document);
    document.locations = rebuildLocationIndex(document.analysis);
}

void fillProcesses(ProjectDocument& document) {
    Structure structure = *parseStructure(document.structure);
    for (const SampleProcess& process : processes()) {
        Grid links = makeLinkTable();
        int row = 1;
        for (const auto& [material, usage] : process.links) {
            const auto id = static_cast<std::int32_t>(
                std::stoi(std::string(document.materials.text(material + 1, MaterialColumn::kId))));
            links.setText(row, LinkColumn::kLinked, "1");
            links.setText(row, LinkColumn::kName, kMaterials[material].name);
            links.setText(row, LinkColumn::kUsage, usage);
            links.setText(row, LinkColumn::kUnit, kMaterials[material].unit);
            links.setText(row, LinkColumn::kMaterialId, std::to_string(id));
            ++row;
        }
        for (auto& item : structure.items) {
            if (item.code == process.code) {
                item.currentProcess = links.save();
                item.defaultProcess = item.currentProcess;
                item.labourPrice = "18.50元/平方米";
                item.machineryFee = "1.20元";
                item.managementFee = "2.50元";
            }
        }
    }
    document.structure = serializeStructure(structure);
}

std::size_t nodeOfCode(const Structure& s, std::string_view code) {
    for (std::size_t i = 0; i < s.items.size(); ++i) {
        if (s.items[i].code == code) {
            return i;
        }
    }
    return 0;
}

}  // namespace

void buildSampleProject(ProjectDocument& document, int locations) {
    resetProject(document);
    SilentPrompter quiet;  // the reminders of the entry form are for people at the dialog
    fillMaterials(document);
    fillProcesses(document);
    EntryForm form(document, quiet);
    form.open();
    Sequence random;
    const auto& list = processes();
    for (int l = 0; l < locations; ++l) {
        form.clear();
        const int floor = l / 10 + 1;
        form.location = std::to_string(floor) + "层" + kRooms[l % 10];
        form.drawing = "建施-" + std::to_string(10 + floor % 20);
        const std::string size = kSizes[random.below(static_cast<int>(std::size(kSizes)))];
        form.structureSize = withTimesSigns(size + "*2.8");
        form.autoCalculate = true;
        int row = 1;
        const int items = 2 + random.below(3);
        std::vector<std::size_t> used;
        for (int i = 0; i < items; ++i) {
            // A location records a work item once: a code drawn again gives way to the next.
            auto pick = static_cast<std::size_t>(random.below(static_cast<int>(list.size())));
            while (std::find(used.begin(), used.end(), pick) != used.end()) {
                pick = (pick + 1) % list.size();
            }
            used.push_back(pick);
            const SampleProcess& process = list[pick];
            Grid& g = form.grid();
            while (g.rowCount() - row < 6) {
                form.addRow(g.rowCount() - 1);
            }
            const std::string expression = process.count != nullptr ? process.count
                                           : i % 2 == 0             ? size
                                                                    : "(" + size + ")*2.8-0.9*2.1";
            g.setText(row, EntryColumn::kItemSize, expression);
            form.commitEdit(row, EntryColumn::kItemSize);
            form.useProcess = true;
            form.pickWorkItem(row, nodeOfCode(form.workingStructure(), process.code));
            // The process filled its rows from `row` on; the quantity reaches them all.
            form.propagateQuantity(row);
            row += static_cast<int>(process.links.size());
        }
        form.confirm();
    }
    document.modified = true;
}

}  // namespace tf::cli

#include "core/shell/commands.h"

namespace tf {
namespace {

MenuItem item(std::string_view caption, Command command, std::string_view keyText = {}) {
    return {false, caption, keyText, command};
}

MenuItem separator() {
    return {true, "-", {}, Command::ProjectWizard};
}

}  // namespace

const std::vector<MenuItem>& menuItems(Menu menu) {
    using C = Command;
    static const std::vector<MenuItem> file = {item("工程向导", C::ProjectWizard),
                                               separator(),
                                               item("新建", C::NewProject, "Ctrl+N"),
                                               item("打开", C::OpenProject, "Ctrl+O"),
                                               separator(),
                                               item("保存", C::SaveProject, "Ctrl+S"),
                                               item("另存为", C::SaveProjectAs),
                                               separator(),
                                               item("工程对比…", C::CompareProjects),
                                               item("保存版本…", C::SaveVersion),
                                               item("版本…", C::ShowVersions),
                                               separator(),
                                               item("自动保存设置", C::AutoSaveSettings),
                                               separator(),
                                               item("打印", C::Print, "Ctrl+P"),
                                               separator(),
                                               item("退出", C::Exit)};
    static const std::vector<MenuItem> edit = {item("分部分项表设置", C::StructureSettings),
                                               separator(),
                                               item("表达式计算器", C::Calculator, "F4"),
                                               separator(),
                                               item("刷新", C::Refresh, "F5"),
                                               separator(),
                                               item("撤销", C::Undo, "Ctrl+Z"),
                                               item("重做", C::Redo, "Ctrl+Y")};
    static const std::vector<MenuItem> help = {item("帮助主题", C::HelpTopics, "F1"), separator(),
                                               item("检查更新...", C::CheckForUpdates),
                                               item("关于(&A)...", C::About)};
    static const std::vector<MenuItem> analysis = {
        item("添加新数据   (空格键)", C::AddEntry),
        item("插入部位      Ins", C::InsertEntry),
        item("修改          F3", C::ModifyEntry),
        separator(),
        item("删除一组      Ctrl+Del", C::DeleteLocation),
        separator(),
        item("统计数据      F2", C::BuildStatistics),
        separator(),
        item("查看附加资料  F6", C::ViewAttachments),
        item("查看单元格内容", C::ViewCellContent),
        separator(),
        item(kExportExcelCaption, C::ExportExcel),
        item(kExportAllExcelCaption, C::ExportAllExcel)};
    static const std::vector<MenuItem> statistics = {
        item("合计所有行", C::SumAllRows),
        item("连续类加", C::SumSelectedRows),
        separator(),
        item("删除统计行", C::DeleteStatisticRow),
        separator(),
        item("查找明细      Ctrl+双击", C::FindDetails),
        item("导出数据", C::ExportStatistics),
        separator(),
        item(kExportExcelCaption, C::ExportExcel),
        item(kExportAllExcelCaption, C::ExportAllExcel)};
    // The material table renames three of its items when it is set up.
    static const std::vector<MenuItem> material = {
        item("添加一行", C::AddMaterialRow, "Insert"),
        item("删除一行    Ctrl+Del", C::DeleteMaterialRow),
        separator(),
        item("导入数据", C::ImportMaterials),
        item("导出数据", C::ExportMaterials),
        separator(),
        item("从价格库取价…", C::RepriceFromLibrary),
        item("价格库…", C::BrowseLibrary),
        item("保存到价格库", C::SavePricesToLibrary),
        separator(),
        item("查找", C::FindMaterial),
        item("查找下一个", C::FindNextMaterial, "Ctrl+G"),
        item("查找上一个", C::FindPreviousMaterial, "Ctrl+Shift+G"),
        separator(),
        item("材料关联", C::MaterialLinks, "F8"),
        separator(),
        item(kExportExcelCaption, C::ExportExcel),
        item(kExportAllExcelCaption, C::ExportAllExcel)};
    static const std::vector<MenuItem> entry = {item("添加一行      Ins", C::EntryAddRow),
                                                item("删除行        Ctrl+Del", C::EntryDeleteRow),
                                                item("查看材料单位用量", C::ShowUnitUsage),
                                                item("设置单位用量(本窗口有效)", C::SetUnitUsage)};
    switch (menu) {
        case Menu::Entry:
            return entry;
        case Menu::File:
            return file;
        case Menu::Edit:
            return edit;
        case Menu::Help:
            return help;
        case Menu::Analysis:
            return analysis;
        case Menu::Statistics:
            return statistics;
        case Menu::Material:
            return material;
    }
    return file;
}

std::string actionName(Command command) {
    for (const Menu menu :
         {Menu::File, Menu::Edit, Menu::Analysis, Menu::Statistics, Menu::Material, Menu::Entry}) {
        for (const MenuItem& item : menuItems(menu)) {
            if (!item.separator && item.command == command) {
                return std::string(item.caption.substr(0, item.caption.find(' ')));
            }
        }
    }
    return {};
}

std::string undoCaption(std::string_view step) {
    return step.empty() ? "撤销" : "撤销 " + std::string(step);
}

std::string redoCaption(std::string_view step) {
    return step.empty() ? "重做" : "重做 " + std::string(step);
}

std::string_view commandTip(Command command) {
    switch (command) {
        case Command::ProjectWizard:
            return "显示工程向导页";
        case Command::NewProject:
            return "建立一个空白工程";
        case Command::OpenProject:
            return "打开已有的工程文件（.gdb）";
        case Command::SaveProject:
            return "保存当前工程";
        case Command::SaveProjectAs:
            return "把当前工程保存为另一个文件";
        case Command::AutoSaveSettings:
            return "设置是否以及多久自动保存一次";
        case Command::Print:
            return "把当前表格复制到打印窗口，编辑、预览、打印或保存为 PDF";
        case Command::Exit:
            return "退出程序";
        case Command::StructureSettings:
            return "编辑分部分项结构、单价和分项工艺";
        case Command::Calculator:
            return "打开表达式计算器";
        case Command::Refresh:
            return "重新显示当前表格";
        case Command::HelpTopics:
            return "打开用户手册";
        case Command::CheckForUpdates:
            return "检查并安装程序的更新";
        case Command::About:
            return "显示版本、构建日期和网站";
        case Command::AddEntry:
            return "在分析表末尾录入一个新部位";
        case Command::InsertEntry:
            return "在当前部位之前插入一个新部位，后面各部位的序号依次加一";
        case Command::ModifyEntry:
            return "修改当前部位的录入数据";
        case Command::DeleteLocation:
            return "删除当前部位的全部行";
        case Command::BuildStatistics:
            return "按分析表重新统计";
        case Command::ViewAttachments:
            return "查看当前部位的附加资料";
        case Command::ViewCellContent:
            return "在单独的窗口中显示当前单元格的全部内容";
        case Command::SumAllRows:
            return "在统计表末尾添加所有行的合计";
        case Command::SumSelectedRows:
            return "为选中的连续几行添加小计";
        case Command::DeleteStatisticRow:
            return "删除当前的合计行";
        case Command::FindDetails:
            return "在分析表中标出这种材料所在的行";
        case Command::ExportStatistics:
            return "把统计结果导出为文本文件";
        case Command::ExportExcel:
            return "把这个表格导出为 Excel 工作簿";
        case Command::ExportAllExcel:
            return "把所有表格导出为一个 Excel 工作簿，每表一页";
        case Command::CompareProjects:
            return "把另一个工程与当前工程对比：数量、材料和费用的变化";
        case Command::SaveVersion:
            return "把当前工程保存为一个带标签的版本";
        case Command::ShowVersions:
            return "查看、对比和恢复保存的版本";
        case Command::Undo:
            return "撤销上一步操作";
        case Command::Redo:
            return "重做撤销的操作";
        case Command::AddMaterialRow:
            return "在材料表中添加一行";
        case Command::DeleteMaterialRow:
            return "删除材料表的当前行";
        case Command::ImportMaterials:
            return "从文本文件或 Excel 工作簿导入材料和单价";
        case Command::ExportMaterials:
            return "把材料表导出为文本文件";
        case Command::RepriceFromLibrary:
            return "按某一天价格库中的价格更新材料表的单价";
        case Command::BrowseLibrary:
            return "查看和查找价格库中的材料及其价格历史";
        case Command::SavePricesToLibrary:
            return "把材料表的单价存入价格库";
        case Command::FindMaterial:
            return "按材料名称查找并标出材料";
        case Command::FindNextMaterial:
            return "光标移到下一个查找到的材料";
        case Command::FindPreviousMaterial:
            return "光标移到上一个查找到的材料";
        case Command::MaterialLinks:
            return "为分项关联所用材料及其单位用量";
        case Command::EntryAddRow:
            return "在当前行下面添加一行";
        case Command::EntryDeleteRow:
            return "删除当前行";
        case Command::ShowUnitUsage:
            return "显示这一行材料的单位用量";
        case Command::SetUnitUsage:
            return "修改这一行材料的单位用量，只在本窗口有效";
    }
    return {};
}

std::string_view menuTitle(Menu menu) {
    switch (menu) {
        case Menu::File:
            return "文件";
        case Menu::Edit:
            return "编辑";
        case Menu::Help:
            return "帮助";
        case Menu::Analysis:
            return "分析";
        case Menu::Statistics:
            return "统计";
        case Menu::Material:
            return "材料";
        case Menu::Entry:
            return "录入";
    }
    return {};
}

}  // namespace tf

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tf {

// Every command the main window offers; menus, keys and buttons all reach one of these.
enum class Command {
    ProjectWizard,
    NewProject,
    OpenProject,
    SaveProject,
    SaveProjectAs,
    CompareProjects,
    SaveVersion,
    ShowVersions,
    AutoSaveSettings,
    Print,
    Exit,
    StructureSettings,
    Calculator,
    Refresh,
    HelpTopics,
    CheckForUpdates,
    About,
    AddEntry,
    InsertEntry,
    ModifyEntry,
    DeleteLocation,
    BuildStatistics,
    ViewAttachments,
    ViewCellContent,
    SumAllRows,
    SumSelectedRows,
    DeleteStatisticRow,
    FindDetails,
    ExportStatistics,
    ExportExcel,     // the table the pop-up opened on, as a workbook
    ExportAllExcel,  // every table, one sheet each
    Undo,
    Redo,
    AddMaterialRow,
    DeleteMaterialRow,
    ImportMaterials,
    ExportMaterials,
    RepriceFromLibrary,
    BrowseLibrary,
    SavePricesToLibrary,
    FindMaterial,
    FindNextMaterial,
    FindPreviousMaterial,
    MaterialLinks,
    EntryAddRow,
    EntryDeleteRow,
    ShowUnitUsage,
    SetUnitUsage,
};

// One line of a popup menu: a command with its caption and accelerator text, or a
// separator.
struct MenuItem {
    bool separator = false;
    std::string_view caption;
    std::string_view keyText;
    Command command = Command::ProjectWizard;
};

inline constexpr std::string_view kExportExcelCaption = "导出为Excel…";
inline constexpr std::string_view kExportAllExcelCaption = "导出全部为Excel…";

enum class Menu { File, Edit, Help, Analysis, Statistics, Material, Entry };

const std::vector<MenuItem>& menuItems(Menu menu);

// What a command is called as a step of the undo history: its caption without the key that
// follows it ("删除一组      Ctrl+Del" is "删除一组").
std::string actionName(Command command);

// "撤销 录入数据", "重做 录入数据": the entries of 编辑 and the status bar after the key, naming
// the step when there is one.
std::string undoCaption(std::string_view step);
std::string redoCaption(std::string_view step);

// What a command does, in a line: the status bar shows it while the menu entry is under the
// pointer.
std::string_view commandTip(Command command);

// The menu button or table caption of each menu.
std::string_view menuTitle(Menu menu);

}  // namespace tf

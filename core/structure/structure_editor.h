#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/prompter.h"
#include "core/grid/grid.h"
#include "core/project/project_document.h"
#include "core/structure/default_structure.h"

namespace tf {

// The code panel of the editor for the current node.
struct CodePanel {
    std::string division;     // 分部工程：
    std::string subdivision;  // 子分部工程：
    std::string item;         // 分项工程：
    std::string code;         // 编号：
    std::string label;        // the full code of a work item, else the prompt
};

inline constexpr std::string_view kLinkPrompt = "先选择分项，在关联材料。";
inline constexpr std::string_view kNewItemLabourPrice = "1.00/平方米";

// The structure editor "编辑分部分项结构" as a model: a working copy of the project's
// structure, the boxes of the item page, the code panel and the two link grids of the links
// page. Nothing reaches the project before commit().
class StructureEditor {
  public:
    StructureEditor(ProjectDocument& document, Prompter& prompter);

    const Structure& structure() const { return working_; }
    std::optional<std::size_t> current() const { return current_; }
    // The item-table row whose current process the link grid shows.
    std::optional<std::size_t> owner() const { return owner_; }

    // The item page's boxes as the window shows them.
    std::string name;
    std::string code;
    std::string labourPrice;
    std::string machinery;
    std::string management;
    bool pricesEnabled = false;
    CodePanel panel;

    // showNode: the boxes, the code panel and the links of a node; nothing for an index
    // outside the list.
    void select(std::optional<std::size_t> node);

    // Box edits, each on every change of the text.
    void editName(std::string_view text);
    // Only "1234567890-" count; the number is stored as typed.
    void editCode(std::string_view text);
    // When the box is left: a code that reads as 0 is replaced by the node's list position
    // (told first) where a node must have one.
    void finishCode();
    enum class Price { Labour, Machinery, Management };
    void editPrice(Price price, std::string_view text);

    // Structure buttons.
    void addSibling();      // 加项目(&A)
    void addChild();        // 加子项(&F)
    void insertBefore();    // 插入项目(&I): a sibling before the current node
    bool deleteCurrent();   // 删除项目(&D): the node with its subtree, asked first
    bool resetToDefault();  // 系统默认结构, asked first
    bool importFile();      // 导入结构
    bool exportFile();      // 导出结构
    // 确 定(&O): into the project; false (told) for an empty structure.
    bool commit();

    // The links page.
    Grid& currentProcess() { return currentProcess_; }
    Grid& defaultProcess() { return defaultProcess_; }
    // Activating a node: true when it is a work item whose links are now shown.
    bool activate(std::size_t node);
    // After an edit of a cell of the current-process grid was stored in it.
    void linkCellEdited(int row, int column);
    // Delete in a cell of the current-process grid.
    void deleteInLinkCell(int row, int column);
    void appendLinkRow();
    void deleteLinkRow(int row);
    // Links row `row` to material `id` of the catalogue: name, unit, reference, tick.
    bool linkMaterial(int row, std::int32_t id);
    // The material table row showing the material a ticked link row refers to.
    std::optional<int> materialRowOfLink(int row) const;
    bool saveDefaultProcess();
    bool applyDefaultProcess();

  private:
    void showCodePanel();
    void loadLinks();
    void storeLinks();
    void freshLinkGrids();
    void greyDefaultProcess();
    std::size_t insertNode(std::size_t at, std::int32_t level);
    bool isItem(std::size_t node) const;

    ProjectDocument& document_;
    Prompter& prompter_;
    Structure working_;
    std::optional<std::size_t> current_;
    std::optional<std::size_t> owner_;
    Grid currentProcess_;
    Grid defaultProcess_;
};

// The data row of a grid under a point `contentY` pixels below the top of its first data row,
// the scroll position included (what is scrolled away plus the point's height in the view);
// rows are `rowHeight` high. Nothing above the data or past the last row.
std::optional<int> gridRowAt(int contentY, int firstDataRow, int rowHeight, int rowCount);

// The window's opacities, out of 255, while it fades out for a pick: 17 steps down by 15
// from full (255) to 0.
std::vector<int> pickFadeOpacities();

}  // namespace tf

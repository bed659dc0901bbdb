#pragma once

#include <QDialog>
#include <functional>

#include "core/entry/entry_form.h"
#include "core/shell/app_settings.h"
#include "core/undo/grid_history.h"
#include "core/undo/undo_history.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace tf::gui {

class GridView;

// The modeless data-entry dialog: it shows an EntryForm and forwards every gesture to it.
class EntryDialog : public QDialog {
    Q_OBJECT
  public:
    EntryDialog(ProjectDocument& document, Prompter& prompter, AppSettings& settings,
                QWidget* parent);

    EntryForm& form() { return form_; }
    GridView& grid() { return *grid_; }
    // Opens in add mode, or in modify mode for location k.
    void openForAdd();
    void openForModify(int k);
    // "插入部位": a new location that goes before location k.
    void openForInsert(int k);
    void confirm();
    // Runs each confirmation as one step the project can take back.
    void setActionScope(ActionScope scope) { scope_ = std::move(scope); }
    void clearForm();
    void openWorkItemPicker(int row);
    // What was typed on a 分项代号 cell: the work items matching it, to pick from.
    void openWorkItemFinder(int row, const QString& typed);
    void openMaterialPicker(int row);

  signals:
    void written();  // rows went into 分析表
    void cleared();  // "清空(&E)": ready for a new location
    void wantAnalysisPage();
    void attachmentsWanted();  // "为部位附加资料"
    // The form holds another location now (or none): its attachments changed with it.
    void formLoaded();

  private:
    void showForm();
    void readBoxes();
    bool handleKey(QKeyEvent* event);
    // Ctrl+V: the clipboard's block at the cursor, one step for Ctrl+Z.
    void pasteBlock();
    void popupMenu(const QPoint& globalPos, int row);
    // Fills the row from the work item, then moves on to what is typed next.
    void pickWorkItem(int row, std::size_t node);
    // The first row below `row`'s work item with neither code nor size; added when none.
    int nextFreeRow(int row);
    void moveTo(CellPos cell);
    // Where a picker for a cell opens: below it, in screen coordinates.
    QPoint belowCell(int row, int column);

    ProjectDocument& document_;
    Prompter& prompter_;
    AppSettings& settings_;
    EntryForm form_;
    // Ctrl+Z in the entry grid: its own edits, until another location is loaded.
    GridHistory<> gridHistory_{form_.grid()};
    QLabel* heading_ = nullptr;
    QLineEdit* location_ = nullptr;
    QLineEdit* drawing_ = nullptr;
    QLineEdit* structureSize_ = nullptr;
    GridView* grid_ = nullptr;
    QCheckBox* autoCalculate_ = nullptr;
    QCheckBox* useProcess_ = nullptr;
    QPushButton* confirm_ = nullptr;
    // The work item picked last: the picker opens onto it for an empty row.
    std::size_t lastPicked_ = static_cast<std::size_t>(-1);
    ActionScope scope_ = [](std::string_view, bool, const std::function<void()>& change) {
        change();
    };
};

}  // namespace tf::gui

#pragma once

#include <QDialog>

#include "core/structure/structure_editor.h"
#include "core/undo/undo_history.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tf::gui {

class GridView;

// "编辑分部分项结构": shows a StructureEditor and forwards the user's gestures to it. Links
// are picked from the main window's material table, which stays behind the editor.
class StructureEditorWindow : public QDialog {
    Q_OBJECT
  public:
    StructureEditorWindow(ProjectDocument& document, Prompter& prompter, GridView& materialView,
                          QWidget* parent);

    StructureEditor& editor() { return editor_; }
    // Runs the confirmation as one step the project can take back.
    void setActionScope(ActionScope scope) { scope_ = std::move(scope); }
    GridView& processGrid() { return *currentGrid_; }
    // The links page ("材料关联"), or the item page.
    void showLinksPage(bool shown);
    bool linksPageShown() const;
    bool picking() const { return picking_; }
    // A Ctrl + right press on a link row starts a pick; its end links the material row under
    // `globalPos`, if any.
    void startPick(int row);
    void endPick(const QPoint& globalPos);

  signals:
    void committed();
    // The links page wants the material table in front.
    void wantMaterialPage();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildItemPage();
    QWidget* buildLinksPage();
    QWidget* buildCodePanel();
    QWidget* buildButtons();
    void fillTree();
    void showNode();
    void structureChanged(bool focusName);
    void activate(QTreeWidgetItem* item);
    bool handleLinkKey(QKeyEvent* event);
    void linkPopup(int row, const QPoint& globalPos);
    void followLinkedMaterial(int row);
    std::optional<int> materialRowAt(const QPoint& globalPos) const;

    StructureEditor editor_;
    Prompter& prompter_;
    const MaterialCatalogue& catalogue_;
    GridView& materialView_;
    QTreeWidget* tree_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* code_ = nullptr;
    QLineEdit* prices_[3] = {};
    QTabWidget* processTabs_ = nullptr;
    GridView* currentGrid_ = nullptr;
    GridView* defaultGrid_ = nullptr;
    QPushButton* applyDefault_ = nullptr;
    QPushButton* saveDefault_ = nullptr;
    QLineEdit* panelBoxes_[4] = {};
    QLabel* panelLabel_ = nullptr;
    bool filling_ = false;
    bool picking_ = false;
    int pickRow_ = -1;
    ActionScope scope_ = [](std::string_view, bool, const std::function<void()>& change) {
        change();
    };
};

}  // namespace tf::gui

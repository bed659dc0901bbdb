#pragma once

#include <QObject>
#include <functional>

#include "core/base/prompter.h"
#include "core/project/project_document.h"
#include "core/undo/undo_history.h"

class QKeyEvent;

namespace tf::gui {

class GridView;

// Wires 材料表 to the material rules: edits are asked for and committed through core, and
// the table's keys (Enter, Insert, Ctrl+Del, Delete, Ctrl+V, Ctrl+X) do what the table
// promises.
class MaterialEditor : public QObject {
    Q_OBJECT
  public:
    MaterialEditor(GridView& view, ProjectDocument& document, Prompter& prompter,
                   std::function<void()> showAnalysisPage);

    void appendRow();
    void insertRow();
    void deleteRow();
    void refresh();
    void exportTable();
    // Runs each edit as one step the project can take back.
    void setActionScope(ActionScope scope) { scope_ = std::move(scope); }

  signals:
    void changed();  // the project was modified

  private:
    bool handleKey(QKeyEvent* event);
    void commit(int row, int column);
    void paste();
    void cut();
    // The view's cursor where core put the table's (a refused edit moves it to 类别).
    void followCursor();

    GridView& view_;
    ProjectDocument& document_;
    Prompter& prompter_;
    std::function<void()> showAnalysisPage_;
    ActionScope scope_ = [](std::string_view, bool, const std::function<void()>& change) {
        change();
    };
};

}  // namespace tf::gui

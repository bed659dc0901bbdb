#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/base/prompter.h"
#include "core/project/project_document.h"
#include "core/shell/app_settings.h"
#include "core/shell/commands.h"
#include "core/stats/statistics.h"
#include "core/stats/statistics_commands.h"
#include "core/undo/undo_history.h"

class QCheckBox;
class QScrollArea;
class QGroupBox;
class QLabel;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tf::gui {

class StatisticsChartView;

class GridView;

// The statistics tab: the view buttons, the division tree and the tick tree on the left,
// the title and the grids of the view shown on the right. Every rule is in core; this page
// shows the Statistics it is given and forwards the user's gestures.
class StatisticsPage : public QWidget {
    Q_OBJECT
  public:
    StatisticsPage(const ProjectDocument& document, Statistics& statistics, Prompter& prompter,
                   QWidget* parent = nullptr);

    // After the statistics changed underneath: trees, titles and visibility again (the
    // grids follow their changes by themselves).
    void reload();
    // Runs each note edit as one step the project's history can take back.
    void setActionScope(ActionScope scope) { scope_ = std::move(scope); }
    // The grid the user works with in the view shown (统计表 in the filtered view).
    GridView& mainView();
    // The statistics grid that has the focus, else the main one.
    StatisticsGrid focusedGrid() const;
    GridView& view(StatisticsGrid grid);
    void chooseView(StatisticsView view);
    // The column widths the user sets in the grids are kept in the settings.
    void keepColumnWidths(AppSettings& settings);

  signals:
    // A right press on a row of one of the grids: the 统计 menu should pop up.
    void popupRequested(StatisticsGrid grid, int row, QPoint globalPos);
    void commandRequested(Command command);
    // A completed edit of a 说明 cell; `counts` when it sets the project's modified flag.
    void noteEdited(bool counts);

  private:
    QWidget* buildSide();
    void buildGrids();
    void fillDivisionTree();
    void fillFilterTree();
    // The tree's boxes as the ticks stand.
    void showFilterTicks();
    void showViewLayout();
    void filterItemChanged(QTreeWidgetItem* item);
    void wireGrid(GridView* view, StatisticsGrid grid);
    bool handleKey(GridView* view, QKeyEvent* event);
    // The chart of the view shown, drawn again only when its figures changed.
    void refreshChart();

    const ProjectDocument& document_;
    Statistics& statistics_;
    Prompter& prompter_;
    QRadioButton* viewButtons_[3] = {};
    QGroupBox* codeFrame_ = nullptr;
    QGroupBox* filterFrame_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* divisionHeading_ = nullptr;
    QTreeWidget* divisionTree_ = nullptr;
    QTreeWidget* filterTree_ = nullptr;
    GridView* summaryView_ = nullptr;
    GridView* itemSummaryView_ = nullptr;
    GridView* cumulativeView_ = nullptr;
    QCheckBox* chartToggle_ = nullptr;
    StatisticsChartView* chartView_ = nullptr;
    QScrollArea* chartArea_ = nullptr;  // a chart of many bars scrolls, the page keeps its size
    std::vector<std::uint64_t> chartShown_;  // what the chart was drawn from
    bool filling_ = false;  // tree widgets being filled: their signals are not the user's
    ActionScope scope_ = [](std::string_view, bool, const std::function<void()>& change) {
        change();
    };
};

}  // namespace tf::gui

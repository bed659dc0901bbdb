#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "core/compare/comparison_job.h"

class QCheckBox;
class QLabel;
class QTabWidget;

namespace tf {
class AppSettings;
class Prompter;
}  // namespace tf

namespace tf::gui {

class GridView;

// "工程对比": the summary of two projects compared, and the tables by location, by material,
// by cost and of the structure's fee changes, coloured by change; "只显示变化" hides what
// stayed. A double click on a location line asks for that location in 分析表.
class ComparisonWindow : public QWidget {
    Q_OBJECT
  public:
    ComparisonWindow(std::shared_ptr<ComparisonView> view, Prompter& prompter,
                     AppSettings& settings, QWidget* parent);

    ComparisonTable shownTable() const;
    const Grid& shownGrid() const;

  signals:
    void locationRequested(const QString& name);

  private:
    void showLines();
    void print();
    void exportWorkbook();

    std::shared_ptr<ComparisonView> view_;
    Prompter& prompter_;
    AppSettings& settings_;
    QTabWidget* tabs_ = nullptr;
    QCheckBox* onlyChanges_ = nullptr;
    std::array<GridView*, 4> grids_{};
};

}  // namespace tf::gui

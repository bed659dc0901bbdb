#pragma once

#include <QFrame>
#include <cstddef>

#include "core/structure/division_item.h"

class QLineEdit;
class QListWidget;

namespace tf::gui {

// A pop-up under a 分项代号 cell that finds work items while the surveyor types a code or
// part of a name: Enter takes the highlighted match (the first until another is chosen with
// Up or Down), a double click takes the one clicked, Esc or leaving closes it unchanged.
class WorkItemFinder : public QFrame {
    Q_OBJECT
  public:
    WorkItemFinder(DivisionTree tree, QWidget* parent);

    // Shows it at `topLeft` (screen coordinates) with what was typed so far.
    void start(const QString& typed, const QPoint& topLeft);
    static constexpr std::size_t kMostMatches = 50;

  signals:
    void chosen(std::size_t node);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void refill();
    void takeCurrent();

    DivisionTree tree_;
    QLineEdit* edit_ = nullptr;
    QListWidget* list_ = nullptr;
};

}  // namespace tf::gui

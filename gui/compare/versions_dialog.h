#pragma once

#include <QDialog>
#include <vector>

#include "core/versions/project_versions.h"
#include "gui/compare/comparison_commands.h"

class QTreeWidget;

namespace tf::gui {

// "版本": the saved versions of the project, newest first, with their total cost; compare one
// with the project, two with each other, or restore one.
class VersionsDialog : public QDialog {
    Q_OBJECT
  public:
    VersionsDialog(ComparisonHost host, QWidget* parent);

  private:
    void fill();
    std::vector<const ProjectVersion*> chosen() const;

    ComparisonHost host_;
    std::vector<ProjectVersion> versions_;
    QTreeWidget* list_ = nullptr;
};

}  // namespace tf::gui

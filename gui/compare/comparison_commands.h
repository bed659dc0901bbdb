#pragma once

#include <functional>
#include <string>

class QWidget;

namespace tf {
class AppSettings;
class Prompter;
struct ProjectDocument;
}  // namespace tf

namespace tf::gui {

// What the comparison and version commands need of the main window.
struct ComparisonHost {
    ProjectDocument& document;
    Prompter& prompter;
    AppSettings& settings;
    QWidget* window = nullptr;
    std::function<void(const std::string& location)> showLocation;  // in 分析表
    std::function<void()> projectReplaced;  // the content restored from a version
};

// "工程对比…": another project chosen and compared with the open one (the earlier side).
void compareWithChosenProject(const ComparisonHost& host);
// "保存版本…": the project as it is saved under a label beside it.
void saveVersionAsked(const ComparisonHost& host);
// "版本…": the versions listed, compared with the project or with each other, restored.
void showVersions(const ComparisonHost& host);

// The window showing a comparison of `before` with the open project or with `after`.
void openComparison(const ComparisonHost& host, const std::string& before,
                    const std::string& after = {});

}  // namespace tf::gui

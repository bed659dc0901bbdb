#include "gui/compare/comparison_commands.h"

#include "core/project/project_io.h"
#include "core/versions/project_versions.h"
#include "gui/compare/comparison_window.h"
#include "gui/compare/versions_dialog.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

// Versions live beside the project's file: an untitled project is saved first.
bool hasFile(const ComparisonHost& host) {
    if (host.document.path.empty()) {
        host.prompter.message("请先保存工程。", Captions::kInformation, MessageFlags::kInformation);
        return false;
    }
    return true;
}

}  // namespace

void openComparison(const ComparisonHost& host, const std::string& before,
                    const std::string& after) {
    auto view =
        compareProjectFiles(before, after.empty() ? &host.document : nullptr, after, host.prompter);
    if (!view) {
        return;
    }
    auto* window = new ComparisonWindow(std::move(view), host.prompter, host.settings, host.window);
    QObject::connect(window, &ComparisonWindow::locationRequested, window,
                     [show = host.showLocation](const QString& name) { show(name.toStdString()); });
    window->show();
}

void compareWithChosenProject(const ComparisonHost& host) {
    if (const auto path = host.prompter.chooseOpenFile("选择要对比的工程", kProjectFilter)) {
        openComparison(host, *path);
    }
}

void saveVersionAsked(const ComparisonHost& host) {
    if (!hasFile(host)) {
        return;
    }
    const auto label = host.prompter.input("版本标签：", "保存版本", "");
    if (!label) {
        return;
    }
    if (const auto version = saveVersion(host.document, *label, host.prompter)) {
        host.prompter.setStatus("已保存版本：" + version->label);
    }
}

void showVersions(const ComparisonHost& host) {
    if (!hasFile(host)) {
        return;
    }
    auto* dialog = new VersionsDialog(host, host.window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();  // not modal: the comparisons it opens must take clicks
}

}  // namespace tf::gui

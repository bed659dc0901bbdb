#include "core/compare/comparison_job.h"

#include "core/base/path_text.h"
#include "core/project/project_io.h"

namespace tf {
namespace {

std::string shownName(const std::string& path) {
    return utf8FromPath(pathFromUtf8(path).filename());
}

}  // namespace

bool layOutComparison(ComparisonView& view, const WorkProgress* progress) {
    Grid& summary = view.summary;
    summary = Grid(1, 2);
    summary.setFixedRows(1);
    summary.setTexts(0, 0, {"项目", "数值"});
    summary.setColumnWidth(0, 140);
    summary.setColumnWidth(1, 120);
    for (const auto& [caption, figure] : comparisonSummary(view.comparison)) {
        const int row = summary.rowCount();
        summary.appendRows(1);
        summary.setTexts(row, 0, {caption, figure});
    }
    for (std::size_t t = 0; t < view.all.size(); ++t) {
        if (progress && progress->stopped()) {
            return false;
        }
        view.all[t] = comparisonGrid(view.comparison, kComparisonTables[t], false);
        view.changes[t] = comparisonGrid(view.comparison, kComparisonTables[t], true);
    }
    return true;
}

std::vector<SheetSource> comparisonWorkbookSheets(std::shared_ptr<const ComparisonView> view) {
    std::vector<SheetSource> sheets{{"汇总", &view->summary, {}}};
    for (std::size_t t = 0; t < view->all.size(); ++t) {
        sheets.push_back(comparisonSheet(view->all[t], kComparisonTables[t]));
    }
    for (SheetSource& sheet : sheets) {
        sheet.owner = view;
    }
    return sheets;
}

std::shared_ptr<ComparisonView> compareProjectFiles(const std::string& before,
                                                    const ProjectDocument* after,
                                                    const std::string& afterPath,
                                                    Prompter& prompter) {
    auto view = std::make_shared<ComparisonView>();
    bool unreadable = false;
    const bool done = prompter.runWithProgress("正在对比工程…", [&](WorkProgress& progress) {
        SilentPrompter silent;  // off the window's thread: what went wrong is told after
        auto earlier = tallyProjectFile(before, silent);
        auto later = after ? std::make_shared<ProjectTally>(tallyProject(*after))
                           : tallyProjectFile(afterPath, silent);
        if (!earlier || !later) {
            unreadable = true;
            return false;
        }
        view->comparison = compareProjects(std::move(earlier), std::move(later));
        return layOutComparison(*view, &progress);
    });
    if (unreadable) {
        prompter.message(kNotAProject, Captions::kError, MessageFlags::kError);
    }
    if (!done) {
        return nullptr;
    }
    view->beforeName = shownName(before);
    view->afterName = after
                          ? (after->path.empty() ? "当前工程" : shownName(after->path) + "（当前）")
                          : shownName(afterPath);
    return view;
}

}  // namespace tf

#include "core/compare/comparison_job.h"

#include "core/base/path_text.h"
#include "core/project/project_io.h"

namespace tf {
namespace {

// Keeps what the work off the window's thread would say, for the window to say after it.
class TellingAfter : public HeadlessPrompter {
  public:
    Answer message(std::string_view text, std::string_view, int) override {
        if (said.empty()) {
            said = std::string(text);
        }
        return Answer::Ok;
    }
    std::string said;
};

std::string shownName(const std::string& path) {
    return utf8FromPath(pathFromUtf8(path).filename());
}

}  // namespace

bool layOutComparison(ComparisonView& view, const WorkProgress* progress) {
    // Money and counts in columns of their own, as numbers a spreadsheet sums.
    Grid& summary = view.summary;
    summary = Grid(1, 3);
    summary.setFixedRows(1);
    summary.setTexts(0, 0, {"项目", "金额", "个数"});
    summary.setColumnWidth(0, 140);
    summary.setColumnWidth(1, 120);
    summary.setColumnWidth(2, 80);
    summary.setColumnKind(1, ColumnKind::Number, 2);
    summary.setColumnKind(2, ColumnKind::Number, 0);
    const auto lines = comparisonSummary(view.comparison);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int row = summary.rowCount();
        summary.appendRows(1);
        summary.setText(row, 0, lines[i].first);
        summary.setText(row, i < kMoneyLines ? 1 : 2, lines[i].second);
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

std::vector<SheetSource> comparisonWorkbookSheets(std::shared_ptr<const ComparisonView> view,
                                                  bool onlyChanges) {
    std::vector<SheetSource> sheets{{"汇总", &view->summary, {}}};
    const auto& grids = onlyChanges ? view->changes : view->all;
    for (std::size_t t = 0; t < grids.size(); ++t) {
        sheets.push_back(comparisonSheet(grids[t], kComparisonTables[t]));
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
    TellingAfter told;
    const bool done = prompter.runWithProgress("正在对比工程…", [&](WorkProgress& progress) {
        auto earlier = tallyProjectFile(before, told);
        auto later = after ? std::make_shared<ProjectTally>(tallyProject(*after))
                           : tallyProjectFile(afterPath, told);
        if (!earlier || !later) {
            return false;
        }
        view->comparison = compareProjects(std::move(earlier), std::move(later));
        return layOutComparison(*view, &progress);
    });
    if (!told.said.empty()) {
        prompter.message(told.said, Captions::kError, MessageFlags::kError);
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

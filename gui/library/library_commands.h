#pragma once

#include <functional>

class QWidget;

namespace tf {
class AppSettings;
class Prompter;
struct ProjectDocument;
}  // namespace tf

namespace tf::gui {

// What the price library's commands need of the main window.
struct LibraryHost {
    ProjectDocument& document;
    Prompter& prompter;
    AppSettings& settings;
    QWidget* window = nullptr;
    // Runs a change of 材料表 as one undo step, then brings the views up to date.
    std::function<void(const std::function<void()>& change)> asOneStep;
};

// "从价格库取价…": a day asked, the new prices previewed, applied as one undo step.
void repriceFromLibrary(const LibraryHost& host);
// "价格库…": the library browsed and searched, a material's price history.
void browseLibrary(const LibraryHost& host);
// "保存到价格库": the table's prices into the library, dated today.
void savePricesToLibrary(const LibraryHost& host);

}  // namespace tf::gui

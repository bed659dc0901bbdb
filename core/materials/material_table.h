#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/base/prompter.h"
#include "core/project/project_document.h"

namespace tf {

// The editing rules of 材料表 and the catalogue behind it. Rows count from 1 (row 0 is the
// heading).

// The drop-down list of 类别 as one text: "?" and every known category followed by "?".
std::string categoryList(const Grid& materials);

// Before an edit starts: the hidden id column is never edited, and in a row without a
// category only the category may be edited (the cursor moves there and the user is told).
bool canBeginMaterialEdit(ProjectDocument& document, int row, int column, Prompter& prompter);

// After an edit of (row, column) has been committed to the grid: the corrections, category
// and name checks, the price rule, the catalogue update and the modified flag, in order.
// `showAnalysisPage` is called before the user is asked about analysis rows to repair.
void commitMaterialEdit(ProjectDocument& document, int row, int column, Prompter& prompter,
                        const std::function<void()>& showAnalysisPage = {});

// Ctrl+V: the clipboard's first line, at most 1000 characters of it, into the cursor cell
// when that cell may be edited, committed like a typed edit. Ctrl+X: the cursor cell's text
// goes out (returned for the clipboard) and the emptied cell is committed; nothing when the
// cell may not be edited. Either key marks the project modified, whatever came of it.
void pasteIntoMaterialCell(ProjectDocument& document, std::string_view clipboard,
                           Prompter& prompter, const std::function<void()>& showAnalysisPage = {});
std::optional<std::string> cutMaterialCell(ProjectDocument& document, Prompter& prompter,
                                           const std::function<void()>& showAnalysisPage = {});

// The catalogue update and repair of analysis rows for one row.
void syncMaterialRow(ProjectDocument& document, int row, Prompter& prompter,
                     const std::function<void()>& showAnalysisPage = {});

// Enters a row that has no id yet in the catalogue (an existing category found without
// regard to case, or a new one, which the category drop-down list then offers too) and
// writes its id; false when the category is full.
bool enterMaterialRow(ProjectDocument& document, int row);
// "同一类别的材料不能超过999种！"
void tellCategoryFull(Prompter& prompter);

// Appends a styled, numbered data row, moves the cursor to it and marks the project
// modified; returns its row.
int appendMaterialRow(ProjectDocument& document);
// An empty row before `row`, and the removal of `row`; both renumber 序号.
void insertMaterialRow(ProjectDocument& document, int row);
void deleteMaterialRow(ProjectDocument& document, int row);

// Rebuilds the catalogue from the table after a load; identical rows after the first are
// left out and keep their stored id. Returns how many rows found their category full (they
// have no id: nothing can use or price them).
int rebuildCatalogue(ProjectDocument& document);

// Rewrites the table from the catalogue, grouped by category in order of creation.
void refreshMaterialPage(ProjectDocument& document, Prompter& prompter);

// Colours, number and styling of one data row; appended rows show the price in navy.
void styleMaterialRow(Grid& materials, int row, bool appended);

}  // namespace tf

#pragma once

#include "core/base/prompter.h"
#include "core/project/project_document.h"

namespace tf {

// "删除一组": asks first (there is no undo), then removes location k with its attachment
// records. True when it was deleted.
bool deleteLocationAsked(ProjectDocument& document, int k, Prompter& prompter);

// "刷新" on the analysis page: the bands of every data row painted again, then the table
// recalculated.
void refreshAnalysisTable(Grid& analysis, Prompter& prompter);

}  // namespace tf

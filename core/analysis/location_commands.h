#pragma once

#include "core/base/prompter.h"
#include "core/project/project_document.h"

namespace tf {

// "删除一组": asks first (there is no undo), then removes location k with its attachment
// records. True when it was deleted.
bool deleteLocationAsked(ProjectDocument& document, int k, Prompter& prompter);

}  // namespace tf

#pragma once

#include "core/project/project_document.h"

namespace tf::cli {

// A realistic, deterministic sample: about 60 priced materials in 8 categories, current
// processes for 20 work items, and `locations` locations entered through the data-entry
// form with believable dimension expressions.
void buildSampleProject(ProjectDocument& document, int locations);

}  // namespace tf::cli

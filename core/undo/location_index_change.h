#pragma once

#include <optional>
#include <vector>

#include "core/analysis/location_index.h"

namespace tf {

// What an action did to the location index, kept small: the locations it left alone at the
// front and at the back (those at the back moved by `shift` rows) and the spans in between as
// they were. Bringing the index back this way costs what the action's own change of the index
// cost, where reading it again from the table would cost the whole table.
struct LocationIndexChange {
    int keptBefore = 0;
    int keptAfter = 0;
    int shift = 0;
    std::vector<LocationSpan> between;
    std::size_t bytes() const { return sizeof(*this) + between.size() * sizeof(LocationSpan); }
};

// What turns `after` back into `before`; nothing when they are the same.
std::optional<LocationIndexChange> locationIndexChange(const LocationIndex& before,
                                                       const LocationIndex& after);

// Turns `index` back as `change` says, and makes `change` what turns it forward again.
void revertLocationIndex(LocationIndex& index, LocationIndexChange& change);

}  // namespace tf

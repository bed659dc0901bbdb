#include "core/undo/location_index_change.h"

#include <algorithm>
#include <utility>

namespace tf {

std::optional<LocationIndexChange> locationIndexChange(const LocationIndex& before,
                                                       const LocationIndex& after) {
    if (before == after) {
        return std::nullopt;
    }
    const std::size_t common = std::min(before.size(), after.size());
    const auto mismatch = std::mismatch(before.begin(), before.begin() + common, after.begin());
    const auto keptBefore = static_cast<std::size_t>(mismatch.first - before.begin());
    LocationIndexChange change;
    change.keptBefore = static_cast<int>(keptBefore);
    // The locations behind the change moved together, by as much as the last one moved.
    if (!before.empty() && !after.empty()) {
        change.shift = after.back().last - before.back().last;
    }
    std::size_t keptAfter = 0;
    while (keptBefore + keptAfter < common) {
        const LocationSpan& was = before[before.size() - 1 - keptAfter];
        const LocationSpan& is = after[after.size() - 1 - keptAfter];
        if (was.first + change.shift != is.first || was.last + change.shift != is.last) {
            break;
        }
        ++keptAfter;
    }
    change.keptAfter = static_cast<int>(keptAfter);
    change.between.assign(before.begin() + static_cast<std::ptrdiff_t>(keptBefore),
                          before.end() - static_cast<std::ptrdiff_t>(keptAfter));
    return change;
}

void revertLocationIndex(LocationIndex& index, LocationIndexChange& change) {
    const auto first = index.begin() + change.keptBefore;
    const auto last = index.end() - change.keptAfter;
    std::vector<LocationSpan> replaced(first, last);
    if (replaced.size() == change.between.size()) {
        std::copy(change.between.begin(), change.between.end(), first);
    } else {
        const auto at = index.erase(first, last) - index.begin();
        index.insert(index.begin() + at, change.between.begin(), change.between.end());
    }
    for (auto span = index.end() - change.keptAfter; span != index.end(); ++span) {
        span->first -= change.shift;
        span->last -= change.shift;
    }
    change.between = std::move(replaced);
    change.shift = -change.shift;
}

}  // namespace tf

#include "core/undo/location_index_change.h"

#include <gtest/gtest.h>

#include <random>

namespace tf {
namespace {

// An index of `count` locations of 1 to 4 rows each, from row 2 on.
LocationIndex blocks(std::mt19937& random, int count, int from = 2) {
    LocationIndex index;
    for (int k = 0; k < count; ++k) {
        const int rows = std::uniform_int_distribution<int>(1, 4)(random);
        index.push_back({from, from + rows - 1});
        from += rows;
    }
    return index;
}

// What the actions do to an index: a location added at the end, one changed in size in the
// middle (the rest moving), one deleted, several replaced, or all of them.
LocationIndex changed(const LocationIndex& before, std::mt19937& random) {
    LocationIndex after = before;
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n)(random); };
    const int from = after.empty() ? 2 : after.back().last + 1;
    switch (pick(4)) {
        case 0:
            after.push_back({from, from + pick(3)});
            break;
        case 1:
        case 2:
            if (!after.empty()) {
                auto k = static_cast<std::size_t>(pick(static_cast<int>(after.size()) - 1));
                const int size = after[k].last - after[k].first + 1;
                int delta = pick(6) - 3;
                if (size + delta < 1) {
                    after.erase(after.begin() + static_cast<std::ptrdiff_t>(k));
                    delta = -size;
                } else {
                    after[k++].last += delta;
                }
                for (; k < after.size(); ++k) {
                    after[k].first += delta;
                    after[k].last += delta;
                }
            }
            break;
        case 3:
            after = blocks(random, pick(5));
            break;
        default: {
            const auto k = static_cast<std::ptrdiff_t>(pick(static_cast<int>(after.size())));
            LocationIndex tail = blocks(random, pick(3), k == 0 ? 2 : after[k - 1].last + 1);
            after.erase(after.begin() + k, after.end());
            after.insert(after.end(), tail.begin(), tail.end());
        }
    }
    return after;
}

TEST(LocationIndexChange, TakesBackAndMakesAgainEveryKindOfChange) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        const LocationIndex before = blocks(random, round % 9);
        const LocationIndex after = changed(before, random);
        auto change = locationIndexChange(before, after);
        ASSERT_EQ(change.has_value(), before != after) << round;
        if (!change) {
            continue;
        }
        LocationIndex index = after;
        revertLocationIndex(index, *change);
        ASSERT_EQ(index, before) << round;
        revertLocationIndex(index, *change);
        ASSERT_EQ(index, after) << round;
        revertLocationIndex(index, *change);
        ASSERT_EQ(index, before) << round;
    }
}

TEST(LocationIndexChange, KeepsOnlyWhatChangedBetweenTheLocationsLeftAlone) {
    // 10 locations of 3 rows; the 4th grows by 2 rows, so the 6 behind it move down by 2.
    LocationIndex before;
    for (int k = 0; k < 10; ++k) {
        before.push_back({2 + 3 * k, 4 + 3 * k});
    }
    LocationIndex after = before;
    after[3].last += 2;
    for (std::size_t k = 4; k < after.size(); ++k) {
        after[k].first += 2;
        after[k].last += 2;
    }
    const auto change = locationIndexChange(before, after);
    ASSERT_TRUE(change);
    EXPECT_EQ(change->keptBefore, 3);
    EXPECT_EQ(change->keptAfter, 6);
    EXPECT_EQ(change->shift, 2);
    EXPECT_EQ(change->between, (LocationIndex{{11, 13}}));

    // A location added at the end keeps the whole index in front of it and nothing else.
    LocationIndex added = before;
    added.push_back({32, 35});
    const auto append = locationIndexChange(before, added);
    ASSERT_TRUE(append);
    EXPECT_EQ(append->keptBefore, 10);
    EXPECT_EQ(append->keptAfter, 0);
    EXPECT_TRUE(append->between.empty());
}

}  // namespace
}  // namespace tf

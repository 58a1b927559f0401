#include "containers/id_set.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

std::vector<unsigned int> listed(const IdSet& ids)
{
    return std::vector<unsigned int>(ids.begin(), ids.end());
}

} // namespace

// The set behaves as std::set<unsigned int> does for every use the model makes of it, whatever
// the order of insertion, and converts to and compares with the standard set.
TEST(IdSet, BehavesAsTheStandardSet)
{
    const std::vector<unsigned int> orders[] = {
        {1, 2, 3, 40, 41},
        {41, 3, 40, 1, 2},
        {3, 3, 1, 41, 1, 2, 40, 2},
        {},
    };
    for (const std::vector<unsigned int>& order : orders) {
        IdSet ids;
        std::set<unsigned int> expected;
        for (unsigned int id : order)
            EXPECT_EQ(ids.insert(id).second, expected.insert(id).second) << id;
        EXPECT_EQ(listed(ids), std::vector<unsigned int>(expected.begin(), expected.end()));
        EXPECT_TRUE(ids == expected);
        EXPECT_EQ(std::set<unsigned int>(ids), expected);
        for (unsigned int id : {0u, 1u, 3u, 39u, 41u, 42u}) {
            EXPECT_EQ(ids.count(id), expected.count(id)) << id;
            EXPECT_EQ(ids.erase(id), expected.erase(id)) << id;
            EXPECT_EQ(ids.find(id), ids.end()) << id;
        }
        EXPECT_EQ(listed(ids), std::vector<unsigned int>(expected.begin(), expected.end()));
        EXPECT_EQ(ids.size(), expected.size());
    }

    IdSet ids = std::set<unsigned int>{7, 5};
    ids.insert(ids.end(), 6); // a hint that is wrong changes nothing
    EXPECT_EQ(listed(ids), (std::vector<unsigned int>{5, 6, 7}));
    EXPECT_EQ(*ids.erase(ids.find(6)), 7u);
    EXPECT_TRUE(ids != std::set<unsigned int>({5, 6, 7}));
    EXPECT_TRUE(ids == IdSet({7, 5}));
}

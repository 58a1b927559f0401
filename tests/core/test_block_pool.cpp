#include "core/block_pool.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <vector>

// A freed block is the next one handed out for a request of its size class and never for
// another class; live blocks never overlap, also across slabs; every block is aligned for any
// object of the model.
TEST(BlockPool, FreedBlocksServeTheirOwnSizeAgain)
{
    auto pool = std::make_unique<BlockPool::ThreadPool>();
    void* small = pool->allocate(40);
    void* large = pool->allocate(200);
    pool->deallocate(small, 40);
    EXPECT_NE(pool->allocate(100), small) << "another size class";
    EXPECT_EQ(pool->allocate(33), small) << "the same class of 48 bytes";
    pool->deallocate(large, 200);
    EXPECT_EQ(pool->allocate(193), large);

    // More than a slab's worth, written in full: no two live blocks share a byte.
    std::vector<char*> blocks;
    std::set<char*> starts;
    for (int i = 0; i < 2000; ++i) {
        auto* block = static_cast<char*>(pool->allocate(96));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u);
        std::memset(block, i & 0xff, 96);
        blocks.push_back(block);
        starts.insert(block);
    }
    EXPECT_EQ(starts.size(), blocks.size());
    for (size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(blocks[i][95], char(i & 0xff)) << i;
}

#include "kelcore/Allocators.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

namespace {

TEST(Allocators, FreedBlocksAreReusedUpToTheCapAndContainersAreFreedOnAnotherThread) {
  kelcore::MemoryRecycler recycler(16, 256, 2);
  void* a = recycler.Allocate(20, 8);
  void* b = recycler.Allocate(30, 8);  // same 32-byte class
  void* c = recycler.Allocate(32, 8);
  void* aligned = recycler.Allocate(64, 64);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(aligned) % 64, 0u);
  recycler.Release(a, 20, 8);
  recycler.Release(b, 30, 8);
  recycler.Release(c, 32, 8);  // over the cap: back to the heap
  recycler.Release(aligned, 64, 64);
  EXPECT_EQ(recycler.CachedBlockCount(), 2u);
  void* again = recycler.Allocate(25, 8);
  EXPECT_TRUE(again == a || again == b);
  recycler.Release(again, 25, 8);
  recycler.Trim();
  EXPECT_EQ(recycler.CachedBlockCount(), 0u);

  std::vector<int, kelcore::STLAllocator<int>> made(1000, 7);
  std::thread([v = std::move(made)]() mutable {
    v.clear();
    v.shrink_to_fit();
  }).join();
}

}  // namespace

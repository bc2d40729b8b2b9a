#include "kelcore/Allocators.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

namespace {

using kelcore::MemoryRecycler;

TEST(Allocators, FreedBlocksAreReusedUpToTheCap) {
  MemoryRecycler recycler(16, 256, 2);
  void* a = recycler.Allocate(20, 8);
  void* b = recycler.Allocate(30, 8);  // same 32-byte class
  void* c = recycler.Allocate(32, 8);
  recycler.Release(a, 20, 8);
  recycler.Release(b, 30, 8);
  recycler.Release(c, 32, 8);  // over the cap: back to the heap
  EXPECT_EQ(recycler.CachedBlockCount(), 2u);
  void* again = recycler.Allocate(25, 8);
  EXPECT_TRUE(again == a || again == b);
  recycler.Release(again, 25, 8);

  // Large and over-aligned blocks bypass the lists.
  void* big = recycler.Allocate(1000, 8);
  void* aligned = recycler.Allocate(64, 64);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(aligned) % 64, 0u);
  recycler.Release(big, 1000, 8);
  recycler.Release(aligned, 64, 64);
  EXPECT_EQ(recycler.CachedBlockCount(), 2u);

  recycler.Trim();
  EXPECT_EQ(recycler.CachedBlockCount(), 0u);
  recycler.Release(nullptr, 16, 8);
}

TEST(Allocators, ContainersWorkAcrossThreads) {
  using Vector = std::vector<int, kelcore::STLAllocator<int>>;
  Vector made;
  for (int i = 0; i < 1000; ++i) made.push_back(i);
  // Freed on another thread than the one that made it.
  std::thread([v = std::move(made)]() mutable {
    EXPECT_EQ(v.size(), 1000u);
    v.clear();
    v.shrink_to_fit();
  }).join();

  struct alignas(64) Wide {
    char bytes[64];
  };
  std::vector<Wide, kelcore::STLAllocator<Wide>> wide(3);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(wide.data()) % 64, 0u);

  // A null recycler (thread shutting down) falls back to the heap.
  void* block = kelcore::detail::RecyclerAllocate(nullptr, 40, 8);
  kelcore::detail::RecyclerRelease(nullptr, block, 40, 8);
}

}  // namespace

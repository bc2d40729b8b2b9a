#include "kelcore/RegionList.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

namespace {

using kelcore::utility::RegionList;
using kelcore::utility::RemoveRegionListOverlaps;

constexpr int kGrid = 64;

// Pixel coverage of the rectangles inside [-8, kGrid + 8) squared.
std::vector<int> Coverage(const RegionList& rects) {
  constexpr int kSpan = kGrid + 16;
  std::vector<int> cover(kSpan * kSpan, 0);
  for (const auto& r : rects) {
    for (int y = std::max(r.y, -8); y < std::min(r.Bottom(), kGrid + 8); ++y) {
      for (int x = std::max(r.x, -8); x < std::min(r.Right(), kGrid + 8); ++x) ++cover[(y + 8) * kSpan + (x + 8)];
    }
  }
  return cover;
}

TEST(RegionList, OutputCoversTheSamePixelsWithoutOverlapOnRandomInput) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> position(-6, kGrid);
  std::uniform_int_distribution<int> size(-3, 24);
  std::uniform_int_distribution<int> count(0, 40);
  for (int trial = 0; trial < 400; ++trial) {
    RegionList rects;
    const int n = count(random);
    for (int i = 0; i < n; ++i) rects.push_back({position(random), position(random), size(random), size(random)});

    std::vector<int> before = Coverage(rects);
    for (int& c : before) c = c > 0 ? 1 : 0;

    RemoveRegionListOverlaps(rects);
    for (const auto& r : rects) ASSERT_TRUE(r.width > 0 && r.height > 0) << "trial " << trial;
    ASSERT_EQ(Coverage(rects), before) << "trial " << trial << ": pixels lost, added or covered twice";
  }
}

TEST(RegionList, ListsWithoutOverlapKeepOrderAndOverlappingRowsBecomeOneBand) {
  // Touching edges are not overlaps.
  RegionList rects{{10, 0, 5, 5}, {0, 0, 10, 5}, {0, 5, 15, 1}, {3, 3, 0, 4}, {1, 1, -2, 2}};
  RemoveRegionListOverlaps(rects);
  EXPECT_EQ(rects, (RegionList{{10, 0, 5, 5}, {0, 0, 10, 5}, {0, 5, 15, 1}}));

  // A row of overlapping cells with one colour: one band.
  RegionList cells;
  for (int i = 0; i < 32; ++i) cells.push_back({i * 45, 100, 46, 54});
  RemoveRegionListOverlaps(cells);
  EXPECT_EQ(cells, (RegionList{{0, 100, 31 * 45 + 46, 54}}));

  // Coordinates past the int range are cut off.
  constexpr int kMax = std::numeric_limits<int>::max();
  RegionList far{{kMax - 10, 0, 100, 5}, {kMax - 20, 0, 15, 5}};
  RemoveRegionListOverlaps(far);
  EXPECT_EQ(far, (RegionList{{kMax - 20, 0, 20, 5}}));
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "kelcaption/Frame.h"

namespace {

// The tool's frame hands its ink box and its composite to the library's caption layer functions
// (tested in tests/render/CaptionLayerTest.cpp); here the box's rows and columns must come back
// the right way round, bound the layer as Clear and Composite take them, and a layer of another
// size is not laid.
TEST(FrameInk, BoxFoundClearedAndCompositedRowsAndColumnsTheRightWayRound) {
  constexpr int kWidth = 37, kHeight = 9;
  kelcaption::Frame frame(kWidth, kHeight), layer(kWidth, kHeight);
  EXPECT_EQ(layer.FindInk().first, layer.FindInk().last);  // none
  const auto pixel = [&](kelcaption::Frame& f, int x, int y) {
    return f.Bytes().data() + (static_cast<std::size_t>(y) * kWidth + x) * 4;
  };
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{3, 2}, {30, 6}, {12, 4}}) {
    std::fill_n(pixel(layer, x, y), 4, 255);
  }
  const kelcaption::Frame::InkBox box = layer.FindInk();
  EXPECT_EQ(std::vector<int>({box.first, box.last, box.left, box.right}), std::vector<int>({2, 7, 3, 31}));

  std::fill(frame.Bytes().begin(), frame.Bytes().end(), std::uint8_t{0x40});
  kelcaption::Frame other(kWidth + 1, kHeight);
  std::fill(other.Bytes().begin(), other.Bytes().end(), std::uint8_t{255});
  frame.Composite(other);
  EXPECT_EQ(std::count(frame.Bytes().begin(), frame.Bytes().end(), std::uint8_t{0x40}),
            static_cast<std::ptrdiff_t>(frame.Bytes().size()));
  // Only the box is laid: a pixel outside it is not, though it has ink.
  std::fill_n(pixel(layer, 0, 0), 4, 255);
  frame.Composite(layer, box);
  EXPECT_EQ(std::count(frame.Bytes().begin(), frame.Bytes().end(), std::uint8_t{255}), 3 * 4);
  EXPECT_EQ(*pixel(frame, 30, 6), 255);

  layer.Clear(box);
  EXPECT_EQ(std::count(layer.Bytes().begin(), layer.Bytes().end(), std::uint8_t{0}),
            static_cast<std::ptrdiff_t>(layer.Bytes().size()) - 4);
}

}  // namespace

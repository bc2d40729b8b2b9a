#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "kelcaption/Frame.h"

namespace {

// Premultiplied "over" of one pixel, the formula laying a layer must keep to the byte.
void Over(const std::uint8_t* src, std::uint8_t* dst) {
  const unsigned keep = 255u - src[3];
  for (int c = 0; c < 4; ++c) {
    const unsigned t = dst[c] * keep + 128u;
    dst[c] = static_cast<std::uint8_t>(src[c] + ((t + (t >> 8)) >> 8));
  }
}

// Runs of 16 layer pixels that are wholly clear, wholly opaque or mixed, in every order, a box
// whose rows end in a part run, and pixels outside the box that must stay as they were.
TEST(FrameComposite, LaysTheLayerOverTheBoxAsPremultipliedOver) {
  constexpr int kWidth = 70, kHeight = 4;
  kelcaption::Frame frame(kWidth, kHeight), layer(kWidth, kHeight);
  std::mt19937 random(11);
  std::uniform_int_distribution<int> byte(0, 255);
  const auto premultiplied = [&](std::uint8_t* px, int alpha) {
    px[3] = static_cast<std::uint8_t>(alpha);
    for (int c = 0; c < 3; ++c) px[c] = static_cast<std::uint8_t>(byte(random) * alpha / 255);
  };
  for (int i = 0; i < kWidth * kHeight; ++i) premultiplied(frame.Bytes().data() + i * 4, byte(random));
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int kind = (x / 16 + y) % 3;  // clear, opaque, mixed
      const int alpha = kind == 0 ? 0 : kind == 1 ? 255 : (x % 3 == 0 ? 0 : x % 3 == 1 ? 255 : byte(random));
      premultiplied(layer.Bytes().data() + (y * kWidth + x) * 4, alpha);
    }
  }
  const kelcaption::Frame::InkBox box{1, 4, 3, 3 + 16 * 3 + 9};
  std::vector<std::uint8_t> expected = frame.Bytes();
  for (int y = box.first; y < box.last; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const std::size_t at = static_cast<std::size_t>(y * kWidth + x) * 4;
      Over(layer.Bytes().data() + at, expected.data() + at);
    }
  }
  frame.Composite(layer, box);
  EXPECT_EQ(frame.Bytes(), expected);
}

// The ink box against a pixel-by-pixel search: single inked pixels at the edges and in the
// middle of rows of a width that is not a multiple of eight, several per frame, and none; and
// clearing that box leaves nothing behind.
TEST(FrameInk, BoxHoldsEveryPixelWithAlphaAndNoMore) {
  constexpr int kWidth = 45, kHeight = 6;
  kelcaption::Frame frame(kWidth, kHeight);
  std::mt19937 random(5);
  std::uniform_int_distribution<int> column(0, kWidth - 1), row(0, kHeight - 1), count(0, 3);
  const std::vector<std::vector<int>> fixed = {{0, 0}, {kWidth - 1, kHeight - 1}, {7, 2}, {8, 2}, {kWidth - 9, 3}};
  for (int round = 0; round < 200; ++round) {
    std::fill(frame.Bytes().begin(), frame.Bytes().end(), std::uint8_t{0});
    std::vector<std::vector<int>> inked;
    if (round < static_cast<int>(fixed.size())) inked.push_back(fixed[static_cast<std::size_t>(round)]);
    for (int n = count(random); n > 0; --n) inked.push_back({column(random), row(random)});
    kelcaption::Frame::InkBox expected{};
    bool any = false;
    for (const auto& p : inked) {
      // Any byte counts: alpha on even rounds, blue on odd ones.
      frame.Bytes()[static_cast<std::size_t>(p[1] * kWidth + p[0]) * 4 + (round % 2 == 0 ? 3 : 0)] = 1;
      expected = any ? kelcaption::Frame::InkBox{std::min(expected.first, p[1]), std::max(expected.last, p[1] + 1),
                                                  std::min(expected.left, p[0]), std::max(expected.right, p[0] + 1)}
                     : kelcaption::Frame::InkBox{p[1], p[1] + 1, p[0], p[0] + 1};
      any = true;
    }
    const kelcaption::Frame::InkBox box = frame.FindInk();
    EXPECT_EQ(std::vector<int>({box.first, box.last, box.left, box.right}),
              std::vector<int>({expected.first, expected.last, expected.left, expected.right}))
        << "round " << round;
    // Clearing the box clears the frame.
    frame.Clear(box);
    EXPECT_EQ(std::count(frame.Bytes().begin(), frame.Bytes().end(), std::uint8_t{0}),
              static_cast<std::ptrdiff_t>(frame.Bytes().size()))
        << "round " << round;
  }
}

}  // namespace

#include <gtest/gtest.h>

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

}  // namespace

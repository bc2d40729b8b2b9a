#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "kelcaptioningui/CaptionLayer.h"
#include "render/CaptionLayerRows.h"

namespace {

using kelcore::RectT;

// Premultiplied "over" of one pixel, the formula laying a layer must keep to the byte.
void Over(const std::uint8_t* src, std::uint8_t* dst) {
  const unsigned keep = 255u - src[3];
  for (int c = 0; c < 4; ++c) {
    const unsigned t = dst[c] * keep + 128u;
    dst[c] = static_cast<std::uint8_t>(src[c] + ((t + (t >> 8)) >> 8));
  }
}

// Pixel blocks with a row step of their own, so that a kernel that steps by the width shows.
struct Block {
  int width, height, rowBytes;
  std::vector<std::uint8_t> bytes;
  Block(int w, int h, int padPixels = 0)
      : width(w), height(h), rowBytes((w + padPixels) * 4), bytes(static_cast<std::size_t>(rowBytes) * h, 0) {}
  std::uint8_t* At(int x, int y) { return bytes.data() + static_cast<std::size_t>(y) * rowBytes + x * 4; }
};

using CompositeFunction = void (*)(const std::uint8_t*, int, std::uint8_t*, int, int, int, const RectT<int>*);

// Runs of 16 and of 8 layer pixels that are wholly clear, wholly opaque or mixed, in every order,
// from the box's left edge and across it, a box whose rows end in a part run, and pixels outside
// the box (and in the frame's row padding) that must stay as they were; through the exported
// function and through the rows that processors without AVX2 run.
TEST(CaptionLayerComposite, LaysTheLayerOverTheBoxAsPremultipliedOver) {
  for (const CompositeFunction composite : {&kelcaptioningui::CompositeCaptionLayer,
                                            &kelcaptioningui::CompositeCaptionLayerPlain}) {
    constexpr int kWidth = 70, kHeight = 6;
    Block frame(kWidth, kHeight, 3), layer(kWidth, kHeight, 1);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> byte(0, 255);
    const auto premultiplied = [&](std::uint8_t* px, int alpha) {
      px[3] = static_cast<std::uint8_t>(alpha);
      for (int c = 0; c < 3; ++c) px[c] = static_cast<std::uint8_t>(byte(random) * alpha / 255);
    };
    for (std::size_t i = 0; i < frame.bytes.size(); i += 4) premultiplied(frame.bytes.data() + i, byte(random));
    const RectT<int> box{3, 1, 16 * 3 + 9, kHeight - 1};
    for (int y = 0; y < kHeight; ++y) {
      const int run = y <= 2 ? 16 : 8, from = y == kHeight - 1 ? 0 : box.x;
      for (int x = 0; x < kWidth; ++x) {
        const int kind = ((x - from + 48) / run + y) % 3;  // clear, opaque, mixed
        const int alpha = kind == 0 ? 0 : kind == 1 ? 255 : (x % 3 == 0 ? 0 : x % 3 == 1 ? 255 : byte(random));
        premultiplied(layer.At(x, y), alpha);
      }
    }
    std::vector<std::uint8_t> expected = frame.bytes;
    for (int y = box.y; y < box.y + box.height; ++y) {
      for (int x = box.x; x < box.x + box.width; ++x) {
        Over(layer.At(x, y), expected.data() + (frame.At(x, y) - frame.bytes.data()));
      }
    }
    composite(layer.bytes.data(), layer.rowBytes, frame.bytes.data(), frame.rowBytes, kWidth, kHeight, &box);
    EXPECT_EQ(frame.bytes, expected);
  }
}

// Without a box the whole frame is laid; a box reaching past the frame (or wholly off it) is cut
// to the frame; blocks that cannot be read are left alone.
TEST(CaptionLayerComposite, BoxIsClippedToTheFrameAndBadBlocksLayNothing) {
  constexpr int kWidth = 21, kHeight = 5;
  Block layer(kWidth, kHeight);
  std::fill(layer.bytes.begin(), layer.bytes.end(), std::uint8_t{255});
  const auto laid = [&](const RectT<int>* box) {
    Block frame(kWidth, kHeight);
    kelcaptioningui::CompositeCaptionLayer(layer.bytes.data(), layer.rowBytes, frame.bytes.data(), frame.rowBytes,
                                           kWidth, kHeight, box);
    std::vector<int> opaque;  // the frame's opaque pixels, as y * width + x
    for (int i = 0; i < kWidth * kHeight; ++i)
      if (frame.bytes[static_cast<std::size_t>(i) * 4 + 3] == 255) opaque.push_back(i);
    return opaque;
  };
  const auto area = [&](int left, int top, int right, int bottom) {
    std::vector<int> pixels;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) pixels.push_back(y * kWidth + x);
    return pixels;
  };
  EXPECT_EQ(laid(nullptr), area(0, 0, kWidth, kHeight));
  const RectT<int> overhanging{-4, 3, 30, 9}, far{kWidth, 0, 5, 5}, huge{2, 1, 2147483647, 2147483647};
  EXPECT_EQ(laid(&overhanging), area(0, 3, kWidth, kHeight));
  EXPECT_EQ(laid(&far), area(0, 0, 0, 0));
  EXPECT_EQ(laid(&huge), area(2, 1, kWidth, kHeight));

  Block frame(kWidth, kHeight);
  const std::vector<std::uint8_t> untouched = frame.bytes;
  kelcaptioningui::CompositeCaptionLayer(nullptr, layer.rowBytes, frame.bytes.data(), frame.rowBytes, kWidth, kHeight);
  kelcaptioningui::CompositeCaptionLayer(layer.bytes.data(), layer.rowBytes, frame.bytes.data(), kWidth * 4 - 1,
                                         kWidth, kHeight);
  kelcaptioningui::CompositeCaptionLayer(layer.bytes.data(), -layer.rowBytes, frame.bytes.data(), frame.rowBytes,
                                         kWidth, kHeight);
  kelcaptioningui::CompositeCaptionLayer(layer.bytes.data(), layer.rowBytes, frame.bytes.data(), frame.rowBytes, 0,
                                         kHeight);
  EXPECT_EQ(frame.bytes, untouched);
  kelcaptioningui::CompositeCaptionLayer(layer.bytes.data(), layer.rowBytes, nullptr, frame.rowBytes, kWidth, kHeight);
}

// The ink box against a pixel-by-pixel search: single inked pixels at the edges and in the
// middle of rows of a width that is not a multiple of eight, several per layer, and none; and
// every inked pixel lies in the box.
TEST(CaptionLayerInk, BoxHoldsEveryPixelThatIsNotAllZerosAndNoMore) {
  constexpr int kWidth = 45, kHeight = 6;
  Block layer(kWidth, kHeight, 2);
  std::mt19937 random(5);
  std::uniform_int_distribution<int> column(0, kWidth - 1), row(0, kHeight - 1), count(0, 3);
  const std::vector<std::vector<int>> fixed = {{0, 0}, {kWidth - 1, kHeight - 1}, {7, 2}, {8, 2}, {kWidth - 9, 3}};
  for (int round = 0; round < 200; ++round) {
    std::fill(layer.bytes.begin(), layer.bytes.end(), std::uint8_t{0});
    // Ink in the row padding is not the layer's.
    layer.At(kWidth, round % kHeight)[3] = 1;
    std::vector<std::vector<int>> inked;
    if (round < static_cast<int>(fixed.size())) inked.push_back(fixed[static_cast<std::size_t>(round)]);
    for (int n = count(random); n > 0; --n) inked.push_back({column(random), row(random)});
    std::vector<int> expected{0, 0, 0, 0};  // left, top, right, bottom
    bool any = false;
    for (const auto& p : inked) {
      // Any byte counts: alpha on even rounds, blue on odd ones.
      layer.At(p[0], p[1])[round % 2 == 0 ? 3 : 0] = 1;
      expected = any ? std::vector<int>{std::min(expected[0], p[0]), std::min(expected[1], p[1]),
                                        std::max(expected[2], p[0] + 1), std::max(expected[3], p[1] + 1)}
                     : std::vector<int>{p[0], p[1], p[0] + 1, p[1] + 1};
      any = true;
    }
    const RectT<int> box = kelcaptioningui::FindCaptionLayerInk(layer.bytes.data(), layer.rowBytes, kWidth, kHeight);
    EXPECT_EQ(std::vector<int>({box.x, box.y, box.x + box.width, box.y + box.height}), expected) << "round " << round;
    // Clearing the box clears the layer.
    for (int y = box.y; y < box.y + box.height; ++y) std::fill_n(layer.At(box.x, y), box.width * 4, std::uint8_t{0});
    for (int y = 0; y < kHeight; ++y) {
      EXPECT_EQ(std::count(layer.At(0, y), layer.At(kWidth, y), std::uint8_t{0}), kWidth * 4)
          << "round " << round << ", row " << y;
    }
  }
  EXPECT_EQ(kelcaptioningui::FindCaptionLayerInk(nullptr, 4, 1, 1).width, 0);
  EXPECT_EQ(kelcaptioningui::FindCaptionLayerInk(layer.bytes.data(), 3, 1, 1).width, 0);
}

}  // namespace

#include "render/WindowPlacement.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/ModelBuilders.h"

namespace {

using kelcaptioning::kCaptioningColor_Black, kelcore::RectT, kel_test::GridWindow;

auto Grid() { return kel_test::Model(kelcaptioning::kStreamFormat_CEA608_CC1); }
auto Open() { return kel_test::Model(kelcaptioning::kStreamFormat_OpenCaptions); }
constexpr RectT<float> kHD{0, 0, 1920, 1080};

// The window rectangle; the cell rectangle goes to `cell`.
RectT<float> Place(const kelcaptioning::CaptioningRenderableModelPtr& model,
                   const kelcaptioning::CaptioningRenderableModelWindowPtr& window, RectT<float> frame,
                   RectT<float>* cell = nullptr) {
  RectT<float> windowRect{}, cellRect{};
  kelcaptioningui::ComputeWindowRects(*model, *window, frame, cellRect, windowRect);
  if (cell) *cell = cellRect;
  return windowRect;
}

TEST(WindowPlacement, OpenCaptionsKeepTheCentredAreaWithWholeNumberCorner) {
  auto window = GridWindow(0, 0, 0, kCaptioningColor_Black, 0.75f);
  RectT<float> cell{};
  EXPECT_EQ(Place(Open(), window, kHD, &cell), (RectT<float>{240, 135, 1440, 810}));
  EXPECT_EQ(cell, (RectT<float>{}));  // open captions have no cells
  window->SetCaptionsAreaRatio(0.9f);
  EXPECT_EQ(Place(Open(), window, {10.3f, 0, 101, 51}), (RectT<float>{15, 3, 101.0f * 0.9f, 51.0f * 0.9f}));
}

TEST(WindowPlacement, FullGridWindowFillsTheAreaWhateverItsAnchor) {
  for (int anchor = 0; anchor <= 9; ++anchor) {
    RectT<float> cell{};
    EXPECT_EQ(Place(Grid(), GridWindow(32, 15, anchor), kHD, &cell), (RectT<float>{240, 135, 1440, 810})) << anchor;
    EXPECT_EQ(cell, (RectT<float>{0, 0, 45, 54}));
  }
}

TEST(WindowPlacement, AnchoredWindowsAreClampedIntoTheCaptionsArea) {
  constexpr RectT<float> shifted{-100, 0, 1920, 1080};
  const struct {
    int columns, anchor;
    RectT<float> frame, expected;
  } cases[] = {
      // The anchor table puts a bottom-right window at (240 - 450, 135 - 108); the clamps pull it back.
      {10, 8, kHD, {240, 135, 450, 108}},
      {10, 4, {100, 50, 1920, 1080}, {340, 185, 450, 108}},
      // Wider than the area: flush with the right margin, starting left of the frame.
      {40, 0, kHD, {-120, 135, 1800, 108}},
      // The anchor point ignores the frame's origin; only the clamps see it.
      {10, 0, shifted, {240, 135, 450, 108}},
      {10, 2, shifted, {140, 135, 450, 108}},
      // Unknown anchors start at the origin and are clamped...
      {10, -2147483647 - 1, kHD, {240, 135, 450, 108}},
      // ...unless the frame lies left of the origin, where the origin start is inside the area.
      {10, 9, {-500, -300, 1920, 1080}, {0, 0, 450, 108}},
      // There centred anchors move the window back by half its width and height from the anchor point.
      {10, 1, {-500, -300, 1920, 1080}, {240 - 225, 135, 450, 108}},
      {10, 4, {-500, -300, 1920, 1080}, {240 - 225, 135 - 54, 450, 108}},
      {10, 8, {-500, -300, 1920, 1080}, {240 - 450, 135 - 108, 450, 108}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Place(Grid(), GridWindow(c.columns, 2, c.anchor), c.frame), c.expected) << c.columns << "/" << c.anchor;
  }
}

TEST(WindowPlacement, SinglePrecisionRatioTruncatesGridMarginsButRoundsOpenCorners) {
  auto window = GridWindow(32, 15, 0, kCaptioningColor_Black, 0.8f);
  EXPECT_EQ(Place(Grid(), window, kHD), (RectT<float>{191, 107, 1536, 864}));
  EXPECT_EQ(Place(Open(), window, kHD), (RectT<float>{192, 108, 1536, 864}));
}

TEST(WindowPlacement, CellSizeFollowsTheModelsGrid) {
  auto teletext = kel_test::Model(kelcaptioning::kStreamFormat_TeletextLevel10);  // 23 x 40
  RectT<float> cell{};
  // Bottom centre starts above and left of the frame; the top-left clamps win.
  EXPECT_EQ(Place(teletext, GridWindow(40, 2, 7, kCaptioningColor_Black, 1.0f), {0, 0, 720, 576}, &cell),
            (RectT<float>{0, 0, 720, 2.0f * (576.0f / 23.0f)}));
  EXPECT_EQ(cell, (RectT<float>{0, 0, 18.0f, 576.0f / 23.0f}));
}

TEST(WindowPlacement, HugeOrBrokenFramesDoNotTrap) {
  // Past the 32-bit range, or not a number: positions saturate instead of being undefined.
  auto window = GridWindow(32, 15);
  EXPECT_EQ(Place(Open(), window, {3e9f, 0, 1e10f, 1080}).x, 2147483647.0f);
  EXPECT_EQ(Place(Open(), window, {std::numeric_limits<float>::quiet_NaN(), 0, 100, 100}).x, 0.0f);
  EXPECT_EQ(Place(Grid(), window, {0, 0, std::numeric_limits<float>::infinity(), 1080}).y, 135.0f);
}

}  // namespace

#include "render/WindowPlacement.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/ModelBuilders.h"

namespace {

using kelcaptioning::kStreamFormat_CEA608_CC1;
using kelcaptioning::kStreamFormat_OpenCaptions;
using kelcore::RectT;
using kel_test::GridWindow;
using kel_test::Model;

struct Placement {
  RectT<float> window;
  RectT<float> cell;
};

Placement Place(const kelcaptioning::CaptioningRenderableModel& model,
                const kelcaptioning::CaptioningRenderableModelWindow& window, RectT<float> frame) {
  Placement p{};
  kelcaptioningui::ComputeWindowRects(model, window, frame, p.cell, p.window);
  return p;
}

constexpr RectT<float> kHD{0, 0, 1920, 1080};

TEST(WindowPlacement, OpenCaptionsKeepTheCentredAreaWithWholeNumberCorner) {
  auto model = Model(kStreamFormat_OpenCaptions);
  auto window = GridWindow(0, 0, 0, kelcaptioning::kCaptioningColor_Black, 0.75f);

  Placement p = Place(*model, *window, kHD);
  EXPECT_EQ(p.window, (RectT<float>{240, 135, 1440, 810}));
  EXPECT_EQ(p.cell, (RectT<float>{}));

  window->SetCaptionsAreaRatio(0.9f);
  p = Place(*model, *window, {10.3f, 0, 101, 51});
  EXPECT_EQ(p.window.x, 15.0f);
  EXPECT_EQ(p.window.y, 3.0f);
  EXPECT_EQ(p.window.width, 101.0f * 0.9f);
  EXPECT_EQ(p.window.height, 51.0f * 0.9f);
  EXPECT_FLOAT_EQ(p.window.width, 90.9f);
  EXPECT_FLOAT_EQ(p.window.height, 45.9f);
}

TEST(WindowPlacement, FullGridWindowFillsTheAreaWhateverItsAnchor) {
  auto model = Model(kStreamFormat_CEA608_CC1);
  for (int anchor = 0; anchor <= 9; ++anchor) {
    auto window = GridWindow(32, 15, anchor);
    Placement p = Place(*model, *window, kHD);
    EXPECT_EQ(p.window, (RectT<float>{240, 135, 1440, 810})) << "anchor " << anchor;
    EXPECT_EQ(p.cell, (RectT<float>{0, 0, 45, 54}));
  }
}

TEST(WindowPlacement, AnchoredWindowsAreClampedIntoTheCaptionsArea) {
  auto model = Model(kStreamFormat_CEA608_CC1);
  // The anchor table puts a bottom-right window at (240 - 450, 135 - 108); the clamps pull it back.
  EXPECT_EQ(Place(*model, *GridWindow(10, 2, 8), kHD).window, (RectT<float>{240, 135, 450, 108}));
  EXPECT_EQ(Place(*model, *GridWindow(10, 2, 4), {100, 50, 1920, 1080}).window,
            (RectT<float>{340, 185, 450, 108}));

  // Wider than the area: flush with the right margin, starting left of the frame.
  Placement wide = Place(*model, *GridWindow(40, 2, 0), kHD);
  EXPECT_EQ(wide.window, (RectT<float>{-120, 135, 1800, 108}));

  // The anchor point ignores the frame's origin; only the clamps see it.
  constexpr RectT<float> shifted{-100, 0, 1920, 1080};
  EXPECT_EQ(Place(*model, *GridWindow(10, 2, 0), shifted).window.x, 240.0f);
  EXPECT_EQ(Place(*model, *GridWindow(10, 2, 2), shifted).window.x, 140.0f);
}

TEST(WindowPlacement, UnknownAnchorsStartAtTheOriginAndAreClamped) {
  auto model = Model(kStreamFormat_CEA608_CC1);
  for (int anchor : {9, -1, -2147483647 - 1, 1000}) {
    EXPECT_EQ(Place(*model, *GridWindow(10, 2, anchor), kHD).window, (RectT<float>{240, 135, 450, 108}))
        << "anchor " << anchor;
  }
  // With a frame left of the origin, the origin start is inside the area and stays.
  EXPECT_EQ(Place(*model, *GridWindow(10, 2, 9), {-500, -300, 1920, 1080}).window,
            (RectT<float>{0, 0, 450, 108}));
}

TEST(WindowPlacement, SinglePrecisionRatioTruncatesGridMarginsButRoundsOpenCorners) {
  auto grid = Model(kStreamFormat_CEA608_CC1);
  auto open = Model(kStreamFormat_OpenCaptions);
  auto window = GridWindow(32, 15, 0, kelcaptioning::kCaptioningColor_Black, 0.8f);
  EXPECT_EQ(Place(*grid, *window, kHD).window, (RectT<float>{191, 107, 1536, 864}));
  EXPECT_EQ(Place(*open, *window, kHD).window, (RectT<float>{192, 108, 1536, 864}));

  window->SetCaptionsAreaRatio(1.0f);
  EXPECT_EQ(Place(*grid, *window, kHD).window, kHD);
  EXPECT_EQ(Place(*open, *window, kHD).window, kHD);
}

TEST(WindowPlacement, CellSizeFollowsTheModelsGrid) {
  auto teletext = Model(kelcaptioning::kStreamFormat_TeletextLevel10);  // 23 x 40
  Placement p = Place(*teletext, *GridWindow(40, 2, 7, kelcaptioning::kCaptioningColor_Black, 1.0f), {0, 0, 720, 576});
  EXPECT_EQ(p.cell.width, 18.0f);
  EXPECT_EQ(p.cell.height, 576.0f / 23.0f);
  // Bottom centre starts above and left of the frame; the top-left clamps win.
  EXPECT_EQ(p.window, (RectT<float>{0, 0, 720, 2.0f * (576.0f / 23.0f)}));
}

TEST(WindowPlacement, HugeOrBrokenFramesDoNotTrap) {
  // Past the 32-bit range, or not a number: positions saturate instead of being undefined.
  auto open = Model(kStreamFormat_OpenCaptions);
  auto window = GridWindow(32, 15);
  Placement p = Place(*open, *window, {3e9f, 0, 1e10f, 1080});
  EXPECT_EQ(p.window.x, 2147483647.0f);
  p = Place(*open, *window, {std::numeric_limits<float>::quiet_NaN(), 0, 100, 100});
  EXPECT_EQ(p.window.x, 0.0f);
  auto grid = Model(kStreamFormat_CEA608_CC1);
  p = Place(*grid, *window, {0, 0, std::numeric_limits<float>::infinity(), 1080});
  EXPECT_EQ(p.window.y, 135.0f);
}

}  // namespace

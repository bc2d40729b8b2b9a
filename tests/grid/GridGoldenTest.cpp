#include <gtest/gtest.h>

#include "grid/CaptionSymbol.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "render/WindowPlacement.h"
#include "samples/SampleModels.h"
#include "support/PixelBuffer.h"

namespace {

using kel_test::PixelBuffer;

// The showcase grid burnt over an opaque frame, at 1920 x 1080. Golden tolerance as for text:
// 4 per channel, 0.1% of the pixels.
TEST(GridGolden, ShowcaseWindowAtFullHd) {
  PixelBuffer frame(1920, 1080);
  frame.surface()->FillRect({0.15f, 0.35f, 0.2f, 1}, {0, 0, 1920, 1080});
  kelui::inkpad::Inkpad inkpad(frame.supplier(), frame.surface());
  const auto model = kelcaption::MakeGridShowcase();
  kelcaptioningui::DrawCaption(model, &inkpad, {0, 0, 1920, 1080});
  EXPECT_EQ(frame.CompareWithGolden("grid_showcase"), "");

  // Row 2's translucent blue replaced the window fill: half alpha, not blended over it.
  kelcore::RectT<float> windowRect{}, cell{};
  kelcaptioningui::ComputeWindowRects(*model, *model->GetWindow(0), {0, 0, 1920, 1080}, cell, windowRect);
  const int x = static_cast<int>(windowRect.x + cell.width * 30.5f);  // a padding cell: no text
  const int xBlue = static_cast<int>(windowRect.x + cell.width * 3.5f);  // the space after "Red"
  const int y = static_cast<int>(windowRect.y + cell.height * 2.5f);
  EXPECT_EQ(frame.At(xBlue, y), (kel_test::Bgra{128, 0, 0, 128}));
  // Transparent padding cells leave the window fill, which replaced the frame as well.
  EXPECT_EQ(frame.At(x, y).a, 153);
}

// The caption symbol through a frame transform that enlarges it six times: the transform that
// the symbol sets composes with the one in force.
TEST(GridGolden, CaptionSymbolEnlarged) {
  PixelBuffer frame(320, 240);
  kelcore::MatrixT<float> enlarge;
  enlarge.m0 = 6;
  enlarge.m4 = 6;
  enlarge.m6 = 10;
  enlarge.m7 = 10;
  frame.surface()->SetTransform(enlarge);
  kelui::inkpad::Inkpad inkpad(frame.supplier(), frame.surface());
  kelcaptioning::TextAttributes attributes;
  attributes.SetForegroundColor({1, 1, 1, 1});
  attributes.SetBackgroundColor({0, 0, 0, 1});
  kelcaptioningui::DrawCaptionSymbol(attributes, &inkpad, {1, 1, 48.5094f, 30});
  EXPECT_EQ(frame.CompareWithGolden("grid_symbol"), "");
  // The box spans the cell's width, 18.1853 units high, from the cell's corner.
  EXPECT_EQ(frame.At(10 + 6 + 2, 10 + 6 + 2), (kel_test::Bgra{0, 0, 0, 255}));
  EXPECT_EQ(frame.At(10 + 6 * 49 - 2, 10 + 6 * 19 - 2), (kel_test::Bgra{0, 0, 0, 255}));
  EXPECT_EQ(frame.At(10 + 6 * 50, 10 + 6 * 10).a, 0);
  EXPECT_EQ(frame.At(10 + 6 * 10, 10 + 6 * 19 + 2).a, 0);
  // The panel's middle, between the two letters, is the foreground colour.
  EXPECT_EQ(frame.At(10 + 6 * 25, 10 + 6 * 4), (kel_test::Bgra{255, 255, 255, 255}));
}

TEST(GridGolden, TypicalFrame) {
  PixelBuffer frame(1920, 1080);
  kelui::inkpad::Inkpad inkpad(frame.supplier(), frame.surface());
  kelcaptioningui::DrawCaption(kelcaption::MakeTypicalGridFrame(), &inkpad, {0, 0, 1920, 1080});
  EXPECT_EQ(frame.CompareWithGolden("grid_typical"), "");
}

}  // namespace

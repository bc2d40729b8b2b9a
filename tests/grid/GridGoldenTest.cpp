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
  const int y = static_cast<int>(windowRect.y + cell.height * 2.5f);
  const auto at = [&](float column) { return frame.At(static_cast<int>(windowRect.x + cell.width * column), y); };
  EXPECT_EQ(at(3.5f), (kel_test::Bgra{128, 0, 0, 128}));  // the space after "Red"
  // Transparent padding cells leave the window fill, which replaced the frame as well.
  EXPECT_EQ(at(30.5f).a, 153);
}

// The caption symbol through a frame transform that enlarges it six times: the transform that
// the symbol sets composes with the one in force.
TEST(GridGolden, CaptionSymbolEnlarged) {
  PixelBuffer frame(320, 240);
  frame.surface()->SetTransform({6, 0, 0, 0, 6, 0, 10, 10, 1});
  kelui::inkpad::Inkpad inkpad(frame.supplier(), frame.surface());
  kelcaptioning::TextAttributes attributes;
  attributes.SetForegroundColor({1, 1, 1, 1});
  attributes.SetBackgroundColor({0, 0, 0, 1});
  kelcaptioningui::DrawCaptionSymbol(attributes, &inkpad, {1, 1, 48.5094f, 30});
  EXPECT_EQ(frame.CompareWithGolden("grid_symbol"), "");
}

}  // namespace

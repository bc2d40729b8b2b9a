// What lies under a caption's text and symbol: window and background fills replace the pixels,
// while glyphs, outlines and the symbol's shapes are laid over them.
#include <gtest/gtest.h>

#include <memory>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "samples/SampleModels.h"
#include "support/ModelBuilders.h"
#include "support/PixelBuffer.h"

namespace {

using kel_test::Bgra, kel_test::PixelBuffer;
using kelcaptioning::CaptioningColor;

const CaptioningColor kGrey(0.4f, 0.4f, 0.4f), kBlue(0, 0, 1), kYellow(1, 1, 0), kHalfRed(1, 0, 0, 0.5f);
constexpr Bgra kGreyPixel{102, 102, 102, 255};

// One line-21 cell at the top-left of a 1536 x 600 frame: cells are 48 x 40, and the window, one
// cell large, is filled opaque grey.
PixelBuffer& DrawCell(PixelBuffer& frame, char32_t character, const CaptioningColor& foreground,
                      const CaptioningColor& background) {
  kelcaptioning::TextAttributes attributes;
  attributes.SetForegroundColor(foreground);
  attributes.SetBackgroundColor(background);
  auto window = kel_test::GridWindow(1, 1, 0, kGrey, 1.0f);
  window->AppendRow(kel_test::Row({kel_test::Cell(character, attributes)}));
  auto model = kel_test::Model();
  model->AddWindow(0, window);
  kelui::inkpad::Inkpad inkpad(frame.supplier(), frame.surface());
  kelcaptioningui::DrawCaption(model, &inkpad, {0, 0, 1536, 600});
  return frame;
}

// The symbol spans the cell's 48 pixels (symbol x times 1.979) at its own 18.19 pixels of height.
// Pixel (1, 1) lies in the box outside the panel, (10, 9) in the left letter C, (24, 3) on the
// panel above the letters.
TEST(Blending, CaptionSymbolTakesTheCellColoursAndATransparentBackgroundShowsTheWindow) {
  PixelBuffer coloured(1536, 600);
  DrawCell(coloured, U'\u263A', kYellow, kBlue);
  EXPECT_EQ(coloured.At(1, 1), (Bgra{255, 0, 0, 255}));
  EXPECT_EQ(coloured.At(10, 9), (Bgra{255, 0, 0, 255}));
  EXPECT_EQ(coloured.At(24, 3), (Bgra{0, 255, 255, 255}));
  EXPECT_EQ(coloured.At(1, 30), (Bgra{255, 0, 0, 255}));  // below the box: the cell's own background

  // Box and letters are invisible: the window's grey around the panel, the panel under the letters.
  PixelBuffer clear(1536, 600);
  DrawCell(clear, U'\u263A', kYellow, kelcaptioning::kCaptioningColor_Transparent);
  EXPECT_EQ(clear.At(1, 1), kGreyPixel);
  EXPECT_EQ(clear.At(1, 17), kGreyPixel);
  EXPECT_EQ(clear.At(10, 9), (Bgra{0, 255, 255, 255}));
  EXPECT_EQ(clear.At(24, 3), (Bgra{0, 255, 255, 255}));
  EXPECT_EQ(clear.At(1, 30), kGreyPixel);
}

// The most inked pixel of red text: where the glyph covers it fully.
Bgra Reddest(const PixelBuffer& frame, int width, int height) {
  Bgra best;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (frame.At(x, y).r > best.r) best = frame.At(x, y);
    }
  }
  return best;
}

TEST(Blending, HalfTransparentTextBlendsOverAnOpaqueCellOrSpan) {
  PixelBuffer cell(1536, 600);
  EXPECT_EQ(Reddest(DrawCell(cell, U'H', kHalfRed, kBlue), 48, 40), (Bgra{127, 0, 128, 255}));

  const auto spanFrame = [](kelcaptioning::TextEdge edge) {
    auto frame = std::make_unique<PixelBuffer>(400, 100);
    const auto style = kelcaption::SpanStyle(kHalfRed, kBlue, edge, 2.0f);
    kelui::inkpad::Inkpad inkpad(frame->supplier(), frame->surface());
    kelcaptioningui::DrawCaption(kelcaption::MakeOpenModel({{{{"HIH", style, 60}}, 10, 10, 80, 12}}, {400, 100}),
                                 &inkpad, {0, 0, 400, 100});
    return frame;
  };
  EXPECT_EQ(Reddest(*spanFrame(kelcaptioning::kTextEdge_None), 400, 100), (Bgra{127, 0, 128, 255}));
  // An outline's fill is opaque whatever the foreground's alpha.
  EXPECT_EQ(Reddest(*spanFrame(kelcaptioning::kTextEdge_Uniform), 400, 100), (Bgra{0, 0, 255, 255}));
}

}  // namespace

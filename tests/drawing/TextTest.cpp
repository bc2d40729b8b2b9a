#include <gtest/gtest.h>

#include <cmath>

#include "kelui/inkpad/Handles.h"
#include "support/PixelBuffer.h"

namespace {

using kel_test::PixelBuffer;
using kel_test::U16;
using kelui::inkpad::BrushP;
using kelui::inkpad::Color;
using kelui::inkpad::FontP;

// Top and bottom rows inked by `text` drawn with its baseline at (10, `baseline`).
std::pair<int, int> InkRows(const FontP& font, const char* text, float baseline) {
  PixelBuffer buffer(200, 120);
  buffer.surface()->DrawString(BrushP(buffer.supplier(), Color{0, 0, 0, 1}), font, U16(text), {10, baseline}, 0, 0, 0);
  int top = -1, bottom = -1;
  for (int y = 0; y < buffer.height(); ++y) {
    for (int x = 0; x < 100; ++x) {
      if (buffer.At(x, y).a > 64) {
        if (top < 0) top = y;
        bottom = y;
      }
    }
  }
  return {top, bottom};
}

TEST(SurfaceText, BaselineSplitsAscentAboveFromDescentBelow) {
  PixelBuffer fonts(1, 1);
  FontP font(fonts.supplier(), U16("Arial"), U16(""), 60.0f);
  const float baseline = 80.0f;
  // "H" sits on the baseline, "p" hangs below it.
  const auto [hTop, hBottom] = InkRows(font, "H", baseline);
  EXPECT_EQ(hBottom, static_cast<int>(baseline) - 1);
  EXPECT_GT(hTop, baseline - font->GetAscent());
  EXPECT_LT(hTop, baseline - font->GetAscent() * 0.6f);

  const auto [pTop, pBottom] = InkRows(font, "p", baseline);
  EXPECT_GT(pBottom, baseline + 5);
  EXPECT_LE(pBottom, baseline + font->GetDescent());
  EXPECT_GT(pTop, baseline - font->GetAscent());
}

TEST(SurfaceText, RectangleOptionOneCentresOnTheRectangle) {
  PixelBuffer buffer(200, 100);
  FontP font(buffer.supplier(), U16("Lucida Console"), U16(""), 40.0f);
  const kelcore::RectT<float> rect{50, 10, 60, 80};
  buffer.surface()->DrawStringInRect(BrushP(buffer.supplier(), Color{1, 1, 1, 1}), font, U16("O"), rect, 1);
  const std::vector<int> ink = buffer.InkBounds();
  ASSERT_GE(ink[0], 0);
  EXPECT_NEAR((ink[0] + ink[2] + 1) * 0.5, rect.x + rect.width * 0.5, 1.0);
  // The baseline is one font size below the top; "O" overshoots it by a pixel or so.
  EXPECT_NEAR(ink[3], rect.y + 40.0f, 1.5);
}

TEST(SurfaceText, MeasuresWithKerningAndHonoursLength) {
  PixelBuffer buffer(10, 10);
  auto* surface = buffer.surface();
  FontP font(buffer.supplier(), U16("Arial"), U16(""), 54.0f);
  const float av = surface->MeasureStringWidth(font, u"AV", -1);
  const float a = surface->MeasureStringWidth(font, u"A", -1);
  const float v = surface->MeasureStringWidth(font, u"V", -1);
  EXPECT_LT(av, a + v);
  EXPECT_FLOAT_EQ(surface->MeasureStringWidth(font, u"AV", 1), a);
  EXPECT_EQ(surface->MeasureStringWidth(font, u"AV", 0), 0.0f);
  EXPECT_EQ(surface->MeasureStringWidth(font, nullptr, -1), 0.0f);
  FontP mono(buffer.supplier(), U16("Courier New"), U16(""), 20.0f);
  EXPECT_FLOAT_EQ(surface->MeasureStringWidth(mono, u"iiii", -1), surface->MeasureStringWidth(mono, u"WWWW", -1));
}

}  // namespace

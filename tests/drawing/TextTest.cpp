#include <gtest/gtest.h>

#include "kelui/inkpad/Handles.h"
#include "support/PixelBuffer.h"

namespace {

using kel_test::PixelBuffer, kel_test::U16, kelui::inkpad::BrushP, kelui::inkpad::Color, kelui::inkpad::FontP;

TEST(SurfaceText, BaselineSplitsAscentAboveFromDescentBelow) {
  PixelBuffer buffer(200, 120), descender(200, 120);
  FontP font(buffer.supplier(), U16("Arial"), U16(""), 60.0f);
  const float baseline = 80.0f;
  // "H" sits on the baseline, "p" hangs below it.
  const BrushP black(buffer.supplier(), Color{0, 0, 0, 1});
  buffer.surface()->DrawString(black, font, U16("H"), {10, baseline}, 0, 0, 0);
  descender.surface()->DrawString(black, font, U16("p"), {10, baseline}, 0, 0, 0);
  const std::vector<int> h = buffer.InkBounds(), p = descender.InkBounds();
  EXPECT_EQ(h[3], static_cast<int>(baseline) - 1);
  EXPECT_GT(h[1], baseline - font->GetAscent());
  EXPECT_LT(h[1], baseline - font->GetAscent() * 0.6f);
  EXPECT_GT(p[3], baseline + 5);
  EXPECT_LE(p[3], baseline + font->GetDescent());
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

// Text is drawn as the NUL-terminated string it is measured as.
TEST(SurfaceText, DrawnTextEndsAtTheFirstNul) {
  PixelBuffer whole(200, 60), cut(200, 60);
  FontP font(whole.supplier(), U16("Arial"), U16(""), 30.0f);
  const BrushP black(whole.supplier(), Color{0, 0, 0, 1});
  kelcore::UTF16String withNul = U16("AB");
  withNul.push_back(u'\0');
  withNul += U16("CD");
  whole.surface()->DrawString(black, font, withNul, {10, 40}, 0, 0, 0);
  cut.surface()->DrawString(black, font, U16("AB"), {10, 40}, 0, 0, 0);
  EXPECT_EQ(whole.bytes(), cut.bytes());
}

// Whether `part` shows the pixels of `whole` from (left, top) on.
bool IsCropOf(const PixelBuffer& part, int width, int height, const PixelBuffer& whole, int left, int top) {
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!(part.At(x, y) == whole.At(left + x, top + y))) return false;
    }
  }
  return true;
}

// Glyphs are skipped only where they cannot reach the surface, and text past the glyph-image
// size (here 300 pixels per em, filled as outlines) is cut by the surface like any other: an
// "H" whose origin lies far left of a small surface shows its right stem there, as a crop of
// the whole letter does.
TEST(SurfaceText, TextIsCutByTheSurfaceAtAnySize) {
  for (const float size : {200.0f, 300.0f}) {
    PixelBuffer whole(400, 400), part(100, 100);
    const BrushP black(whole.supplier(), Color{0, 0, 0, 1});
    FontP font(whole.supplier(), U16("Arial"), U16(""), size);
    whole.surface()->DrawString(black, font, U16("HH"), {20, 320}, 0, 0, 0);
    part.surface()->DrawString(black, font, U16("HH"), {20 - 150, 320 - 200}, 0, 0, 0);
    EXPECT_GT(part.InkBounds()[0], -1) << size;
    EXPECT_TRUE(IsCropOf(part, 100, 100, whole, 150, 200)) << size;
  }
}

TEST(SurfaceText, MeasuresWithKerningAndHonoursLength) {
  PixelBuffer buffer(10, 10);
  auto* surface = buffer.surface();
  FontP font(buffer.supplier(), U16("Arial"), U16(""), 54.0f);
  const float a = surface->MeasureStringWidth(font, u"A", -1);
  EXPECT_LT(surface->MeasureStringWidth(font, u"AV", -1), a + surface->MeasureStringWidth(font, u"V", -1));
  EXPECT_FLOAT_EQ(surface->MeasureStringWidth(font, u"AV", 1), a);
}

}  // namespace

#include <gtest/gtest.h>

#include "gdiplus/GdiPlus.h"
#include "kelui/inkpad/Handles.h"
#include "support/OutlinedText.h"
#include "support/PixelBuffer.h"

// Text through the whole drawing layer, compared with reviewed images in tests/golden. A pixel
// may differ by 4 per channel and 0.1% of the pixels by more, which absorbs rounding differences
// between Cairo and pixman builds but not a glyph that moved or changed.

namespace {

using kel_test::PixelBuffer;
using kel_test::U16;

void DrawLine(PixelBuffer& buffer, const char* face, float size, const char* utf8, float x, float baseline) {
  buffer.surface()->FillRect({1, 1, 1, 1}, {0, 0, static_cast<float>(buffer.width()), static_cast<float>(buffer.height())});
  kelui::inkpad::FontP font(buffer.supplier(), U16(face), U16(""), size);
  kelui::inkpad::BrushP brush(buffer.supplier(), kelui::inkpad::Color{0.1f, 0.1f, 0.1f, 1});
  buffer.surface()->DrawString(brush, font, U16(utf8), {x, baseline}, 0, 0, 0.0f);
}

TEST(GoldenText, KernedLatin) {
  PixelBuffer buffer(360, 60);
  DrawLine(buffer, "Arial", 36.0f, "AVATAR Tokyo WAVE", 6, 44);
  EXPECT_EQ(buffer.CompareWithGolden("text_kerning"), "");
}

TEST(GoldenText, ArabicJoinsRightToLeft) {
  PixelBuffer buffer(300, 70);
  DrawLine(buffer, "Arial", 36.0f, "\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645", 6, 46);
  EXPECT_EQ(buffer.CompareWithGolden("text_arabic"), "");
}

TEST(GoldenText, HebrewRightToLeft) {
  PixelBuffer buffer(260, 60);
  DrawLine(buffer, "Times New Roman", 36.0f, "\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD", 6, 44);
  EXPECT_EQ(buffer.CompareWithGolden("text_hebrew"), "");
}

TEST(GoldenText, CombiningMarks) {
  PixelBuffer buffer(260, 70);
  DrawLine(buffer, "Arial", 36.0f, "e\u0301 a\u0308 n\u0303 o\u0302\u0323 A\u030A", 6, 50);
  EXPECT_EQ(buffer.CompareWithGolden("text_combining"), "");
}

TEST(GoldenText, ChineseThroughFallback) {
  PixelBuffer buffer(260, 60);
  DrawLine(buffer, "Arial", 36.0f, "\u5B57\u5E55\u6D4B\u8BD5 OK", 6, 44);
  EXPECT_EQ(buffer.CompareWithGolden("text_cjk"), "");
}

TEST(GoldenText, OutlinedThroughGdiPlusPath) {
  PixelBuffer buffer(380, 80);
  buffer.surface()->FillRect({0.2f, 0.4f, 0.7f, 1}, {0, 0, 380, 80});
  using namespace Gdiplus;
  GpGraphics* graphics = buffer.surface()->GetOutputGraphics()->nativeGraphics;
  GdipSetSmoothingMode(graphics, SmoothingModeAntiAlias);
  ASSERT_EQ(kel_test::DrawOutlinedText(graphics, u"Comic Sans MS", u"Outlined caption", 48.0f, FontStyleBold, {8, 6, 0, 0},
                                      0xFF000000, 5.0f, 0xFFFFFF00),
            Ok);
  EXPECT_EQ(buffer.CompareWithGolden("text_outlined"), "");
}

}  // namespace

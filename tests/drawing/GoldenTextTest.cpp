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

TEST(GoldenText, LinesOfEachScript) {
  struct Line {
    const char* golden;
    int width, height;
    const char *face, *utf8;
    float baseline;
  };
  const Line lines[] = {
      {"text_kerning", 360, 60, "Arial", "AVATAR Tokyo WAVE", 44},
      {"text_arabic", 300, 70, "Arial", "\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645", 46},
      {"text_hebrew", 260, 60, "Times New Roman", "\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD", 44},
      {"text_combining", 260, 70, "Arial", "e\u0301 a\u0308 n\u0303 o\u0302\u0323 A\u030A", 50},
      {"text_cjk", 260, 60, "Arial", "\u5B57\u5E55\u6D4B\u8BD5 OK", 44},  // through fallback
  };
  for (const Line& line : lines) {
    PixelBuffer buffer(line.width, line.height);
    buffer.surface()->FillRect({1, 1, 1, 1}, {0, 0, static_cast<float>(line.width), static_cast<float>(line.height)});
    kelui::inkpad::FontP font(buffer.supplier(), U16(line.face), U16(""), 36.0f);
    kelui::inkpad::BrushP brush(buffer.supplier(), kelui::inkpad::Color{0.1f, 0.1f, 0.1f, 1});
    buffer.surface()->DrawString(brush, font, U16(line.utf8), {6, line.baseline}, 0, 0, 0.0f);
    EXPECT_EQ(buffer.CompareWithGolden(line.golden), "") << line.golden;
  }
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

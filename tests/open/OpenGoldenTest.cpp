#include <gtest/gtest.h>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "samples/SampleModels.h"
#include "support/PixelBuffer.h"

// Subtitles through the whole library, compared with reviewed images in tests/golden (4 per
// channel, 0.1% of the pixels).

namespace {

using namespace kelcaptioning;
using kelcaption::SampleLine, kelcaption::SampleSpan, kelcaption::SpanStyle;

CaptioningRenderableModelPtr Showcase() {
  const CaptioningColor white = kCaptioningColor_White, clear = kCaptioningColor_Transparent;
  const CaptioningColor shade(0, 0, 0, 0.6f), yellow(1, 0.9f, 0.2f);
  std::vector<SampleLine> lines;
  int y = 40;
  const auto add = [&](std::vector<SampleSpan> spans) {
    lines.push_back({std::move(spans), 120, y, 84, 14});
    y += 92;
  };
  add({{"No edge on a shaded band", SpanStyle(white, shade)}});
  add({{"Edge 1: raised copy", SpanStyle(yellow, shade, kTextEdge_Raised, 2)}});
  add({{"Edge 2: depressed copy", SpanStyle(yellow, shade, kTextEdge_Depressed, 2)}});
  add({{"Edge 3: outline", SpanStyle(white, clear, kTextEdge_Uniform, 3)}});
  add({{"Edge 4: left shadow", SpanStyle(yellow, shade, kTextEdge_LeftDropShadow, 3)}});
  add({{"Edge 5: right shadow", SpanStyle(white, clear, kTextEdge_RightDropShadow, 3)}});
  add({{"width 1 ", SpanStyle(white, clear, kTextEdge_Uniform, 1)},
       {"width 2 ", SpanStyle(white, clear, kTextEdge_Uniform, 2)},
       {"width 3 ", SpanStyle(white, clear, kTextEdge_Uniform, 3)},
       {"width 4", SpanStyle(white, clear, kTextEdge_Uniform, 4)}});
  TextSpanAttributes underlined = SpanStyle(white, shade);
  underlined.SetUnderlined(true);
  add({{"Underlined ", underlined},
       {"italic ", SpanStyle(white, shade, kTextEdge_None, 0, "Times New Roman", kFontStyle_Italic)},
       {"bold ", SpanStyle(white, shade, kTextEdge_None, 0, "Arial", kFontStyle_Bold)},
       {"both", SpanStyle(yellow, shade, kTextEdge_None, 0, "Comic Sans MS", kFontStyle_BoldItalic)}});
  add({{"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD \u0645\u0631\u062D\u0628\u0627", SpanStyle(white, shade)}});
  add({{"\u5B57\u5E55\u6D4B\u8BD5\u3002\u4E2D\u6587\u5B57\u5E55", SpanStyle(white, clear, kTextEdge_Uniform, 3)}});
  // The window's transparent fill clears 0.9 of the frame; the rest keeps the frame.
  return kelcaption::MakeOpenModel(lines, {1920, 1080}, 0.9f);
}

TEST(OpenGolden, ShowcaseAtFullHd) {
  kel_test::PixelBuffer frame(1920, 1080);
  // Something to draw over: two vertical colour bands.
  frame.surface()->FillRect({0.2f, 0.45f, 0.3f, 1}, {0, 0, 960, 1080});
  frame.surface()->FillRect({0.55f, 0.5f, 0.6f, 1}, {960, 0, 960, 1080});
  kelui::inkpad::Inkpad inkpad(frame.supplier(), frame.surface());
  kelcaptioningui::DrawCaption(Showcase(), &inkpad, {0, 0, 1920, 1080});
  EXPECT_EQ(frame.CompareWithGolden("open_showcase"), "");
}

}  // namespace

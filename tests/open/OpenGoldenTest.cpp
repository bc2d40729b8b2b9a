#include <gtest/gtest.h>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "samples/SampleModels.h"
#include "support/PixelBuffer.h"

// Subtitles through the whole library, compared with reviewed images in tests/golden (4 per
// channel, 0.1% of the pixels).

namespace {

using namespace kelcaptioning;
using kelcaption::SampleLine;
using kelcaption::SampleSpan;
using kelcaption::SpanStyle;
using kel_test::PixelBuffer;

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
  // The window covers 0.9 of the frame; its transparent fill clears that area, the rest keeps
  // the frame.
  return kelcaption::MakeOpenModel(lines, {1920, 1080}, 0.9f);
}

// A frame with something to draw over: two vertical colour bands.
void PaintFrame(PixelBuffer& frame) {
  const float w = static_cast<float>(frame.width()), h = static_cast<float>(frame.height());
  frame.surface()->FillRect({0.2f, 0.45f, 0.3f, 1}, {0, 0, w * 0.5f, h});
  frame.surface()->FillRect({0.55f, 0.5f, 0.6f, 1}, {w * 0.5f, 0, w * 0.5f, h});
}

TEST(OpenGolden, ShowcaseAtFullHd) {
  PixelBuffer frame(1920, 1080);
  PaintFrame(frame);
  kelui::inkpad::Inkpad inkpad(frame.supplier(), frame.surface());
  kelcaptioningui::DrawCaption(Showcase(), &inkpad, {0, 0, 1920, 1080});
  EXPECT_EQ(frame.CompareWithGolden("open_showcase"), "");
}

TEST(OpenGolden, ShowcaseBurntAtHalfScale) {
  PixelBuffer frame(960, 540);
  PaintFrame(frame);
  // The frame's own pixels are the caller's block here.
  ASSERT_TRUE(kelcaptioningui::RenderOpenCaptions(Showcase(), {0, 0, 1920, 1080}, {1, 1},
                                                  reinterpret_cast<char*>(frame.data()), 960 * 4, {0, 0, 1920, 1080},
                                                  {0, 0, 1920, 1080}, 1920, 1080, false, 0.5f));
  EXPECT_EQ(frame.CompareWithGolden("open_showcase_half"), "");
}

TEST(OpenGolden, ShowcaseOnNarrowPixels) {
  // A 720 x 480 frame of 10:11 pixels: captions laid out on square pixels stretch to fill it.
  PixelBuffer frame(720, 480);
  PaintFrame(frame);
  kelcore::MatrixT<float> matrix;
  ASSERT_TRUE(kelcaptioningui::GetVideoFrameInverseMatrix({0, 0, 720, 480}, {0, 0, 720, 480}, 1.0f, {10, 11}, matrix));
  frame.surface()->SetTransform(matrix);
  kelui::inkpad::Inkpad inkpad(frame.supplier(), frame.surface());
  kelcaptioningui::DrawCaption(Showcase(), &inkpad, {0, 0, 720.0f * 10 / 11, 480});
  EXPECT_EQ(frame.CompareWithGolden("open_showcase_par"), "");
}

}  // namespace

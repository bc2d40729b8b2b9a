#include <gtest/gtest.h>

#include "open/SpanText.h"
#include "samples/SampleModels.h"
#include "support/OneCopyEdges.h"
#include "support/OutlinedText.h"
#include "support/PixelBuffer.h"
#include "support/RecordingSupplier.h"
#include "support/RecordingSurface.h"

namespace {

using kelcaptioning::CaptioningColor, kelcaptioning::TextSpanAttributes, kelui::inkpad::Color, kelui::inkpad::Inkpad;

TextSpanAttributes Edged(int edge, float width, const CaptioningColor& foreground = {0, 1, 0, 1}) {
  TextSpanAttributes a;
  a.SetForegroundColor(foreground);
  a.SetTextEdge(static_cast<kelcaptioning::TextEdge>(edge));
  a.SetTextEdgeWidth(width);
  return a;
}

struct Drawn {
  kel_test::RecordingSupplier supplier;
  kel_test::RecordingSurface surface;
};

// Draws into {10, 100, 80, 30}, where the 20-unit recording font (ascent 0.8, descent 0.2 of
// the size) centred puts the baseline at kBaseline.
// A span of the text "Hi".
kelcaptioning::CaptioningRenderableOpenSpanPtr HiSpan(const TextSpanAttributes& attributes, int emSize, int height) {
  kelcaptioning::CaptioningRenderableOpenSpanPtr span(new kelcaptioning::CaptioningRenderableOpenSpan());
  span->SetText(kelcore::string::AsciiToUTF16("Hi"));
  span->SetTextSpanAttributes(attributes);
  span->SetTextHeight(emSize, height);
  return span;
}

// The GDI+ graphics of a buffer, anti-aliased as span outlines are drawn.
Gdiplus::GpGraphics* AntiAliased(kel_test::PixelBuffer& buffer) {
  Gdiplus::GpGraphics* graphics = buffer.surface()->GetOutputGraphics()->nativeGraphics;
  Gdiplus::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
  return graphics;
}

void Draw(Drawn& d, const TextSpanAttributes& attributes, float s = 1.0f) {
  Inkpad inkpad(&d.supplier, &d.surface);
  kelcaptioningui::DrawSpanText(HiSpan(attributes, 20, 30), &inkpad, {10, 100, 80, 30}, s);
}
constexpr float kBaseline = 100 + (30 - 20) * 0.5f + 0.8f * 20;

TEST(SpanText, OffsetCopiesUseTheirFixedColoursAndScaledEdgeWidth) {
  for (const auto& copy : kel_test::kOneCopyEdges) {
    Drawn d;
    Draw(d, Edged(copy.edge, 2.0f));
    const auto texts = d.surface.Calls("DrawString");
    ASSERT_EQ(texts.size(), 2u) << copy.edge;
    EXPECT_EQ(texts[0].color, copy.color) << copy.edge;
    EXPECT_EQ(texts[0].point, (kelcore::PointT<float>{10 + copy.dx * 2, kBaseline + copy.dy * 2})) << copy.edge;
    EXPECT_EQ(texts[1].point, (kelcore::PointT<float>{10, kBaseline}));
  }
  // Edge width and font size are model units: at s = 0.5 they double.
  Drawn scaled;
  Draw(scaled, Edged(5, 2.0f), 0.5f);
  const auto texts = scaled.surface.Calls("DrawString");
  EXPECT_EQ(texts[0].fontSize, 40.0f);
  EXPECT_FLOAT_EQ(texts[0].point.x - texts[1].point.x, 4.0f);
}

TEST(SpanText, SuperscriptMovesByTheLineHeightOfTheFont) {
  const auto y = [](int offset) {
    TextSpanAttributes a;
    a.SetTextOffset(static_cast<kelcaptioning::TextOffset>(offset));
    Drawn d;
    Draw(d, a);
    return d.surface.Calls("DrawString")[0].point.y;
  };
  EXPECT_FLOAT_EQ(y(2) - y(1), 0.5717553f * 20);
  EXPECT_FLOAT_EQ(y(1) - y(0), 0.5717553f * 20);
}

TEST(SpanText, UnderlinesFollowEachCopyAndTransparentTextDrawsNothing) {
  TextSpanAttributes a = Edged(1, 1.0f);
  a.SetUnderlined(true);
  Drawn d;
  Draw(d, a);
  const auto lines = d.surface.Calls("StrokePath");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].color, (Color{1, 1, 1, 1}));
  EXPECT_EQ(lines[0].pathOps[0], "M 10 " + std::to_string(static_cast<int>(kBaseline - 1 + 3)));
  EXPECT_EQ(lines[1].color, (Color{0, 1, 0, 1}));
  EXPECT_EQ(lines[1].pathOps[1], "L 90 " + std::to_string(static_cast<int>(kBaseline + 3)));

  a.SetForegroundColor(kelcaptioning::kCaptioningColor_Transparent);
  Drawn none;
  Draw(none, a);
  EXPECT_TRUE(none.surface.calls.empty());
}

TEST(SpanText, OutlineGoesThroughGdiPlusAntiAliased) {
  TextSpanAttributes a = Edged(3, 2.0f, {1, 1, 1, 0.5f});
  a.SetUnderlined(true);
  Drawn d;
  Draw(d, a);
  // No surface text; the underline still comes through the surface.
  EXPECT_TRUE(d.surface.Calls("DrawString").empty());
  ASSERT_EQ(d.surface.Calls("StrokePath").size(), 1u);
  EXPECT_EQ(d.surface.Calls("StrokePath")[0].color, (Color{1, 1, 1, 0.5f}));  // the foreground's, alpha kept
  Gdiplus::SmoothingMode smoothing = Gdiplus::SmoothingModeDefault;
  Gdiplus::GdipGetSmoothingMode(d.surface.graphics.nativeGraphics, &smoothing);
  EXPECT_EQ(smoothing, Gdiplus::SmoothingModeAntiAlias);
}

// The outline is the GDI+ path of the span's text in the style its font style asks for (1
// italic, 2 bold), laid out from the span rectangle's corner, stroked in the edge colour at the
// edge width over s and filled opaque: exactly what these GDI+ calls draw.
TEST(SpanText, OutlineIsTheGdiPlusPathInTheSpansStyle) {
  const Gdiplus::INT gdiStyles[] = {Gdiplus::FontStyleRegular, Gdiplus::FontStyleItalic, Gdiplus::FontStyleBold,
                                    Gdiplus::FontStyleBoldItalic};
  for (int style = 0; style < 4; ++style) {
    TextSpanAttributes a = Edged(3, 8.0f, {1, 0.5f, 0, 0.5f});
    a.SetForegroundEdgeColor({0, 0, 1, 0.5f});
    a.SetFontName(kelcore::string::AsciiToUTF16("Times New Roman"));
    a.SetFontStyle(static_cast<kelcaptioning::FontStyle>(style));
    kel_test::PixelBuffer drawn(200, 100), expected(200, 100);
    Inkpad inkpad(drawn.supplier(), drawn.surface());
    kelcaptioningui::DrawSpanText(HiSpan(a, 80, 120), &inkpad, {10.7f, 5.2f, 150, 60}, 2.0f);
    ASSERT_EQ(kel_test::DrawOutlinedText(AntiAliased(expected), u"Times New Roman", u"Hi", 40.0f, gdiStyles[style], {10, 5, 0, 0},
                                         0x7F0000FF, 4.0f, 0xFFFF7F00),
              Gdiplus::Ok);
    EXPECT_GT(expected.InkBounds()[0], -1);
    EXPECT_TRUE(drawn.bytes() == expected.bytes()) << style;
  }
}

// A face the machine lacks (SubRip's <font face=...> with its default outline edge) is outlined
// in the generic sans-serif family, never left blank.
TEST(SpanText, OutlineOfAnUnknownFaceIsDrawnInTheGenericFamily) {
  TextSpanAttributes a = Edged(3, 6.0f, {1, 1, 1, 1});
  a.SetFontName(kelcore::string::AsciiToUTF16("No Such Face 42"));
  kel_test::PixelBuffer drawn(200, 100), expected(200, 100);
  Inkpad inkpad(drawn.supplier(), drawn.surface());
  kelcaptioningui::DrawSpanText(HiSpan(a, 60, 90), &inkpad, {10, 5, 150, 60}, 1.0f);
  EXPECT_GT(drawn.InkBounds()[0], -1);
  ASSERT_EQ(kel_test::DrawOutlinedText(AntiAliased(expected), u"DejaVu Sans", u"Hi", 60.0f, Gdiplus::FontStyleRegular, {10, 5, 0, 0},
                                       0xFF000000, 6.0f, 0xFFFFFFFF),
            Gdiplus::Ok);
  EXPECT_TRUE(drawn.bytes() == expected.bytes());
}

}  // namespace

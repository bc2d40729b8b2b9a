// Readable cases of what the fuzz targets found; their raw inputs are replayed by
// FuzzReplayTest from tests/fuzzing/inputs/.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "kelcaptioning/RenderableFromCaption.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "readers/CaptionDocument.h"
#include "readers/SrtReader.h"
#include "samples/SampleModels.h"
#include "support/ModelBuilders.h"
#include "support/PixelBuffer.h"

namespace {

using kelcaptioning::kCaptioningColor_Transparent;
using kelcaptioning::kCaptioningColor_White;
using kel_test::Bgra;
using kel_test::PixelBuffer;

const kelcaptioning::CaptioningColor kRed{1, 0, 0, 1};
constexpr Bgra kRedPixel{0, 0, 255, 255};

void Draw(const kelcaptioning::CaptioningRenderableModelPtr& model, PixelBuffer& buffer) {
  kelui::inkpad::Inkpad inkpad(buffer.supplier(), buffer.surface());
  kelcaptioningui::DrawCaption(model, &inkpad,
                               {0, 0, static_cast<float>(buffer.width()), static_cast<float>(buffer.height())});
}

int CountPixels(const PixelBuffer& buffer, const Bgra& colour) {
  int count = 0;
  for (int y = 0; y < buffer.height(); ++y) {
    for (int x = 0; x < buffer.width(); ++x) count += buffer.At(x, y) == colour;
  }
  return count;
}

// A span at an em size of two billion measures wider than int: its width saturates. Its
// background band then still runs from the span's start to the window's right edge (the band's
// right edge was once a wrapped sum), and its text, far too large to rasterise, is not drawn
// (Cairo used to keep the failed font and abort when the text engine was released at exit).
TEST(FoundByFuzzing, SpansMeasuredWiderThanIntKeepTheirBandAndDrawNoText) {
  const auto style = kelcaption::SpanStyle(kCaptioningColor_White, kRed);
  PixelBuffer buffer(64, 32);
  Draw(kelcaption::MakeOpenModel({{{{"wide", style, 2'000'000'000}}, 4, 8, 8, 0}}, {64, 32}), buffer);
  // Ink in x 4..63, y 8..15 only, and every pixel of it red.
  EXPECT_EQ(buffer.InkBounds(), (std::vector<int>{4, 8, 63, 15}));
  EXPECT_EQ(CountPixels(buffer, kRedPixel), 60 * 8);
}

// Cairo holds device coordinates in 24.8 fixed point: a rectangle reaching past 2^23 pixels
// used to be filled as a sliver in the wrong place (the band above came out so). The drawing
// layer cuts rectangles to the surface first, and leaves out paths and glyphs that far off.
TEST(FoundByFuzzing, GeometryPastCairosFixedPointRangeIsCutToTheSurface) {
  PixelBuffer buffer(64, 32);
  kelui::inkpad::OSSurfaceInterface* surface = buffer.surface();
  surface->FillRect({1, 0, 0, 1}, {4, 8, 1e7f, 8});
  surface->FillRect({1, 0, 0, 1}, {-3e7f, 20, 3e7f + 10, 4});
  EXPECT_EQ(CountPixels(buffer, kRedPixel), 60 * 8 + 10 * 4);
  EXPECT_EQ(buffer.At(4, 8), kRedPixel);
  EXPECT_EQ(buffer.At(63, 15), kRedPixel);
  EXPECT_EQ(buffer.At(9, 23), kRedPixel);
  EXPECT_EQ(buffer.At(10, 23).a, 0);

  // Under a frame transform the cut is made in device pixels.
  PixelBuffer scaled(64, 32);
  kelcore::MatrixT<float> twice;
  twice.m0 = twice.m4 = 2;
  scaled.surface()->SetTransform(twice);
  scaled.surface()->FillRect({1, 0, 0, 1}, {2, 1, 1e7f, 2});
  EXPECT_EQ(scaled.InkBounds(), (std::vector<int>{4, 2, 63, 5}));

  // A line out to 10^8 pixels is not drawn at all, rather than wrapped.
  kelui::inkpad::PathP line(buffer.supplier());
  line->MoveTo({4, 28});
  line->LineTo({1e8f, 28});
  const kelui::inkpad::PenP pen(buffer.supplier(), {0, 1, 0, 1}, 2.0f);
  surface->StrokePath(line, pen);
  EXPECT_EQ(buffer.InkBounds(), (std::vector<int>{0, 8, 63, 23}));
}

// A row that starts near the end of the int range: the span's bounds saturate there instead of
// wrapping to a band at the frame's left edge.
TEST(FoundByFuzzing, RowsStartingPastTheIntRangeStayOffTheFrame) {
  const auto style = kelcaption::SpanStyle(kCaptioningColor_White, kRed);
  PixelBuffer buffer(64, 32);
  Draw(kelcaption::MakeOpenModel({{{{"x", style, 8}}, INT_MAX - 2, 8, 8, 10}}, {64, 32}), buffer);
  EXPECT_EQ(buffer.InkBounds(), (std::vector<int>{-1, -1, -1, -1}));

  kelcaptioning::CaptioningRenderableOpenSpan span;
  span.SetHorizontalStart(100);
  span.SetVerticalStart(-100);
  span.SetTextWidth(7);
  span.SetTextHeight(5, 9);
  EXPECT_EQ(span.GetBounds(INT_MAX - 5, INT_MIN + 5), (kelcore::RectT<int>{INT_MAX, INT_MIN, 7, 9}));
  EXPECT_EQ(span.GetBounds(10, 20), (kelcore::RectT<int>{110, -80, 7, 9}));
}

// A cell in the second row claiming INT_MAX rows: its box reaches far below the frame (the
// bottom was once rowsUsed + row in int, which wrapped and dropped the cell from its row's
// extent).
TEST(FoundByFuzzing, CellsUsingHugeRowCountsReachDownInsteadOfWrapping) {
  kelcaptioning::TextAttributes tall;
  tall.SetRowsUsed(INT_MAX);
  auto window = kel_test::GridWindow(4, 2);
  window->AppendRow(nullptr);
  window->AppendRow(kel_test::Row({kel_test::Cell(U'A', tall)}));
  auto model = kel_test::Model();
  model->AddWindow(0, window);

  kelcaptioningui::CaptionRectList rects;
  kelcaptioningui::GetCaptionRects(model, nullptr, {0, 0, 640, 360}, rects);
  // The window's own rectangle, then one extent per row: the second holds the tall cell.
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_GT(rects[1].width, 0.0f);
  EXPECT_GT(rects[1].y + rects[1].height, 360.0f);

  PixelBuffer buffer(64, 36);
  Draw(model, buffer);
  EXPECT_NE(buffer.InkBounds()[0], -1);
}

// Sizes past the float range reach the caption model as infinity; the render-ready model holds
// them as the largest int instead of converting infinity to int.
TEST(FoundByFuzzing, EndlessFontSizesBecomeTheLargestTextHeight) {
  const auto list =
      kelcaption::ReadSrt("1\n00:00:01,000 --> 00:00:02,000\n<font size=\"1e39\">huge</font> plain\n", "huge.srt");
  const auto model = kelcaptioning::MakeRenderableModelAt(*list, kelmediatypes::TickTime(kelmediatypes::TickTime::kTicksPerSecond * 3 / 2), 1536, 864);
  kelcaptioning::OpenRowMap rows;
  model->GetWindow(0)->GetOpenRows(rows);
  ASSERT_EQ(rows.size(), 1u);
  kelcaptioning::OpenSpanMap spans;
  rows.begin()->second->GetOpenSpans(spans);
  ASSERT_EQ(spans.size(), 2u);
  EXPECT_EQ(spans.begin()->second->GetTextHeight(true), INT_MAX);
  EXPECT_EQ(rows.begin()->second->GetHorizontalTextOffset(), INT_MAX);
  EXPECT_EQ(spans.rbegin()->second->GetTextHeight(true), 38);
}

// A number too large for a double is a positioned ReadError like any other bad JSON.
TEST(FoundByFuzzing, CaptionDocumentNumbersPastTheDoubleRangeAreReadErrors) {
  try {
    kelcaption::ReadCaptionDocument("{\n  \"format\": \"OPEN\",\n  \"captions\": [1e400]\n}\n", "doc.json");
    FAIL() << "read a document with 1e400 in it";
  } catch (const kelcaption::ReadError& e) {
    EXPECT_STREQ(e.what(), "doc.json:3:16: not JSON: the number 1e400 is out of range");
    EXPECT_EQ(e.Line(), 3);
  }
}

// A number past the float range in a float field would have become infinity, which the writer
// gives as null and the reader then takes as "not set": the document changed on a round trip.
// It is refused where it stands instead.
TEST(FoundByFuzzing, CaptionDocumentFloatsPastTheFloatRangeAreReadErrors) {
  const std::string document = "{\"format\": \"OPEN\", \"captions\": [{\"begin\": 0, \"end\": 10, \"paragraphs\": [\n"
                               "  {\"lineHeightRatio\": 1e39, \"spans\": [{\"text\": \"a\"}]}]}]}\n";
  try {
    kelcaption::ReadCaptionDocument(document, "doc.json");
    FAIL() << "read a line height ratio of 1e39";
  } catch (const kelcaption::ReadError& e) {
    EXPECT_STREQ(e.what(), "doc.json: /captions/0/paragraphs/0/lineHeightRatio: the number 1e+39 is too large");
  }
  // The largest float itself is kept, and comes back the same.
  const std::string largest = "{\"format\": \"OPEN\", \"captions\": [{\"begin\": 0, \"end\": 10, \"paragraphs\": ["
                              "{\"spans\": [{\"text\": \"a\", \"size\": 3.4028234663852886e+38}]}]}]}";
  const std::string written = kelcaption::WriteCaptionDocument(*kelcaption::ReadCaptionDocument(largest, "max.json"));
  EXPECT_EQ(kelcaption::WriteCaptionDocument(*kelcaption::ReadCaptionDocument(written, "again.json")), written);
}

}  // namespace

// What the fuzz targets found, where the outcome matters beyond running clean (their raw inputs
// are replayed by FuzzReplayTest from tests/fuzzing/inputs/).
#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "kelcaptioning/RenderableFromCaption.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcaptionfiles/CaptionDocument.h"
#include "captionfiles/SrtReader.h"
#include "samples/SampleModels.h"
#include "support/ModelBuilders.h"
#include "support/PixelBuffer.h"

namespace {

std::vector<int> InkOf(const kelcaptioning::CaptioningRenderableModelPtr& model) {
  kel_test::PixelBuffer buffer(64, 32);
  kelui::inkpad::Inkpad inkpad(buffer.supplier(), buffer.surface());
  kelcaptioningui::DrawCaption(model, &inkpad, {0, 0, 64, 32});
  return buffer.InkBounds();
}

// Sizes and places near the int range saturate instead of wrapping: a span at an em size of two
// billion still has its band run to the window's right edge (it came out a sliver), a row
// starting near INT_MAX stays off the frame, and a cell claiming INT_MAX rows reaches far below
// it (it was dropped from its row's extent).
TEST(FoundByFuzzing, BoundsPastTheIntRangeSaturate) {
  const auto style = kelcaption::SpanStyle(kelcaptioning::kCaptioningColor_White, {1, 0, 0, 1});
  EXPECT_EQ(InkOf(kelcaption::MakeOpenModel({{{{"wide", style, 2'000'000'000}}, 4, 8, 8, 0}}, {64, 32})),
            (std::vector<int>{4, 8, 63, 15}));
  EXPECT_EQ(InkOf(kelcaption::MakeOpenModel({{{{"x", style, 8}}, INT_MAX - 2, 8, 8, 10}}, {64, 32})),
            (std::vector<int>{-1, -1, -1, -1}));

  kelcaptioning::TextAttributes tall;
  tall.SetRowsUsed(INT_MAX);
  auto window = kel_test::GridWindow(4, 2);
  window->AppendRow(nullptr);
  window->AppendRow(kel_test::Row({kel_test::Cell(U'A', tall)}));
  auto model = kel_test::Model();
  model->AddWindow(0, window);
  kelcaptioningui::CaptionRectList rects;
  kelcaptioningui::GetCaptionRects(model, nullptr, {0, 0, 640, 360}, rects);
  ASSERT_EQ(rects.size(), 2u);  // the window, then the second row's extent
  EXPECT_GT(rects[1].y + rects[1].height, 360.0f);
}

// An outline pen a trillion units wide took Cairo's stroker half a minute and a gigabyte; the
// outline was then dropped as too large. Pens now stop at 4096 pixels, which still covers the
// whole frame.
TEST(FoundByFuzzing, AnOutlinePenOfATrillionUnitsIsDrawnAtTheWidestPen) {
  const auto style = kelcaption::SpanStyle(kelcaptioning::kCaptioningColor_White,
                                           kelcaptioning::kCaptioningColor_Transparent, kelcaptioning::kTextEdge_Uniform,
                                           1e12f);
  EXPECT_EQ(InkOf(kelcaption::MakeOpenModel({{{{"Ag", style, 20}}, 4, 4, 24, 0}}, {64, 32})),
            (std::vector<int>{0, 0, 63, 31}));
}

// Font sizes past the float range reach the render-ready model as the largest int.
TEST(FoundByFuzzing, EndlessFontSizesBecomeTheLargestTextHeight) {
  const auto read = kelcaptionfiles::ReadSrt("1\n00:00:01,000 --> 00:00:02,000\n<font size=\"1e39\">huge</font>\n", "a.srt");
  const auto model = kelcaptioning::MakeRenderableModelAt(
      *read.List(), kelmediatypes::TickTime(kelmediatypes::TickTime::kTicksPerSecond * 3 / 2), 1536, 864);
  kelcaptioning::OpenRowMap rows;
  model->GetWindow(0)->GetOpenRows(rows);
  kelcaptioning::OpenSpanMap spans;
  rows.begin()->second->GetOpenSpans(spans);
  EXPECT_EQ(spans.begin()->second->GetTextHeight(true), INT_MAX);
}

// Numbers past the double range, and past the float range in a float field (which would have
// been written back as null, "not set"), are positioned read errors.
TEST(FoundByFuzzing, CaptionDocumentNumbersPastTheirRangeAreReadErrors) {
  const std::pair<const char*, const char*> cases[] = {
      {"{\n \"captions\": [1e400]}", "doc.json:2:15: not JSON: the number 1e400 is out of range"},
      {"{\"format\": \"OPEN\", \"captions\": [{\"begin\": 0, \"end\": 1, \"paragraphs\": [{\"lineHeightRatio\": 1e39, "
       "\"spans\": []}]}]}",
       "doc.json: /captions/0/paragraphs/0/lineHeightRatio: the number 1e+39 is too large"}};
  for (const auto& [document, error] : cases) {
    try {
      kelcaptionfiles::ReadCaptionDocument(document, "doc.json", {.strict = true});
      ADD_FAILURE() << document;
    } catch (const kelcaptionfiles::ReadError& e) {
      EXPECT_STREQ(e.what(), error);
    }
  }
}

// A time with a very large hour count overflowed the signed product of hours and ticks; such a
// time is now past what can be held, in every reader of clock times.
TEST(FoundByFuzzing, HourCountsPastWhatTicksHoldAreProblemsNotOverflows) {
  const std::string document =
      R"({"format": "OPEN", "captions": [{"begin": "4294967295:00:00.000", "end": "4294967295:00:01.000",
          "paragraphs": [{"spans": [{"text": "x"}]}]}]})";
  try {
    kelcaptionfiles::ReadCaptionDocument(document, "doc.json", {.strict = true});
    ADD_FAILURE() << "read";
  } catch (const kelcaptionfiles::ReadError& e) {
    EXPECT_STREQ(e.what(),
                 "doc.json: /captions/0/begin: the time \"4294967295:00:00.000\" is past the longest time that can be held");
  }
  EXPECT_TRUE(kelcaptionfiles::ReadSrt("1\n99999999999:00:00,000 --> 99999999999:00:01,000\nx\n", "a.srt").Empty());
}

}  // namespace

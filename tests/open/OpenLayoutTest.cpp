#include <gtest/gtest.h>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "open/OpenWindow.h"
#include "open/SpanBackgrounds.h"
#include "samples/SampleModels.h"
#include "support/RecordingSupplier.h"
#include "support/RecordingSurface.h"

namespace {

using kelcaptioning::CaptioningColor;
using kelcore::RectT;
using kel_test::RecordingSupplier;
using kel_test::RecordingSurface;
using kelcaption::SampleSpan;
using kelui::inkpad::Inkpad;
using kelcaptioningui::CaptionRectList;

const CaptioningColor kWhite(1, 1, 1);
kelcaptioning::TextSpanAttributes Plain() {
  return kelcaption::SpanStyle(kWhite, kelcaptioning::kCaptioningColor_Transparent);
}

TEST(OpenLayout, MeasuringWritesStartsWidthsAndRowWidths) {
  RecordingSupplier supplier;
  RecordingSurface surface;
  surface.widthPerCodeUnit = 37.5f;
  Inkpad inkpad(&supplier, &surface);
  const auto window = kelcaption::MakeOpenModel({{{{"x", Plain()}}, 0, 0, 80, 4},
                                                 {{{"ab", Plain()}, {"c", Plain()}}, 0, 100, 80, 5},
                                                 {{}, 0, 200, 80, 7}})
                          ->GetWindow(0);
  kelcaptioningui::MeasureOpenRows(window, &inkpad);

  kelcaptioning::OpenRowMap rows;
  window->GetOpenRows(rows);
  kelcaptioning::OpenSpanMap spans;
  rows.at(0)->GetOpenSpans(spans);
  EXPECT_EQ(spans.at(0)->GetHorizontalStart(), 4);
  EXPECT_EQ(spans.at(0)->GetTextWidth(), 38);
  EXPECT_EQ(rows.at(0)->GetRowWidth(), 46);
  rows.at(1)->GetOpenSpans(spans);
  EXPECT_EQ(spans.at(0)->GetTextWidth(), 75);
  EXPECT_EQ(spans.at(1)->GetHorizontalStart(), 5 + 75);
  EXPECT_EQ(rows.at(1)->GetRowWidth(), 5 + 75 + 38 + 5);
  EXPECT_EQ(rows.at(2)->GetRowWidth(), 14);
  // One font per span, at model scale (the em size).
  ASSERT_EQ(supplier.fonts.size(), 3u);
  EXPECT_EQ(supplier.fonts[0].face, "Arial");
  EXPECT_EQ(supplier.fonts[0].size, 60.0f);
}

TEST(OpenLayout, RowsGoInKeyOrderAndScaleWithTheWindow) {
  auto model = kelcaption::MakeOpenModel({}, {960, 540});
  auto window = model->GetWindow(0);
  for (std::uint64_t key : {7u, 2u, 5u}) {
    kelcaptioning::CaptioningRenderableOpenRowPtr row(new kelcaptioning::CaptioningRenderableOpenRow());
    row->SetHorizontalStart(10);
    row->SetVerticalStart(static_cast<int>(key) * 10);
    row->SetLineHeight(40);
    kelcaptioning::CaptioningRenderableOpenSpanPtr span(new kelcaptioning::CaptioningRenderableOpenSpan());
    span->SetText(kelcore::string::AsciiToUTF16(std::to_string(key).c_str()));
    span->SetTextHeight(30, 40);
    row->SetOpenSpan(0, span);
    window->SetOpenRow(key, row);
  }
  RecordingSupplier supplier;
  RecordingSurface surface;
  Inkpad inkpad(&supplier, &surface);
  const RectT<float> windowRect{100, 0, 1920, 1080};  // s = 540 / 1080 = 0.5
  kelcaptioningui::DrawOpenWindow(window, &inkpad, windowRect);
  const auto texts = surface.Calls("DrawString");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text + texts[1].text + texts[2].text, u"257");
  EXPECT_EQ(texts[0].point.x, 120.0f);  // model x 10 at s 0.5, window at 100
  EXPECT_EQ(texts[0].fontSize, 60.0f);   // em size 30 in output units

  CaptionRectList rects;
  kelcaptioningui::CollectOpenRowRects(window, &inkpad, windowRect, rects);
  ASSERT_EQ(rects.size(), 3u);
  EXPECT_EQ(rects[0], (RectT<float>{120, 40, 20, 80}));  // width (10 measured) / 0.5
  EXPECT_EQ(rects[2].y, 140.0f);

  // A window rectangle of no height uses model units as they are.
  CaptionRectList unscaled;
  kelcaptioningui::CollectOpenRowRects(window, &inkpad, {3, 4, 0, 0}, unscaled);
  EXPECT_EQ(unscaled[0], (RectT<float>{13, 24, 10, 40}));

  // A draw area of no height with a real window: no text, no row rectangles.
  window->SetCaptionDrawAreaSize({960, 0});
  kelcaptioningui::DrawOpenWindow(window, &inkpad, windowRect);
  EXPECT_EQ(surface.Calls("DrawString").size(), 3u);
  CaptionRectList none;
  kelcaptioningui::CollectOpenRowRects(window, &inkpad, windowRect, none);
  EXPECT_TRUE(none.empty());
}

TEST(OpenLayout, CaptionRectsOfAnOpenModelMeasureFirst) {
  RecordingSupplier supplier;
  RecordingSurface surface;
  Inkpad inkpad(&supplier, &surface);
  CaptionRectList rects;
  kelcaptioningui::GetCaptionRects(kelcaption::MakeOpenModel({{{{"hello", Plain()}}, 50, 60, 80, 4}}), &inkpad,
                                   {0, 0, 1920, 1080}, rects);
  // Only the row: the window's fill is transparent.
  EXPECT_EQ(rects, (CaptionRectList{{50, 60, 4 + 50 + 4, 80}}));
}

TEST(SpanBackgrounds, BandsTakeTheFullLineHeightAndTheRowInsets) {
  const CaptioningColor blue(0, 0, 1, 0.75f);
  const auto on = [&](const char* text, const CaptioningColor& bg) {
    return SampleSpan{text, kelcaption::SpanStyle(kWhite, bg)};
  };
  RecordingSupplier supplier;
  RecordingSurface surface;
  Inkpad inkpad(&supplier, &surface);
  // Row 0: three blue spans. Row 1: a transparent first span, then blue.
  const auto model = kelcaption::MakeOpenModel({{{on("ab", blue), on("c", blue), on("de", blue)}, 100, 10, 50, 6},
                                                {{on("x", kelcaptioning::kCaptioningColor_Transparent), on("yz", blue)},
                                                 100, 70, 50, 6}});
  kelcaptioningui::DrawCaption(model, &inkpad, {0, 0, 1920, 1080});

  const auto fills = surface.Fills();
  ASSERT_GE(fills.size(), 2u);
  // The first fill is the window's; the others one group, painted with source copy.
  EXPECT_EQ(surface.Calls("SaveState").size(), 2u);  // the window pass's and the one blue group's
  long area = 0;
  float left = 1e9f, right = -1e9f;
  for (std::size_t i = 1; i < fills.size(); ++i) {
    EXPECT_EQ(fills[i].color, (kelui::inkpad::Color{0, 0, 1, 0.75f}));
    EXPECT_EQ(fills[i].compositing, Gdiplus::CompositingModeSourceCopy);
    area += static_cast<long>(fills[i].rect.width * fills[i].rect.height);
    if (fills[i].rect.y == 10) {
      left = std::min(left, fills[i].rect.x);
      right = std::max(right, fills[i].rect.Right());
      EXPECT_EQ(fills[i].rect.height, 50.0f);
    }
  }
  // Row 0 from its left edge to its right: 6 + 50 + 6 wide; row 1 lacks its left inset and "x".
  EXPECT_EQ(left, 100.0f);
  EXPECT_EQ(right, 100.0f + 6 + 50 + 6);
  EXPECT_EQ(area, (6 + 50 + 6) * 50 + (20 + 6) * 50);

  kel_test::PlainRecordingSurface plain;
  Inkpad plainInkpad(&supplier, &plain);
  kelcaptioning::OpenRowMap rows;
  model->GetWindow(0)->GetOpenRows(rows);
  kelcaptioningui::DrawSpanBackgrounds(rows, &plainInkpad, {0, 0, 1920, 1080}, {0, 0, 1920, 1080});
  EXPECT_TRUE(plain.calls.empty());
}

}  // namespace

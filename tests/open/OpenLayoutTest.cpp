#include <gtest/gtest.h>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "open/OpenWindow.h"
#include "samples/SampleModels.h"
#include "support/RecordingSupplier.h"
#include "support/RecordingSurface.h"

namespace {

using kelcaptioning::CaptioningColor, kelcore::RectT, kelui::inkpad::Inkpad, kelcaptioningui::CaptionRectList;

struct Recording {
  kel_test::RecordingSupplier supplier;
  kel_test::RecordingSurface surface;
  Inkpad inkpad{&supplier, &surface};
};

const CaptioningColor kWhite(1, 1, 1);
kelcaptioning::TextSpanAttributes Plain() {
  return kelcaption::SpanStyle(kWhite, kelcaptioning::kCaptioningColor_Transparent);
}

TEST(OpenLayout, MeasuringWritesStartsWidthsAndRowWidths) {
  Recording r;
  r.surface.widthPerCodeUnit = 37.5f;
  const auto window = kelcaption::MakeOpenModel({{{{"x", Plain()}}, 0, 0, 80, 4},
                                                 {{{"ab", Plain()}, {"c", Plain()}}, 0, 100, 80, 5},
                                                 {{}, 0, 200, 80, 7}})
                          ->GetWindow(0);
  kelcaptioningui::MeasureOpenRows(window, &r.inkpad);

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
  ASSERT_EQ(r.supplier.fonts.size(), 3u);
  EXPECT_EQ(r.supplier.fonts[0].size, 60.0f);
}

TEST(OpenLayout, RowsScaleWithTheWindow) {
  const auto window =
      kelcaption::MakeOpenModel({{{{"2", {}, 30}}, 10, 20, 40, 0}, {{{"7", {}, 30}}, 10, 70, 40, 0}}, {960, 540})
          ->GetWindow(0);
  Recording r;
  const RectT<float> windowRect{100, 0, 1920, 1080};  // s = 540 / 1080 = 0.5
  kelcaptioningui::DrawOpenWindow(window, &r.inkpad, windowRect);
  const auto texts = r.surface.Calls("DrawString");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].point.x, 120.0f);  // model x 10 at s 0.5, window at 100
  EXPECT_EQ(texts[0].fontSize, 60.0f);   // em size 30 in output units
  CaptionRectList rects;
  kelcaptioningui::CollectOpenRowRects(window, &r.inkpad, windowRect, rects);
  EXPECT_EQ(rects, (CaptionRectList{{120, 40, 20, 80}, {120, 140, 20, 80}}));  // width (10 measured) / 0.5

  // At s = 2 a row starting at model x 3 lies at 1.5: the half added before truncation makes it 2.
  const auto doubled = kelcaption::MakeOpenModel({{{{"2", {}, 30}}, 3, 5, 40, 0}}, {3840, 2160})->GetWindow(0);
  rects.clear();
  kelcaptioningui::CollectOpenRowRects(doubled, &r.inkpad, {0, 0, 1920, 1080}, rects);
  EXPECT_EQ(rects, (CaptionRectList{{2, 3, 5, 20}}));
}

TEST(OpenLayout, CaptionRectsOfAnOpenModelMeasureFirst) {
  Recording r;
  CaptionRectList rects;
  kelcaptioningui::GetCaptionRects(kelcaption::MakeOpenModel({{{{"hello", Plain()}}, 50, 60, 80, 4}}), &r.inkpad,
                                   {0, 0, 1920, 1080}, rects);
  // Only the row: the window's fill is transparent.
  EXPECT_EQ(rects, (CaptionRectList{{50, 60, 4 + 50 + 4, 80}}));
}

TEST(SpanBackgrounds, BandsTakeTheFullLineHeightAndTheRowInsets) {
  const CaptioningColor blue(0, 0, 1, 0.75f);
  const auto on = [](const char* text, const CaptioningColor& bg) {
    return kelcaption::SampleSpan{text, kelcaption::SpanStyle(kWhite, bg)};
  };
  Recording r;
  // Row 0: three blue spans. Row 1: a transparent first span, then blue.
  const auto model = kelcaption::MakeOpenModel({{{on("ab", blue), on("c", blue), on("de", blue)}, 100, 10, 50, 6},
                                                {{on("x", kelcaptioning::kCaptioningColor_Transparent), on("yz", blue)},
                                                 100, 70, 50, 6}});
  kelcaptioningui::DrawCaption(model, &r.inkpad, {0, 0, 1920, 1080});

  const auto fills = r.surface.Fills();
  ASSERT_GE(fills.size(), 2u);
  // The first fill is the window's; the others one group, painted with source copy.
  EXPECT_EQ(r.surface.Calls("SaveState").size(), 2u);  // the window pass's and the one blue group's
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
}

}  // namespace

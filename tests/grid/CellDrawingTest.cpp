#include <gtest/gtest.h>

#include "grid/CaptionSymbol.h"
#include "grid/Cell.h"
#include "support/ModelBuilders.h"
#include "support/OneCopyEdges.h"
#include "support/RecordingSupplier.h"
#include "support/RecordingSurface.h"

namespace {

using kelcaptioning::TextAttributes, kelcore::RectT, kelui::inkpad::Color, kelui::inkpad::Inkpad;

struct Drawn {
  kel_test::RecordingSupplier supplier;
  kel_test::RecordingSurface surface;
  RectT<float> extent{};
};

void Draw(Drawn& d, char32_t character, const TextAttributes& attributes, const RectT<float>& box) {
  Inkpad inkpad(&d.supplier, &d.surface);
  kelcaptioningui::DrawCell(*kel_test::Cell(character, attributes), &inkpad, box, d.extent);
}

// The baseline of the recording fonts (ascent 0.8, descent 0.2 of the size) centred in the box.
float CentredBaseline(const RectT<float>& box, float size) { return box.y + (box.height - size) * 0.5f + 0.8f * size; }

TEST(DrawCell, UniformEdgeDrawsEightRedCopiesEachWithItsUnderlineThenTheText) {
  TextAttributes a;
  a.SetTextEdge(static_cast<kelcaptioning::TextEdge>(3));
  a.SetUnderlined(true);
  a.SetForegroundColor({0, 1, 0, 1});
  Drawn d;
  const RectT<float> box{100, 200, 30, 54};
  Draw(d, U'W', a, box);

  ASSERT_EQ(d.supplier.fonts.size(), 1u);
  const float size = d.supplier.fonts[0].size;
  const float baseline = CentredBaseline(box, size);
  const RectT<float> textRect{100, baseline - size, 30, 254 - (baseline - size)};

  std::vector<std::string> expected;
  for (int i = 0; i < 36; ++i) expected.push_back(i % 2 ? "SetRenderMode" : i % 4 ? "StrokePath" : "DrawStringInRect");
  EXPECT_EQ(d.surface.Ops(), expected);

  const auto texts = d.surface.Calls("DrawStringInRect");
  const auto underlines = d.surface.Calls("StrokePath");
  // Eight red copies around the place of the green text, drawn last.
  const float offsets[9][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}, {0, 0}};
  for (int i = 0; i < 9; ++i) {
    const Color color = i < 8 ? Color{1, 0, 0, 1} : Color{0, 1, 0, 1};
    EXPECT_EQ(texts[i].color, color) << i;
    EXPECT_EQ(texts[i].rect, (RectT<float>{textRect.x + offsets[i][0], textRect.y + offsets[i][1], textRect.width,
                                           textRect.height}))
        << i;
    // The underline copy moves up or down with its text, but keeps the rectangle's ends.
    EXPECT_EQ(underlines[i].color, color) << i;
    EXPECT_EQ(underlines[i].width, 1.0f) << i;
    ASSERT_EQ(underlines[i].pathOps.size(), 3u);
    EXPECT_EQ(underlines[i].pathOps[0].rfind("M 100 ", 0), 0u);
    EXPECT_EQ(underlines[i].pathOps[1].rfind("L 130 ", 0), 0u);
    EXPECT_NEAR(std::stof(underlines[i].pathOps[0].substr(6)), baseline + offsets[i][1] + 3, 1e-3);
  }
  EXPECT_EQ(d.extent, box);
}

// The one-copy edges: where the copy goes and in which colour; other values draw none.
TEST(DrawCell, OneCopyEdgesMoveByOneUnitInTheirFixedColour) {
  const RectT<float> box{100, 200, 30, 54};
  for (const auto& copy : kel_test::kOneCopyEdges) {
    TextAttributes a;
    a.SetTextEdge(static_cast<kelcaptioning::TextEdge>(copy.edge));
    Drawn d;
    Draw(d, U'W', a, box);
    const auto texts = d.surface.Calls("DrawStringInRect");
    ASSERT_EQ(texts.size(), 2u) << copy.edge;
    EXPECT_EQ(texts[0].color, copy.color) << copy.edge;
    EXPECT_EQ(texts[0].rect.x - texts[1].rect.x, copy.dx) << copy.edge;
    EXPECT_EQ(texts[0].rect.y - texts[1].rect.y, copy.dy) << copy.edge;
  }
  for (const int none : {0, -1, 6}) {
    TextAttributes a;
    a.SetTextEdge(static_cast<kelcaptioning::TextEdge>(none));
    Drawn d;
    Draw(d, U'W', a, box);
    EXPECT_EQ(d.surface.Calls("DrawStringInRect").size(), 1u) << none;
  }
}

TEST(DrawCell, OffsetsMoveTheAnchorByTheSmallerFont) {
  const RectT<float> box{0, 0, 20, 60};
  for (int offset = 0; offset < 3; ++offset) {
    TextAttributes a;
    a.SetTextOffset(static_cast<kelcaptioning::TextOffset>(offset));
    Drawn d;
    Draw(d, U'x', a, box);
    const float size = d.supplier.fonts[0].size;
    EXPECT_FLOAT_EQ(d.surface.Calls("DrawStringInRect")[0].rect.y + size,
                    CentredBaseline(box, size) + static_cast<float>(offset - 1) * 0.5717553f * size)
        << offset;
  }
}

TEST(DrawCell, InvisibleForegroundDrawsNothingButCountsForTheExtent) {
  TextAttributes a;
  a.SetForegroundColor(kelcaptioning::kCaptioningColor_Transparent);
  a.SetUnderlined(true);
  a.SetTextEdge(static_cast<kelcaptioning::TextEdge>(3));
  Drawn d;
  Draw(d, U'a', a, {5, 5, 10, 10});
  EXPECT_TRUE(d.surface.calls.empty());
  EXPECT_TRUE(d.supplier.fonts.empty());
  EXPECT_EQ(d.extent, (RectT<float>{5, 5, 10, 10}));  // the background still shows
}

TEST(CaptionSymbol, DrawsTheCommandListUnderTheCellTransformAndNoText) {
  TextAttributes a;
  a.SetForegroundColor({1, 1, 0, 1});
  a.SetBackgroundColor({0, 0, 1, 0.5f});
  a.SetUnderlined(true);
  a.SetTextEdge(static_cast<kelcaptioning::TextEdge>(3));
  Drawn d;
  const RectT<float> box{10, 20, 48.5094f, 40};
  Draw(d, kelcaptioningui::kCaptionSymbolCharacter, a, box);

  EXPECT_EQ(d.surface.Ops(), (std::vector<std::string>{"SaveState", "SetTransform", "FillPath", "FillPath",
                                                        "StrokePath", "FillPath", "FillPath", "RestoreState"}));

  const kelcore::MatrixT<float> m = d.surface.Calls("SetTransform")[0].matrix;
  const kelcore::PointT<float> corner = m.Map({24.2547f, 18.1853f});
  EXPECT_NEAR(corner.x, 10 + 48.5094f, 1e-4);
  EXPECT_NEAR(corner.y, 20 + 18.1853f, 1e-4);  // the height stays in drawing units
}

}  // namespace

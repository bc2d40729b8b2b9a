#include <gtest/gtest.h>

#include "grid/Cell.h"
#include "grid/CellBackgrounds.h"
#include "grid/CellFont.h"
#include "grid/CellRows.h"
#include "grid/Underline.h"
#include "support/ModelBuilders.h"
#include "support/RecordingSupplier.h"
#include "support/RecordingSurface.h"

namespace {

using kelcaptioning::CaptioningColor;
using kelcaptioning::TextAttributes;
using kelcore::RectT;
using kel_test::Cell;
using kel_test::RecordingSupplier;
using kel_test::RecordingSurface;
using kel_test::Row;
using kelui::inkpad::Inkpad;
using kelcaptioningui::CaptionRectList;
using kelcaptioningui::DrawCellBackgrounds;

TextAttributes WithBackground(const CaptioningColor& background, int rowsUsed = 1) {
  TextAttributes a;
  a.SetBackgroundColor(background);
  a.SetRowsUsed(rowsUsed);
  return a;
}

TEST(CellBackgrounds, SnapToSharedPixelEdgesAndReplaceColourByColour) {
  const CaptioningColor red(1, 0, 0, 0.5f), blue(0, 0, 1, 1);
  const kelcaptioning::RowList rows{
      Row({Cell(U'a', WithBackground(red)), Cell(U'b', WithBackground(red)), nullptr,
           Cell(U'c', WithBackground(blue, 2))}),
      nullptr, Row({Cell(U'd', WithBackground(red, 0))})};
  RecordingSurface surface;
  surface.SetRenderMode(5);
  Inkpad inkpad(nullptr, &surface);
  DrawCellBackgrounds(rows, &inkpad, {0, 0, 0, 0}, {0, 0, 10.4f, 20});

  const auto fills = surface.Fills();
  // Blue sorts before red; the zero-height red cell is dropped by the overlap removal.
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[0].color, (kelui::inkpad::Color{0, 0, 1, 1}));
  EXPECT_EQ(fills[0].rect, (RectT<float>{31, 0, 11, 40}));  // column 3 after the gap, two rows tall
  EXPECT_EQ(fills[1].color, (kelui::inkpad::Color{1, 0, 0, 0.5f}));
  EXPECT_EQ(fills[1].rect, (RectT<float>{0, 0, 10, 20}));
  EXPECT_EQ(fills[2].rect, (RectT<float>{10, 0, 11, 20}));  // meets its neighbour on column 10
  for (const auto& fill : fills) EXPECT_EQ(fill.compositing, Gdiplus::CompositingModeSourceCopy);
  EXPECT_EQ(surface.GetRenderMode(), 5);
  // Each colour: mode 0, save, fills, restore, mode back.
  EXPECT_EQ(surface.Ops(), (std::vector<std::string>{"SetRenderMode", "SetRenderMode", "SaveState", "FillRect",
                                                      "RestoreState", "SetRenderMode", "SetRenderMode", "SaveState",
                                                      "FillRect", "FillRect", "RestoreState", "SetRenderMode"}));
  EXPECT_EQ(surface.Calls("SetRenderMode")[1].value, 0);
}

TEST(CellBackgrounds, TransparentColoursAndPlainSurfacesFillNothing) {
  const RectT<float> cell{0, 0, 10, 20};
  RecordingSurface surface;
  Inkpad inkpad(nullptr, &surface);
  DrawCellBackgrounds({Row({Cell(U'a', WithBackground(kelcaptioning::kCaptioningColor_Transparent))})}, &inkpad, {},
                      cell);
  EXPECT_TRUE(surface.Fills().empty());
  EXPECT_EQ(surface.Calls("SaveState").size(), 1u);  // collected and visited all the same

  const kelcaptioning::RowList opaque{Row({Cell(U'a')})};
  kel_test::PlainRecordingSurface plain;
  Inkpad plainInkpad(nullptr, &plain);
  DrawCellBackgrounds(opaque, &plainInkpad, {}, cell);
  EXPECT_TRUE(plain.calls.empty());
  DrawCellBackgrounds(opaque, nullptr, {}, cell);
}

TEST(CellRows, ExtentsCoverCellsThatShowAnyColour) {
  TextAttributes invisible = WithBackground(kelcaptioning::kCaptioningColor_Transparent);
  invisible.SetForegroundColor(kelcaptioning::kCaptioningColor_Transparent);
  TextAttributes backgroundOnly = invisible;
  backgroundOnly.SetBackgroundColor(kelcaptioning::kCaptioningColor_Black);

  CaptionRectList extents;
  const RectT<float> window{100, 50, 0, 0}, cell{0, 0, 10, 20};
  const auto draw = [&](const kelcaptioning::CaptioningRenderableModelRowPtr& row, int rowIndex) {
    kelcaptioningui::DrawCellRow(row, nullptr, window, cell, rowIndex, extents);
  };
  draw(Row({Cell(U'a', invisible), nullptr, Cell(U'b', invisible), Cell(U'c', backgroundOnly)}), 2);
  draw(Row({Cell(U'a', invisible)}), 0);
  draw(Row({Cell(U'x'), Cell(U'y'), Cell(U'z', WithBackground(kelcaptioning::kCaptioningColor_Black, 2))}), 1);
  // The last one's two-row cell reaches down.
  EXPECT_EQ(extents, (CaptionRectList{{130, 90, 10, 20}, {}, {100, 70, 30, 40}}));

  auto gridWindow = kel_test::GridWindow(32, 15);
  gridWindow->AppendRow(Row({Cell(U'a')}));
  gridWindow->AppendRow(nullptr);
  gridWindow->AppendRow(Row({}));
  CaptionRectList rects;
  kelcaptioningui::CollectCellRowRects(gridWindow, nullptr, window, cell, rects);
  EXPECT_EQ(rects, (CaptionRectList{{100, 50, 10, 20}, {}}));
}

TEST(CellFont, FaceStyleAndSizeFollowTheClasses) {
  RecordingSupplier supplier;
  TextAttributes a;
  const RectT<float> tall{0, 0, 30, 54};
  const std::pair<int, float> sizes[] = {{1, 32.4f}, {2, 37.8f}, {0, 27.0f}, {9, 54.0f}};
  for (const auto& [sizeClass, expected] : sizes) {
    a.SetTextSize(static_cast<kelcaptioning::TextSize>(sizeClass));
    EXPECT_FLOAT_EQ(kelcaptioningui::CreateCellFont(a, tall, &supplier).size, expected) << sizeClass;
  }
  a.SetTextSize(static_cast<kelcaptioning::TextSize>(0));
  a.SetTextOffset(static_cast<kelcaptioning::TextOffset>(0));
  EXPECT_FLOAT_EQ(kelcaptioningui::CreateCellFont(a, {0, 0, 1, 2}, &supplier).size, 1.3f);  // the floor
  a.SetTextOffset(static_cast<kelcaptioning::TextOffset>(2));
  EXPECT_FLOAT_EQ(kelcaptioningui::CreateCellFont(a, tall, &supplier).size, 54 * 0.5f * 0.583f);

  const char* faces[] = {"Arial", "Courier New", "Times New Roman", "Lucida Console", "Arial",
                         "Comic Sans MS", "Segoe Script", "Arial", "Arial", "Arial"};
  for (int family = 0; family < 10; ++family) {
    a.SetGenericFontFamilyID(static_cast<kelcaptioning::GenericFontFamilyID>(family == 9 ? -1 : family));
    a.SetItalic(family % 2 == 1);
    kelcaptioningui::CreateCellFont(a, tall, &supplier);
    EXPECT_EQ(supplier.fonts.back().face, faces[family]) << family;
    EXPECT_EQ(supplier.fonts.back().style, family % 2 == 1 ? "Italic" : "") << family;
  }
  EXPECT_FALSE(kelcaptioningui::CreateCellFont(a, tall, nullptr).font);
}

TEST(Underline, RunsThreeUnitsBelowTheAnchorAcrossTheTextRectangle) {
  RecordingSupplier supplier;
  RecordingSurface surface;
  surface.SetRenderMode(2);
  Inkpad inkpad(&supplier, &surface);
  kelcaptioningui::DrawUnderline(&inkpad, {12, 5, 30, 60}, {999, 40}, {0, 1, 0, 1});
  EXPECT_EQ(surface.Ops(),
            (std::vector<std::string>{"SetRenderMode", "SetRenderMode", "StrokePath", "SetRenderMode"}));
  const auto stroke = surface.Calls("StrokePath")[0];
  EXPECT_EQ(stroke.pathOps, (std::vector<std::string>{"M 12 43", "L 42 43", "Z"}));
  EXPECT_EQ(stroke.width, 1.0f);
  EXPECT_EQ(stroke.color, (kelui::inkpad::Color{0, 1, 0, 1}));
  EXPECT_EQ(surface.Calls("SetRenderMode")[1].value, 0);
  EXPECT_EQ(surface.GetRenderMode(), 2);
}

TEST(MatrixOperations, MultiplyAndScaleAboutAPoint) {
  kelcore::MatrixT<float> m;
  m.ScaleMatrixAbout(2.0f, 1.0f, 10.0f, 0.0f);
  EXPECT_EQ(m, (kelcore::MatrixT<float>{2, 0, 0, 0, 1, 0, -10, 0, 1}));
  kelcore::MatrixT<float> a{1, 2, 3, 4, 5, 6, 7, 8, 9}, b{9, 8, 7, 6, 5, 4, 3, 2, 1};
  a.MultiplyMatrix(b);
  EXPECT_EQ(a, (kelcore::MatrixT<float>{30, 24, 18, 84, 69, 54, 138, 114, 90}));
}

}  // namespace

#include <gtest/gtest.h>

#include <new>

#include "grid/Cell.h"
#include "grid/CellBackgrounds.h"
#include "grid/CellFont.h"
#include "grid/CellRows.h"
#include "support/ModelBuilders.h"
#include "support/RecordingSupplier.h"
#include "support/RecordingSurface.h"

namespace {

using namespace kelcaptioningui;
using kelcaptioning::CaptioningColor, kelcaptioning::TextAttributes, kelcore::RectT, kelui::inkpad::Inkpad;
using kel_test::Cell, kel_test::RecordingSupplier, kel_test::RecordingSurface, kel_test::Row;

TextAttributes WithBackground(const CaptioningColor& background, int rowsUsed = 1) {
  TextAttributes a;
  a.SetBackgroundColor(background), a.SetRowsUsed(rowsUsed);
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
  EXPECT_EQ(fills[0].rect, (RectT<float>{31, 0, 11, 40}));
  EXPECT_EQ(fills[1].rect, (RectT<float>{0, 0, 10, 20}));
  EXPECT_EQ(fills[2].rect, (RectT<float>{10, 0, 11, 20}));  // meets its neighbour on column 10
  for (const auto& fill : fills) EXPECT_EQ(fill.compositing, Gdiplus::CompositingModeSourceCopy);
  EXPECT_EQ(surface.GetRenderMode(), 5);
  EXPECT_EQ(surface.Ops(), (std::vector<std::string>{"SetRenderMode", "SetRenderMode", "SaveState", "FillRect",
                                                      "RestoreState", "SetRenderMode", "SetRenderMode", "SaveState",
                                                      "FillRect", "FillRect", "RestoreState", "SetRenderMode"}));
  EXPECT_EQ(surface.Calls("SetRenderMode")[1].value, 0);

  RecordingSurface clear;
  Inkpad clearInkpad(nullptr, &clear);
  DrawCellBackgrounds({Row({Cell(U'a', WithBackground({0, 0, 0, 0}))})}, &clearInkpad, {}, {0, 0, 10, 20});
  EXPECT_TRUE(clear.Fills().empty());

  // Edges round half up: a window at (0.6, 0.5) starts its first cell on pixel (1, 1).
  RecordingSurface shifted;
  Inkpad shiftedInkpad(nullptr, &shifted);
  DrawCellBackgrounds({Row({Cell(U'a', WithBackground(blue))})}, &shiftedInkpad, {0.6f, 0.5f, 0, 0}, {0, 0, 10.4f, 20});
  ASSERT_EQ(shifted.Fills().size(), 1u);
  EXPECT_EQ(shifted.Fills()[0].rect, (RectT<float>{1, 1, 10, 20}));
}

// A fill that throws (a drawing layer out of memory) still hands the surface back as it came:
// its render mode and no saved state left behind.
TEST(CellBackgrounds, AFillThatThrowsLeavesTheSurfaceAsItWas) {
  struct ThrowingFills : RecordingSurface {
    void FillRect(const kelui::inkpad::Color& color, const RectT<float>& rect) override {
      RecordingSurface::FillRect(color, rect);
      throw std::bad_alloc();
    }
  } surface;
  surface.SetRenderMode(5);
  Inkpad inkpad(nullptr, &surface);
  EXPECT_THROW(DrawCellBackgrounds({Row({Cell(U'a', WithBackground(kelcaptioning::kCaptioningColor_Black))})},
                                   &inkpad, {0, 0, 0, 0}, {0, 0, 10, 20}),
               std::bad_alloc);
  EXPECT_EQ(surface.GetRenderMode(), 5);
  EXPECT_EQ(surface.Ops(), (std::vector<std::string>{"SetRenderMode", "SetRenderMode", "SaveState", "FillRect",
                                                      "RestoreState", "SetRenderMode"}));
}

TEST(CellRows, ExtentsCoverCellsThatShowAnyColour) {
  TextAttributes invisible = WithBackground(kelcaptioning::kCaptioningColor_Transparent);
  invisible.SetForegroundColor(kelcaptioning::kCaptioningColor_Transparent);
  TextAttributes backgroundOnly = invisible;
  backgroundOnly.SetBackgroundColor(kelcaptioning::kCaptioningColor_Black);
  CaptionRectList extents;
  const RectT<float> window{100, 50, 0, 0}, cell{0, 0, 10, 20};
  DrawCellRow(Row({Cell(U'a', invisible), nullptr, Cell(U'c', backgroundOnly)}), nullptr, window,
                               cell, 2, extents);
  DrawCellRow(Row({Cell(U'x'), Cell(U'z', WithBackground(kelcaptioning::kCaptioningColor_Black, 2))}),
                               nullptr, window, cell, 1, extents);
  // The two-row cell reaches down.
  EXPECT_EQ(extents, (CaptionRectList{{120, 90, 10, 20}, {100, 70, 20, 40}}));
}

TEST(CellFont, FaceStyleAndSizeFollowTheClasses) {
  RecordingSupplier supplier;
  TextAttributes a;
  const RectT<float> tall{0, 0, 30, 54};
  const std::pair<int, float> sizes[] = {{1, 32.4f}, {0, 27.0f}, {9, 54.0f}, {2, 37.8f}};
  for (const auto& [sizeClass, expected] : sizes) {
    a.SetTextSize(static_cast<kelcaptioning::TextSize>(sizeClass));
    EXPECT_FLOAT_EQ(CreateCellFont(a, tall, &supplier).size, expected) << sizeClass;
  }
  a.SetTextSize(static_cast<kelcaptioning::TextSize>(0));
  a.SetTextOffset(static_cast<kelcaptioning::TextOffset>(0));
  EXPECT_FLOAT_EQ(CreateCellFont(a, {0, 0, 1, 2}, &supplier).size, 1.3f);  // the floor
  a.SetTextOffset(static_cast<kelcaptioning::TextOffset>(2));
  EXPECT_FLOAT_EQ(CreateCellFont(a, tall, &supplier).size, 54 * 0.5f * 0.583f);

  const std::pair<int, const char*> faces[] = {{1, "Courier New"},    {6, "Segoe Script"},   {-1, "Arial"},
                                                {0, "Arial"},          {2, "Times New Roman"}, {3, "Lucida Console"},
                                                {4, "Arial"},          {5, "Comic Sans MS"},   {7, "Arial"},
                                                {8, "Arial"}};
  for (const auto& [family, face] : faces) {
    a.SetGenericFontFamilyID(static_cast<kelcaptioning::GenericFontFamilyID>(family));
    a.SetItalic(family == 1);
    CreateCellFont(a, tall, &supplier);
    EXPECT_EQ(supplier.fonts.back().face, face) << family;
    EXPECT_EQ(supplier.fonts.back().style, family == 1 ? "Italic" : "") << family;
  }
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

#include <gtest/gtest.h>

#include <cairo.h>

#include "gdiplus/GdiPlus.h"
#include "keltext/FontLibrary.h"
#include "keltext/GlyphDrawing.h"
#include "keltext/ShapedText.h"
#include "support/OutlinedText.h"
#include "support/PixelBuffer.h"

namespace {

using namespace Gdiplus;
using kel_test::DrawOutlinedText;
using kel_test::PixelBuffer;

TEST(GdiPlus, OutlinedTextLaysOutFromTheTopLeftAndKeepsTheFillOpaque) {
  PixelBuffer buffer(300, 100);
  GpGraphics* graphics = buffer.surface()->GetOutputGraphics()->nativeGraphics;
  ASSERT_EQ(GdipSetSmoothingMode(graphics, SmoothingModeAntiAlias), Ok);
  ASSERT_EQ(DrawOutlinedText(graphics, u"Arial", u"HIH", 50.0f, FontStyleRegular, {20, 10, 0, 0}, 0x80000000, 6.0f, 0xFFFFFFFF), Ok);
  const std::vector<int> ink = buffer.InkBounds();
  // Liberation Sans: ascent 0.905 em, cap height 0.729 em; the pen adds 3 px around.
  const double baseline = 10 + 0.905 * 50;
  EXPECT_NEAR(ink[3], baseline + 3 - 1, 1.5);
  EXPECT_NEAR(ink[1], baseline - 0.729 * 50 - 3, 1.5);
  EXPECT_NEAR(ink[0], 20 + 0.08 * 50 - 3, 2.5);
  // Inside the H's stem: the opaque fill. Just outside it: half-transparent pen only.
  const int stemX = 20 + static_cast<int>(0.13 * 50);
  const kel_test::Bgra stem = buffer.At(stemX, static_cast<int>(baseline) - 15);
  EXPECT_EQ(stem, (kel_test::Bgra{255, 255, 255, 255}));
  const kel_test::Bgra edge = buffer.At(ink[0] + 1, static_cast<int>(baseline) - 15);
  EXPECT_NEAR(edge.a, 128, 2);
  EXPECT_EQ(edge.r, 0);
}

TEST(GdiPlus, CachedCoverageMatchesADirectFillOfTheOutlines) {
  const char16_t* text = u"Quick brown fox";
  PixelBuffer viaGdi(400, 80);
  GpGraphics* graphics = viaGdi.surface()->GetOutputGraphics()->nativeGraphics;
  GdipSetSmoothingMode(graphics, SmoothingModeAntiAlias);
  // A transparent pen, then the fill through the coverage cache.
  ASSERT_EQ(DrawOutlinedText(graphics, u"Times New Roman", text, 37.3f, FontStyleRegular, {7, 3, 0, 0}, 0, 1.0f, 0xFF000000), Ok);

  // The same outlines filled in one go by Cairo.
  PixelBuffer direct(400, 80);
  const keltext::LoadedFace* face = keltext::FontLibrary::Instance().Match(u"Times New Roman", u"").face;
  ASSERT_NE(face, nullptr);
  cairo_surface_t* target = cairo_image_surface_create_for_data(const_cast<unsigned char*>(direct.bytes().data()),
                                                                CAIRO_FORMAT_ARGB32, 400, 80, 400 * 4);
  cairo_t* cr = cairo_create(target);
  keltext::ApplyCaptionFontOptions(cr);
  const double baseline = 3 + face->ascender / face->unitsPerEm * 37.3f;
  for (const auto& run : keltext::ShapeText(*face, text)->runs) {
    keltext::SelectRunFont(cr, run, 37.3f);
    const auto glyphs = keltext::PlaceRun(run, 37.3f, 7, baseline);
    cairo_glyph_path(cr, glyphs.data(), static_cast<int>(glyphs.size()));
  }
  cairo_fill(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(target);

  // Glyph origins are placed to a quarter pixel, so edges may differ a little; nothing more.
  long total = 0, inked = 0;
  int worst = 0;
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 400; ++x) {
      const int d = std::abs(viaGdi.At(x, y).a - direct.At(x, y).a);
      total += d;
      worst = std::max(worst, d);
      inked += direct.At(x, y).a > 0;
    }
  }
  EXPECT_GT(inked, 1000);
  EXPECT_LT(static_cast<double>(total) / static_cast<double>(inked), 6.0);
  EXPECT_LT(worst, 100);
}

// Glyphs whose outline needs more than a 1024-pixel mask are drawn straight and cut by the
// surface: a small surface shows the crop of the whole outlined letter.
TEST(GdiPlus, GlyphsTooLargeForAMaskAreCutByTheSurface) {
  PixelBuffer whole(1300, 1400), part(100, 100);
  for (PixelBuffer* buffer : {&whole, &part}) {
    GpGraphics* graphics = buffer->surface()->GetOutputGraphics()->nativeGraphics;
    GdipSetSmoothingMode(graphics, SmoothingModeAntiAlias);
    GdipSetCompositingMode(graphics, CompositingModeSourceCopy);
    // The part is the whole's square from (650, 900): the right stem.
    const INT dx = buffer == &part ? 650 : 0, dy = buffer == &part ? 900 : 0;
    ASSERT_EQ(DrawOutlinedText(graphics, u"Arial", u"H", 1200.0f, FontStyleRegular, {20 - dx, 10 - dy, 0, 0},
                               0x800000FF, 12.0f, 0xFFFFFFFF),
              Ok);
  }
  ASSERT_GT(part.InkBounds()[0], -1);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) ASSERT_EQ(part.At(x, y), whole.At(650 + x, 900 + y)) << x << "," << y;
  }
}

TEST(GdiPlus, DetachedGraphicsDrawNothingAndANullPenFails) {
  GpPath* path = nullptr;
  ASSERT_EQ(GdipCreatePath(FillModeAlternate, &path), Ok);
  GpPen* pen = nullptr;
  ASSERT_EQ(GdipCreatePen1(0xFF000000, 0.0f, UnitWorld, &pen), Ok);
  Graphics detached;
  EXPECT_EQ(GdipDrawPath(detached.nativeGraphics, pen, path), Ok);
  EXPECT_EQ(GdipDrawPath(detached.nativeGraphics, nullptr, path), InvalidParameter);
  GdipDeletePen(pen);
  GdipDeletePath(path);
}

TEST(GdiPlus, PathDrawingFollowsCompositingAndTheSurfaceTransform) {
  PixelBuffer buffer(200, 100);
  auto* surface = buffer.surface();
  surface->FillRect({1, 0, 0, 1}, {0, 0, 200, 100});
  kelcore::MatrixT<float> shift;
  shift.m6 = 100;
  surface->SetTransform(shift);
  GpGraphics* graphics = surface->GetOutputGraphics()->nativeGraphics;
  GdipSetCompositingMode(graphics, CompositingModeSourceCopy);
  GdipSetSmoothingMode(graphics, SmoothingModeNone);
  ASSERT_EQ(DrawOutlinedText(graphics, u"Arial", u"\u25A0", 60.0f, FontStyleRegular, {0, 0, 0, 0}, 0x00000000, 1.0f, 0x800000FF), Ok);
  // The square lands right of x = 100; its fill replaced red with half-transparent blue.
  bool found = false;
  for (int x = 100; x < 200 && !found; ++x) found = buffer.At(x, 45) == (kel_test::Bgra{128, 0, 0, 128});
  EXPECT_TRUE(found);
  for (int x = 0; x < 100; ++x) ASSERT_EQ(buffer.At(x, 45), (kel_test::Bgra{0, 0, 255, 255})) << x;
}

}  // namespace

#include <gtest/gtest.h>

#include <string>

#include "gdiplus/GdiPlus.h"
#include "kelui/FontBaseline.h"
#include "kelui/inkpad/Handles.h"
#include "keltext/FontLibrary.h"
#include "keltext/ShapedText.h"
#include "support/PixelBuffer.h"

namespace {

using keltext::FontLibrary;

std::string FamilyOf(const char16_t* face, const char16_t* style = u"") {
  const keltext::FaceMatch match = FontLibrary::Instance().Match(face, style);
  return match.face ? match.face->family : "(none)";
}

TEST(FontLibrary, CaptionFaceNamesResolveToTheShippedAliases) {
  const std::pair<const char16_t*, const char*> aliases[] = {
      {u"Courier New", "Liberation Mono"}, {u"Segoe Script", "Dancing Script"}, {u"arial", "Liberation Sans"},
      {u"DejaVu Sans", "DejaVu Sans"}};
  for (const auto& [face, family] : aliases) {
    EXPECT_EQ(FamilyOf(face), family) << family;
    EXPECT_TRUE(FontLibrary::Instance().Match(face, u"").answered) << family;
  }
}

TEST(FontLibrary, StylesPickStyledFacesOrSlantUprightOnes) {
  const keltext::LoadedFace* italic = FontLibrary::Instance().Match(u"Arial", u"Italic").face;
  ASSERT_NE(italic, nullptr);
  EXPECT_EQ(italic->style, "Italic");
  EXPECT_FALSE(italic->syntheticOblique);
  // Dancing Script has no italic: Cairo slants the upright face.
  const keltext::LoadedFace* slanted = FontLibrary::Instance().Match(u"Segoe Script", u"Italic").face;
  ASSERT_NE(slanted, nullptr);
  EXPECT_TRUE(slanted->syntheticOblique);
  EXPECT_TRUE(slanted->IsItalic());
  EXPECT_EQ(keltext::ParseStyleName(u"bold italic"), (keltext::FaceStyle{FC_WEIGHT_BOLD, FC_SLANT_ITALIC}));
}

TEST(FontLibrary, UnknownFacesFallBackWithoutAnswering) {
  const keltext::FaceMatch match = FontLibrary::Instance().Match(u"No Such Face 42", u"");
  ASSERT_NE(match.face, nullptr);
  EXPECT_EQ(match.face->family, "DejaVu Sans");
  EXPECT_FALSE(match.answered);
  Gdiplus::GpFontFamily* family = nullptr;
  EXPECT_EQ(Gdiplus::GdipCreateFontFamilyFromName(u"No Such Face 42", nullptr, &family), Gdiplus::FontFamilyNotFound);
}

TEST(TextShaping, MissingGlyphsComeFromAnotherFaceAndRightToLeftIsReordered) {
  const keltext::LoadedFace* arial = FontLibrary::Instance().Match(u"Arial", u"").face;
  ASSERT_NE(arial, nullptr);
  const auto shaped = keltext::ShapeText(*arial, u"Hi \u5B57\u5E55 \u0645\u0631\u062D\u0628\u0627");
  std::vector<std::string> families;
  for (const auto& run : shaped->runs) {
    families.push_back(run.face->family);
    for (const auto& glyph : run.glyphs) EXPECT_NE(glyph.index, 0u) << run.face->family;  // no .notdef boxes
  }
  EXPECT_NE(std::find(families.begin(), families.end(), "WenQuanYi Micro Hei"), families.end());
  EXPECT_NE(std::find(families.begin(), families.end(), "DejaVu Sans"), families.end());
  EXPECT_EQ(families.front(), "Liberation Sans");

  // Hebrew alef then bet: in visual order bet stands left of alef.
  const auto hebrew = keltext::ShapeText(*arial, u"\u05D0\u05D1");
  ASSERT_EQ(hebrew->runs.size(), 1u);
  ASSERT_EQ(hebrew->runs[0].glyphs.size(), 2u);
  const auto alef = keltext::ShapeText(*arial, u"\u05D0")->runs[0].glyphs[0].index;
  EXPECT_EQ(hebrew->runs[0].glyphs[1].index, alef);
}

TEST(FontHandles, MetricsAndTheBaselineWithoutAFont) {
  kelui::inkpad::SupplierInterface* supplier = kelui::inkpad::NewOSSupplier();
  kelui::inkpad::FontP font(supplier, kel_test::U16("Arial"), kel_test::U16(""), 100.0f);
  ASSERT_TRUE(font);
  // Liberation Sans: ascender 1854, descender 434 on 2048 units.
  EXPECT_NEAR(font->GetAscent(), 90.527f, 0.01f);
  EXPECT_NEAR(font->GetDescent(), 21.191f, 0.01f);
  EXPECT_FLOAT_EQ(kelui::GetFontBaseline({}, {0, 10, 50, 200}), 110.0f);
  supplier->Destroy();
}

}  // namespace

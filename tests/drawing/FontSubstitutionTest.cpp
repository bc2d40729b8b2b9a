#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "GpObjects.h"
#include "gdiplus/GdiPlus.h"
#include "keltext/FontLibrary.h"
#include "kelui/inkpad/Supplier.h"

// Faces the machine lacks: metric-compatible stand-ins where Debian packages them, the closest
// face of their kind otherwise, and each substitution reported once.

namespace {

using keltext::FontLibrary;

std::string FamilyOf(const char16_t* face) {
  const keltext::FaceMatch match = FontLibrary::Instance().Match(face, u"");
  return match.face ? match.face->family : "(none)";
}

std::vector<std::pair<std::string, std::string>> SubstitutionsTaken() {
  std::vector<std::pair<std::string, std::string>> taken;
  for (const auto& s : kelui::inkpad::TakeFontSubstitutions()) taken.emplace_back(s.asked, s.drawn);
  return taken;
}

TEST(FontSubstitution, CommonFacesGetTheirStandInOrTheClosestFaceOfTheirKind) {
  const std::pair<const char16_t*, const char*> expected[] = {
      {u"Calibri", "Carlito"},          {u"Cambria", "Caladea"},         {u"Verdana", "DejaVu Sans"},
      {u"Tahoma", "DejaVu Sans"},       {u"Helvetica", "Liberation Sans"}, {u"Georgia", "Liberation Serif"},
      {u"Consolas", "Liberation Mono"}, {u"Segoe UI", "Liberation Sans"}};
  for (const auto& [face, family] : expected) {
    EXPECT_EQ(FamilyOf(face), family);
    Gdiplus::GpFontFamily* gdiFamily = nullptr;
    EXPECT_EQ(Gdiplus::GdipCreateFontFamilyFromName(face, nullptr, &gdiFamily), Gdiplus::Ok) << family;
    Gdiplus::GdipDeleteFontFamily(gdiFamily);
  }
  // Tahoma is narrower than Verdana, as its stand-in is.
  EXPECT_EQ(FontLibrary::Instance().Match(u"Tahoma", u"").face->style, "Condensed");
}

TEST(FontSubstitution, EachSubstitutedFaceIsReportedOnceAndStandInsNotAtAll) {
  SubstitutionsTaken();
  FamilyOf(u"Calibri");
  FamilyOf(u"Arial");
  FamilyOf(u"sans-serif");
  EXPECT_TRUE(SubstitutionsTaken().empty());

  FontLibrary::Instance().Match(u"Nowhere Grotesk", u"");
  FontLibrary::Instance().Match(u"nowhere grotesk", u"Bold Italic");
  FontLibrary::Instance().Match(u"Constantia", u"");
  const auto taken = SubstitutionsTaken();
  const std::vector<std::pair<std::string, std::string>> expected = {{"Nowhere Grotesk", "DejaVu Sans"},
                                                                     {"Constantia", "Liberation Serif"}};
  EXPECT_EQ(taken, expected);
  FontLibrary::Instance().Match(u"Nowhere Grotesk", u"Italic");
  EXPECT_TRUE(SubstitutionsTaken().empty());
}

TEST(FontSubstitution, TheGenericSansSerifFamilyIsTheLastResortFace) {
  Gdiplus::GpFontFamily* family = nullptr;
  ASSERT_EQ(Gdiplus::GdipGetGenericFontFamilySansSerif(&family), Gdiplus::Ok);
  ASSERT_NE(family, nullptr);
  EXPECT_EQ(family->name, u"DejaVu Sans");
  EXPECT_EQ(Gdiplus::GdipDeleteFontFamily(family), Gdiplus::Ok);
  EXPECT_EQ(Gdiplus::GdipGetGenericFontFamilySansSerif(nullptr), Gdiplus::InvalidParameter);
}

}  // namespace

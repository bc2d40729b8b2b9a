#include "kelcore/String.h"

#include <gtest/gtest.h>

#include <sstream>

#include "kelcore/Error.h"
#include "kelcore/Localizer.h"

namespace {

using kelcore::UTF16String;
using namespace kelcore::string;

UTF16String U(const char16_t* text) { return UTF16String(text); }

TEST(Strings, UtfConversionsRoundTripAndReplaceMalformedInput) {
  EXPECT_EQ(AsciiToUTF16("A\x80z"), U(u"A\uFFFDz"));
  EXPECT_EQ(AsciiToUTF16(nullptr, 4), U(u""));

  const std::string text = "caf\xC3\xA9 \xE2\x98\xBA \xF0\x9F\x98\x80";
  const UTF16String wide = UTF8ToUTF16(text);
  EXPECT_EQ(wide, U(u"caf\u00E9 \u263A \U0001F600"));
  EXPECT_EQ(UTF16ToUTF8(wide), text);

  // Bad lead byte, overlong form, encoded surrogate, cut-short sequence at the end.
  EXPECT_EQ(UTF8ToUTF16("a\xFF" "b\xC0\xAF" "c\xED\xA0\x80" "d\xE2\x98"), U(u"a\uFFFDb\uFFFDc\uFFFDd\uFFFD"));
  // A lone surrogate is not UTF-8-encodable.
  EXPECT_EQ(UTF16ToUTF8(std::u16string_view(u"x\xD800y", 3)), "x\xEF\xBF\xBDy");

  UTF16String appended;
  AppendCodePoint(appended, U'\U0010FFFF');
  AppendCodePoint(appended, 0xD800);
  AppendCodePoint(appended, 0x110000);
  EXPECT_EQ(appended, U(u"\U0010FFFF\uFFFD\uFFFD"));
}

TEST(Strings, ReplaceInStringFillsMarkersOnce) {
  EXPECT_EQ(ReplaceInString(U(u"@1 of @0, @@0 @x @"), U(u"two"), U(u"one")), U(u"one of two, @two @x @"));
  // Replacements are not searched again.
  EXPECT_EQ(ReplaceInString(U(u"@0@9"), U(u"@9")), U(u"@9"));
}

TEST(Strings, LocalizerGivesDefaultsTranslationsAndRawText) {
  Localizer& localizer = Localizer::Get();
  localizer.ClearTranslations();
  EXPECT_EQ(localizer.GetLocalizedString("$$$/kel/Test/Hello=Hello @0"), U(u"Hello @0"));
  EXPECT_EQ(localizer.GetLocalizedString("$$$/kel/Test/NoDefault"), U(u"$$$/kel/Test/NoDefault"));
  EXPECT_EQ(localizer.GetLocalizedString("plain = text"), U(u"plain = text"));
  EXPECT_EQ(ZString("$$$/kel/Test/Hello=Hello @0", U(u"world")).Text(), U(u"Hello world"));

  std::istringstream table("# comment\n\n$$$/kel/Test/Hello=Bonjour @0\r\n");
  localizer.LoadTranslations(table);
  EXPECT_EQ(ZString("$$$/kel/Test/Hello=Hello @0", U(u"monde")).Text(), U(u"Bonjour monde"));

  // A bad line rejects the whole table.
  std::istringstream bad("$$$/kel/Test/Other=Autre\nnot a key\n");
  try {
    localizer.LoadTranslations(bad);
    FAIL() << "expected an error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos);
  }
  EXPECT_EQ(localizer.GetLocalizedString("$$$/kel/Test/Other=Other"), U(u"Other"));
  localizer.ClearTranslations();
}

TEST(Strings, ThrownErrorsCarryLevelKeyAndLocalisedText) {
  try {
    kelcore::utility::ThrowError(kelcore::utility::kErrorLevel_Error, "$$$/kel/Test/Failed=It failed \xE2\x98\xBA");
    FAIL() << "expected an error";
  } catch (const kelcore::utility::Error& e) {
    EXPECT_EQ(e.Level(), kelcore::utility::kErrorLevel_Error);
    EXPECT_EQ(e.Key(), "$$$/kel/Test/Failed=It failed \xE2\x98\xBA");
    EXPECT_STREQ(e.what(), "It failed \xE2\x98\xBA");
  }
}

}  // namespace

#include "kelcore/String.h"

#include <gtest/gtest.h>

#include "kelcore/Error.h"
#include "kelcore/Localizer.h"

namespace {

using kelcore::UTF16String;
using namespace kelcore::string;

UTF16String U(const char16_t* text) { return UTF16String(text); }

TEST(Strings, UtfConversionsRoundTripAndReplaceMalformedInput) {
  const std::string text = "caf\xC3\xA9 \xE2\x98\xBA \xF0\x9F\x98\x80";
  EXPECT_EQ(UTF8ToUTF16(text), U(u"caf\u00E9 \u263A \U0001F600"));
  EXPECT_EQ(UTF16ToUTF8(UTF8ToUTF16(text)), text);
  // Bad lead byte, overlong form, encoded surrogate, cut-short sequence at the end.
  EXPECT_EQ(UTF8ToUTF16("a\xFF" "b\xC0\xAF" "c\xED\xA0\x80" "d\xE2\x98"), U(u"a\uFFFDb\uFFFDc\uFFFDd\uFFFD"));
  UTF16String appended;
  AppendCodePoint(appended, U'\U0010FFFF');
  AppendCodePoint(appended, 0xD800);
  EXPECT_EQ(appended, U(u"\U0010FFFF\uFFFD"));
}

TEST(Strings, LocalizerGivesDefaultsTranslationsAndFilledMarkersAndErrorsTheirText) {
  Localizer& localizer = Localizer::Get();
  EXPECT_EQ(localizer.GetLocalizedString("$$$/kel/Test/NoDefault"), U(u"$$$/kel/Test/NoDefault"));
  EXPECT_EQ(ZString("$$$/kel/Test/Hello=Hello @0", U(u"world")).Text(), U(u"Hello world"));
  localizer.SetTranslation("$$$/kel/Test/Hello", U(u"Bonjour @0"));
  EXPECT_EQ(ZString("$$$/kel/Test/Hello=Hello @0", U(u"monde")).Text(), U(u"Bonjour monde"));
  localizer.ClearTranslations();
  try {
    kelcore::utility::ThrowError(kelcore::utility::kErrorLevel_Error, "$$$/kel/Test/Failed=It failed \xE2\x98\xBA");
    FAIL() << "expected an error";
  } catch (const kelcore::utility::Error& e) {
    EXPECT_EQ(e.Key(), "$$$/kel/Test/Failed=It failed \xE2\x98\xBA");
    EXPECT_STREQ(e.what(), "It failed \xE2\x98\xBA");
  }
}

}  // namespace

#pragma once

#include <istream>
#include <map>
#include <shared_mutex>
#include <string>
#include <string_view>

#include "kelcore/Export.h"
#include "kelcore/String.h"

namespace kelcore::string {

// Turns "$$$/area/path/Name=Default text" keys into display text: the loaded translation of
// "$$$/area/path/Name" when there is one, otherwise the default text after the first "=".
// A text that is not such a key is returned as it stands, so a mistake shows on screen.
class KELCORE_API Localizer {
 public:
  static Localizer& Get();

  UTF16String GetLocalizedString(std::string_view key) const;

  // Translation table lines: "$$$/area/path/Name=Translated text" in UTF-8. Blank lines and lines
  // starting with '#' are skipped. Throws std::runtime_error naming the line of a malformed entry;
  // on error nothing of that table is kept.
  void LoadTranslations(std::istream& table);
  void SetTranslation(std::string_view keyPath, const UTF16String& text);
  void ClearTranslations();

 private:
  Localizer() = default;
  mutable std::shared_mutex mutex_;
  std::map<std::string, UTF16String, std::less<>> translations_;
};

// A localised text with its markers @0 to @9 replaced.
class KELCORE_API ZString {
 public:
  explicit ZString(std::string_view key, const UTF16String& r0 = {}, const UTF16String& r1 = {},
                   const UTF16String& r2 = {}, const UTF16String& r3 = {}, const UTF16String& r4 = {},
                   const UTF16String& r5 = {}, const UTF16String& r6 = {}, const UTF16String& r7 = {},
                   const UTF16String& r8 = {}, const UTF16String& r9 = {});

  const UTF16String& Text() const noexcept { return text_; }
  operator const UTF16String&() const noexcept { return text_; }

 private:
  UTF16String text_;
};

}  // namespace kelcore::string

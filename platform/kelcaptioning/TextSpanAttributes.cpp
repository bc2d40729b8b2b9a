#include "kelcaptioning/TextSpanAttributes.h"

namespace kelcaptioning {

kelcore::UTF16String TextSpanAttributes::GetResolvedFontName() const {
  return fontName_.empty() ? kelcore::string::AsciiToUTF16(kDefaultFontName) : fontName_;
}

kelcore::UTF16String TextSpanAttributes::GetFontStyleString(bool forFontLookup) const {
  switch (style_) {
    case kFontStyle_Italic:
      return kelcore::string::AsciiToUTF16("Italic");
    case kFontStyle_Bold:
      return kelcore::string::AsciiToUTF16("Bold");
    case kFontStyle_BoldItalic:
      return kelcore::string::AsciiToUTF16("Bold Italic");
    default:
      // Unknown styles fall back to regular.
      return forFontLookup ? kelcore::UTF16String() : kelcore::string::AsciiToUTF16("Regular");
  }
}

}  // namespace kelcaptioning

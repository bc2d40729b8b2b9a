#include "open/SpanFont.h"

namespace kelcaptioningui {

kelui::inkpad::FontP MakeSpanFont(kelcaptioning::TextSpanAttributes attributes, kelui::inkpad::Inkpad* inkpad,
                                  float size) {
  const kelcore::UTF16String name = attributes.GetResolvedFontName();
  const kelcore::UTF16String style = attributes.GetFontStyleString(true);
  return kelui::inkpad::FontP(inkpad ? inkpad->GetSupplier() : nullptr, name, style, size);
}

}  // namespace kelcaptioningui

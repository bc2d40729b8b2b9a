#include "captionfiles/LineBreaking.h"

#include <linebreak.h>

#include <mutex>
#include <string>

#include "captionfiles/Utf8.h"

namespace kelcaptionfiles {

namespace {

bool IsSpace(char16_t unit) { return unit == u' ' || unit == u'\t' || unit == u'\u3000'; }

// Marks that draw on the character before them, and the joiners and selectors that bind two.
bool JoinsPrevious(char16_t unit) {
  return (unit >= 0xDC00 && unit <= 0xDFFF) || (unit >= 0x0300 && unit <= 0x036F) ||
         (unit >= 0x0483 && unit <= 0x0489) || (unit >= 0x0591 && unit <= 0x05C7) ||
         (unit >= 0x0610 && unit <= 0x061A) || (unit >= 0x064B && unit <= 0x065F) || unit == 0x0670 ||
         (unit >= 0x0900 && unit <= 0x0903) || (unit >= 0x093A && unit <= 0x094F) ||
         (unit >= 0x0E31 && unit <= 0x0E3A && unit != 0x0E32 && unit != 0x0E33) || (unit >= 0x0E47 && unit <= 0x0E4E) ||
         (unit >= 0x1AB0 && unit <= 0x1AFF) || (unit >= 0x1DC0 && unit <= 0x1DFF) || (unit >= 0x200C && unit <= 0x200D) ||
         (unit >= 0x20D0 && unit <= 0x20FF) || (unit >= 0x3099 && unit <= 0x309A) || (unit >= 0xFE00 && unit <= 0xFE0F) ||
         (unit >= 0xFE20 && unit <= 0xFE2F);
}

}  // namespace

std::vector<BreakSegment> BreakSegments(std::u16string_view text) {
  std::vector<BreakSegment> segments;
  if (text.empty()) return segments;
  static std::once_flag once;
  std::call_once(once, init_linebreak);
  // libunibreak takes U+FFFF for the end of the text and asserts on a lone surrogate at its end: it
  // is handed U+FFFD in place of both instead, which keeps the text's length and so every index.
  std::u16string paired(text);
  for (std::size_t i = 0; i < paired.size(); ++i) {
    if (IsSurrogatePairAt(paired, i)) {
      ++i;
    } else if ((paired[i] >= 0xD800 && paired[i] <= 0xDFFF) || paired[i] == 0xFFFF) {
      paired[i] = u'\uFFFD';
    }
  }
  std::vector<char> breaks(text.size());
  set_linebreaks_utf16(reinterpret_cast<const utf16_t*>(paired.data()), paired.size(), nullptr, breaks.data());
  std::size_t begin = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool last = i + 1 == text.size();
    const char kind = breaks[i];
    if (!last && kind != LINEBREAK_MUSTBREAK && kind != LINEBREAK_ALLOWBREAK) continue;
    BreakSegment segment{begin, i + 1, i + 1, !last && kind == LINEBREAK_MUSTBREAK};
    while (segment.contentEnd > begin &&
           (IsSpace(text[segment.contentEnd - 1]) || text[segment.contentEnd - 1] == u'\n' ||
            text[segment.contentEnd - 1] == u'\r')) {
      --segment.contentEnd;
    }
    segments.push_back(segment);
    begin = i + 1;
  }
  return segments;
}

bool CanCutBefore(std::u16string_view text, std::size_t at) {
  return at > 0 && at < text.size() && !JoinsPrevious(text[at]);
}

}  // namespace kelcaptionfiles

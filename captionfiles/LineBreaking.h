#pragma once

// Where a line of text may wrap: the line-break opportunities of Unicode (UAX #14, through
// libunibreak), on the logical text, so right-to-left and mixed scripts wrap as written and CJK
// breaks between characters.

#include <cstddef>
#include <string_view>
#include <vector>

namespace kelcaptionfiles {

// A piece of text between two break opportunities: [begin, end) in UTF-16 units, `contentEnd`
// where its trailing spaces start (they vanish at the end of a line). `mustBreak`: a line must
// end after it (a line feed inside the text).
struct BreakSegment {
  std::size_t begin = 0;
  std::size_t contentEnd = 0;
  std::size_t end = 0;
  bool mustBreak = false;
};

// The segments of `text`, in order, covering all of it.
std::vector<BreakSegment> BreakSegments(std::u16string_view text);

// Where a word too long for any line may be cut: before every code point that does not join the
// one before it (not inside a surrogate pair, not before a combining mark or joiner).
bool CanCutBefore(std::u16string_view text, std::size_t at);

}  // namespace kelcaptionfiles

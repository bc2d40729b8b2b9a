#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "captionfiles/BalancedWrapping.h"
#include "captionfiles/LineBreaking.h"

namespace {

using kelcaptionfiles::BalancedLineStarts;
using kelcaptionfiles::BreakSegments;
using kelcaptionfiles::WrapPiece;

std::vector<std::u16string> Segments(std::u16string_view text) {
  std::vector<std::u16string> parts;
  for (const auto& s : BreakSegments(text)) {
    parts.emplace_back(text.substr(s.begin, s.end - s.begin));
    EXPECT_EQ(text.substr(s.contentEnd, s.end - s.contentEnd).find_first_not_of(u" \n"), std::u16string::npos);
  }
  return parts;
}

// Breaks fall where UAX #14 allows them: after spaces and hyphens, between CJK characters but not
// before their closing punctuation, never at a no-break space; a line feed must break.
TEST(LineBreaking, OpportunitiesOfUnicode) {
  EXPECT_EQ(Segments(u"two words  here"), (std::vector<std::u16string>{u"two ", u"words  ", u"here"}));
  EXPECT_EQ(Segments(u"well-known\u00A0fact"), (std::vector<std::u16string>{u"well-", u"known\u00A0fact"}));
  EXPECT_EQ(Segments(u"日本語。です"), (std::vector<std::u16string>{u"日", u"本", u"語。", u"で", u"す"}));
  EXPECT_EQ(Segments(u"שלום, עולם"), (std::vector<std::u16string>{u"שלום, ", u"עולם"}));
  const auto forced = BreakSegments(u"one\ntwo");
  ASSERT_EQ(forced.size(), 2u);
  EXPECT_TRUE(forced[0].mustBreak);
  EXPECT_EQ(forced[0].contentEnd, 3u);
  EXPECT_TRUE(kelcaptionfiles::CanCutBefore(u"ae\u0301", 1));
  EXPECT_FALSE(kelcaptionfiles::CanCutBefore(u"ae\u0301", 2));  // the accent stays with its letter
  EXPECT_FALSE(kelcaptionfiles::CanCutBefore(u"a\U0001F600", 2));  // inside a surrogate pair
  // U+FFFF, which the breaking library takes for the end of the text, and unpaired surrogates still
  // give segments that cover the whole text.
  const std::u16string odd{u'a', u' ', 0xFFFF, u'b', u' ', 0xDC00, u'c', u' ', 0xD800};
  EXPECT_EQ(Segments(odd), (std::vector<std::u16string>{odd.substr(0, 2), odd.substr(2, 3), odd.substr(5, 3),
                                                        odd.substr(8)}));
}

std::vector<WrapPiece> Words(const std::vector<double>& widths, double space = 1) {
  std::vector<WrapPiece> pieces;
  for (double w : widths) pieces.push_back({w + space, w, false});
  return pieces;
}

// As few lines as fit, the most even of them; a forced break starts a new stretch; a piece
// wider than the line stands alone; very long stretches are filled greedily.
TEST(BalancedWrapping, FewestLinesMostEven) {
  EXPECT_EQ(BalancedLineStarts(Words({3, 3, 3, 3}), 100), (std::vector<std::size_t>{0}));
  // 4 4 4 | 9 and 4 4 | 4 9 are as even; the longer line goes below.
  EXPECT_EQ(BalancedLineStarts(Words({4, 4, 4, 9}), 15), (std::vector<std::size_t>{0, 2}));
  EXPECT_EQ(BalancedLineStarts(Words({2, 2, 2, 2, 2, 2}), 11), (std::vector<std::size_t>{0, 3}));
  auto forced = Words({2, 2, 2, 2});
  forced[0].mustBreak = true;
  EXPECT_EQ(BalancedLineStarts(forced, 100), (std::vector<std::size_t>{0, 1}));
  EXPECT_EQ(BalancedLineStarts(Words({2, 50, 2}), 10), (std::vector<std::size_t>{0, 1, 2}));
  EXPECT_EQ(BalancedLineStarts({}, 10), (std::vector<std::size_t>{}));
  const std::vector<std::size_t> many = BalancedLineStarts(Words(std::vector<double>(1000, 1)), 19.5);
  EXPECT_EQ(many.size(), 100u);  // ten pieces of 1 and nine spaces a line
}

}  // namespace

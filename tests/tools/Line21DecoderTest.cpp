#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "captionfiles/Line21Decoder.h"

namespace {

using namespace kelcaptionfiles;

using Pair = std::pair<std::uint8_t, std::uint8_t>;

// Channel 1 codes, without parity.
constexpr Pair RCL{0x14, 0x20}, BS{0x14, 0x21}, DER{0x14, 0x24}, RU3{0x14, 0x26}, FON{0x14, 0x28},
    RDC{0x14, 0x29}, EDM{0x14, 0x2C}, CR{0x14, 0x2D}, ENM{0x14, 0x2E}, EOC{0x14, 0x2F}, TO2{0x17, 0x22}, AON{0x14, 0x23};

// A preamble address code for `row` (1 to 15) with its attribute bits (0x10 | indent/4*2 for an
// indent, colour*2 otherwise, +1 for underline).
Pair Pac(int row, int attribute) {
  static constexpr std::uint8_t kFirst[16] = {0, 0x11, 0x11, 0x12, 0x12, 0x15, 0x15, 0x16,
                                              0x16, 0x17, 0x17, 0x10, 0x13, 0x13, 0x14, 0x14};
  const bool lower = row <= 10 ? row % 2 == 0 : row >= 12 && row % 2 == 1;
  return {kFirst[row], static_cast<std::uint8_t>(0x40 | (lower ? 0x20 : 0) | attribute)};
}

// Feeds codes twice, as encoders send them, and text as pairs of characters.
bool Send(Line21Decoder& decoder, std::initializer_list<Pair> codes) {
  bool changed = false;
  for (const Pair& code : codes) {
    changed |= decoder.Feed(code.first, code.second);
    changed |= decoder.Feed(code.first, code.second);
  }
  return changed;
}
bool Type(Line21Decoder& decoder, const std::string& text) {
  bool changed = false;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    changed |= decoder.Feed(static_cast<std::uint8_t>(text[i]),
                            i + 1 < text.size() ? static_cast<std::uint8_t>(text[i + 1]) : 0);
  }
  return changed;
}

// A row's characters, empty cells as '.', trailing empties dropped.
std::u32string Row(const Line21Memory& memory, int row) {
  std::u32string text;
  for (const auto& cell : memory[static_cast<std::size_t>(row)]) text += cell.Empty() ? U'.' : cell.character;
  while (!text.empty() && text.back() == U'.') text.pop_back();
  return text;
}

int NonBlankRows(const Line21Memory& memory) {
  int rows = 0;
  for (int r = 0; r < kLine21Rows; ++r) rows += !Row(memory, r).empty();
  return rows;
}

TEST(Line21Decoder, PopOnLoadsOffScreenAndShowsAtEndOfCaption) {
  Line21Decoder decoder;
  EXPECT_FALSE(Send(decoder, {RCL, ENM, Pac(15, 0x10 | 2)}));  // row 15, indent 4
  EXPECT_FALSE(Type(decoder, "HELLO"));
  EXPECT_EQ(NonBlankRows(decoder.Displayed()), 0);
  EXPECT_TRUE(Send(decoder, {EOC}));
  EXPECT_EQ(Row(decoder.Displayed(), 14), U"....HELLO");
  // The next caption loads behind the shown one and replaces it whole.
  Send(decoder, {RCL, ENM, Pac(2, 0x4 | 1)});  // row 2, blue, underlined
  Type(decoder, "NEXT");
  EXPECT_EQ(Row(decoder.Displayed(), 14), U"....HELLO");
  EXPECT_TRUE(Send(decoder, {EOC}));
  EXPECT_EQ(Row(decoder.Displayed(), 1), U"NEXT");
  EXPECT_EQ(NonBlankRows(decoder.Displayed()), 1);
  EXPECT_EQ(decoder.Displayed()[1][0].style.foreground, Line21Color::Blue);
  EXPECT_TRUE(decoder.Displayed()[1][0].style.underline);
}

// A recording or a stream segment that starts after a caption's loading command: the caption
// loads off screen all the same and shows at its end-of-caption code.
TEST(Line21Decoder, ACaptionJoinedAfterItsLoadingCommandShowsAtEndOfCaption) {
  Line21Decoder decoder;
  EXPECT_FALSE(Send(decoder, {ENM, Pac(1, 0)}));
  EXPECT_FALSE(Type(decoder, "TOP LEFT"));
  EXPECT_EQ(NonBlankRows(decoder.Displayed()), 0);
  EXPECT_TRUE(Send(decoder, {EDM, EOC}));
  EXPECT_EQ(Row(decoder.Displayed(), 0), U"TOP LEFT");
  EXPECT_TRUE(decoder.Ignored().empty());
}

TEST(Line21Decoder, RollUpOfThreeRowsScrollsOverFiveLines) {
  Line21Decoder decoder;
  Send(decoder, {RU3, Pac(15, 0)});
  for (int line = 1; line <= 5; ++line) {
    if (line > 1) { EXPECT_TRUE(Send(decoder, {CR})); }
    EXPECT_TRUE(Type(decoder, "LINE" + std::to_string(line)));
  }
  EXPECT_EQ(Row(decoder.Displayed(), 12), U"LINE3");
  EXPECT_EQ(Row(decoder.Displayed(), 14), U"LINE5");
  EXPECT_EQ(NonBlankRows(decoder.Displayed()), 3);
}

TEST(Line21Decoder, PaintOnWithBackspaceAndDeleteToEndOfRow) {
  Line21Decoder decoder;
  Send(decoder, {RDC, Pac(1, 0)});
  EXPECT_TRUE(Type(decoder, "ABCDE"));  // paint-on shows each character as it comes
  EXPECT_TRUE(Send(decoder, {BS}));
  EXPECT_EQ(Row(decoder.Displayed(), 0), U"ABCD");
  Send(decoder, {Pac(1, 0), TO2});  // back to column 0, then two columns on
  EXPECT_TRUE(Send(decoder, {DER}));
  EXPECT_EQ(Row(decoder.Displayed(), 0), U"AB");
  // At the last column each character overwrites the one before: a pair that ends on what was
  // there changes nothing and says so.
  Send(decoder, {Pac(3, 0x10 | 14)});  // indent 28
  Type(decoder, "wxyz");
  EXPECT_FALSE(Type(decoder, "az"));
}

TEST(Line21Decoder, MidRowCodesAndSpecialCharacters) {
  Line21Decoder decoder;
  Send(decoder, {RCL, Pac(2, 0)});
  Type(decoder, "AB");
  Send(decoder, {{0x11, 0x28}});  // red
  Type(decoder, "CD");
  Send(decoder, {{0x11, 0x2F}});  // italics, underlined
  Type(decoder, "EF");
  Send(decoder, {{0x11, 0x22}});  // green: italics end
  Type(decoder, "G ");
  Send(decoder, {{0x10, 0x23}});  // semi-transparent green background, over the space before it
  Type(decoder, "H");
  Send(decoder, {{0x11, 0x39}});  // transparent space
  Type(decoder, "K");
  Send(decoder, {EOC});
  const auto& row = decoder.Displayed()[1];
  EXPECT_EQ(Row(decoder.Displayed(), 1), U"AB CD EF G H.K");  // each code takes a cell as a space
  EXPECT_EQ(row[3].style.foreground, Line21Color::Red);
  EXPECT_EQ(row[6].style.foreground, Line21Color::Red);  // italics keep the colour
  EXPECT_TRUE(row[6].style.italic && row[6].style.underline);
  EXPECT_EQ(row[9].style.foreground, Line21Color::Green);
  EXPECT_FALSE(row[9].style.italic || row[9].style.underline);
  EXPECT_EQ(row[11].style.background, Line21Color::Green);
  EXPECT_EQ(row[11].style.backgroundOpacity, Line21Opacity::SemiTransparent);
  // Special characters, characters of the basic set replaced, extended ones over their stand-ins.
  Send(decoder, {RCL, Pac(15, 0), {0x11, 0x37}});  // music note
  Type(decoder, " *\\^_`{|}~\x7F" "A");
  Send(decoder, {{0x12, 0x20}, {0x11, 0x3A}, {0x12, 0x2E}, EOC});  // Á over the A; è, then “ over the è
  EXPECT_EQ(Row(decoder.Displayed(), 14), U"\u266A \u00E1\u00E9\u00ED\u00F3\u00FA\u00E7\u00F7\u00D1\u00F1\u2588"
                                           U"\u00C1\u201C");
}

TEST(Line21Decoder, DoubledControlCodesActOnceAndOtherChannelsAreIgnored) {
  Line21Decoder decoder;
  Send(decoder, {RDC, Pac(1, 0)});
  Type(decoder, "ABC");
  // The second copy of a code does not act again, even with padding between the copies.
  decoder.Feed(BS.first, BS.second);
  decoder.Feed(0, 0);
  decoder.Feed(BS.first, BS.second);
  EXPECT_EQ(Row(decoder.Displayed(), 0), U"AB");
  // Channel 2's codes and the text after them are not channel 1's.
  Send(decoder, {{0x1C, 0x2C}});  // channel 2 erase displayed memory
  Type(decoder, "XY");
  EXPECT_EQ(Row(decoder.Displayed(), 0), U"AB");
  Send(decoder, {AON});  // back on channel 1, and alarms are not shown
  Type(decoder, "Z");
  EXPECT_EQ(Row(decoder.Displayed(), 0), U"ABZ");
  EXPECT_EQ(decoder.Ignored().at("alarm codes (AOF/AON)"), 1);
}

// A background attribute backs up over the standard space sent before it for older decoders;
// straight after the cursor is placed there is no such space, and the letter there stays.
TEST(Line21Decoder, BackgroundAttributesBackUpOnlyAfterACharacter) {
  Line21Decoder decoder;
  Send(decoder, {RDC, Pac(1, 0)});
  Type(decoder, "GOOD");
  Send(decoder, {Pac(1, 0x10 | 2), {0x10, 0x24}});  // column 4, then a blue background
  Type(decoder, "X ");
  Send(decoder, {{0x10, 0x28}});  // a red background over the space just sent
  Type(decoder, "Y");
  EXPECT_EQ(Row(decoder.Displayed(), 0), U"GOOD X Y");
  EXPECT_EQ(decoder.Displayed()[0][5].style.background, Line21Color::Blue);
  EXPECT_EQ(decoder.Displayed()[0][7].style.background, Line21Color::Red);
}

}  // namespace

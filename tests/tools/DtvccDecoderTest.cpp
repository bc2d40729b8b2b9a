#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "captionfiles/DtvccDecoder.h"
#include "kelcaptioning/RenderableModel.h"
#include "support/DtvccData.h"

namespace {

using namespace kelcaptionfiles;
using namespace kel_test;
using kelmediatypes::TickTime;

constexpr std::uint8_t CR = 0x0D, BS = 0x08, FF = 0x0C, HCR = 0x0E, ETX = 0x03, EXT1 = 0x10;
constexpr std::uint8_t CLW = 0x88, DSW = 0x89, HDW = 0x8A, TGW = 0x8B, DLW = 0x8C;

class Dtvcc : public ::testing::Test {
 protected:
  void Send(std::initializer_list<Bytes> commands) {
    for (const auto& triplet : Packets(commands, 1, &sequence_)) decoder_.Feed(TickTime(), triplet);
  }
  // A visible window 0 of one row of `columns` at the top left, in window style `style`.
  void Window(int columns = 20, int rows = 1, int style = 1) {
    Send({DefineWindow({.rows = rows, .columns = columns, .windowStyle = style})});
  }

  const DtvccShownWindow* Shown(int id) const {
    for (const DtvccShownWindow& w : decoder_.Shown()) {
      if (w.id == id) return &w;
    }
    return nullptr;
  }
  // A shown row's characters, empty cells as '.', trailing empties dropped.
  std::u32string Row(int id, int row) const {
    const DtvccShownWindow* w = Shown(id);
    if (!w) return U"(not shown)";
    std::u32string text;
    for (const DtvccCell& cell : w->text[static_cast<std::size_t>(row)]) text += cell.Empty() ? U'.' : cell.character;
    while (!text.empty() && text.back() == U'.') text.pop_back();
    return text;
  }
  const DtvccCell& Cell(int id, int row, int column) const {
    return Shown(id)->text[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }
  std::vector<std::string> Notes() const { return decoder_.Notes().Texts(); }

  DtvccDecoder decoder_;
  int sequence_ = 0;
};

struct Placement {
  int top, left, rows, columns;
};

Placement PlacementOf(const DtvccShownWindow* w) {
  if (!w) return {-1, -1, -1, -1};
  return {w->top, w->left, w->rows, w->columns};
}

bool operator==(const Placement& a, const Placement& b) {
  return a.top == b.top && a.left == b.left && a.rows == b.rows && a.columns == b.columns;
}

std::ostream& operator<<(std::ostream& out, const Placement& p) {
  return out << "{top " << p.top << ", left " << p.left << ", " << p.rows << " x " << p.columns << "}";
}

// ---- windows: definition, placement, styles

TEST_F(Dtvcc, DefineWindowPlacesEachAnchorPointOnTheGrid) {
  Send({DefineWindow({.id = 0, .vertical = 74, .horizontal = 105, .anchorPoint = 7, .rows = 2, .columns = 20}),
        DefineWindow({.id = 1, .vertical = 0, .horizontal = 0, .anchorPoint = 0, .rows = 1, .columns = 10}),
        DefineWindow({.id = 2, .vertical = 74, .horizontal = 209, .anchorPoint = 8, .rows = 3, .columns = 10}),
        DefineWindow(
            {.id = 3, .relative = true, .vertical = 50, .horizontal = 50, .anchorPoint = 4, .rows = 4, .columns = 10}),
        // Past the screen's corner: moved back onto it.
        DefineWindow({.id = 4, .vertical = 74, .horizontal = 200, .anchorPoint = 0, .rows = 3, .columns = 20}),
        DefineWindow({.id = 5, .vertical = 30, .horizontal = 100, .anchorPoint = 5, .rows = 2, .columns = 8})});
  EXPECT_EQ(PlacementOf(Shown(0)), (Placement{13, 11, 2, 20}));
  EXPECT_EQ(PlacementOf(Shown(1)), (Placement{0, 0, 1, 10}));
  EXPECT_EQ(PlacementOf(Shown(2)), (Placement{12, 32, 3, 10}));
  EXPECT_EQ(PlacementOf(Shown(3)), (Placement{6, 16, 4, 10}));
  EXPECT_EQ(PlacementOf(Shown(4)), (Placement{12, 22, 3, 20}));
  EXPECT_EQ(PlacementOf(Shown(5)), (Placement{5, 12, 2, 8}));
  EXPECT_EQ(Shown(0)->anchorPoint, 7);
  EXPECT_EQ(decoder_.CurrentWindow(), 5);
}

TEST(DtvccScreen, FourByThreeScreensHave32ColumnsOfFiveCellsEach) {
  DtvccDecoder decoder(1, false);
  for (const auto& t : Packets({DefineWindow({.horizontal = 159, .anchorPoint = 2, .rows = 1, .columns = 10}),
                                DefineWindow({.id = 1, .rows = 2, .columns = 64})}))
    decoder.Feed(TickTime(), t);
  ASSERT_EQ(decoder.Shown().size(), 2u);
  EXPECT_EQ(decoder.GridColumns(), 32);
  EXPECT_EQ(decoder.Shown()[0].left, 22);
  // 64 columns are cut to the grid's 32.
  EXPECT_EQ(decoder.Shown()[1].columns, 32);
  EXPECT_EQ(decoder.Notes().Texts(),
            std::vector<std::string>{"windows larger than the caption grid (cut to it): 1 time"});
}

TEST_F(Dtvcc, DefineWindowKeepsWhatItSaysAndStartsWithThePredefinedStyles) {
  // Written out byte by byte: DF3, visible + row lock + priority 5, relative + 10, 90, anchor
  // point 6 + 4 rows, 30 columns, styles 0.
  Send({{0x9B, 0x35, 0x8A, 0x5A, 0x63, 0x1D, 0x00}});
  const DtvccWindowDefinition& d = decoder_.Window(3).Definition();
  EXPECT_TRUE(d.visible && d.rowLock && !d.columnLock && d.relative);
  EXPECT_EQ(d.priority, 5);
  EXPECT_EQ(d.anchorVertical, 10);
  EXPECT_EQ(d.anchorHorizontal, 90);
  EXPECT_EQ(d.anchorPoint, 6);
  EXPECT_EQ(d.rowCount, 4);
  EXPECT_EQ(d.columnCount, 30);
  // Style 0 on a new window is style 1: a black window, white text on black.
  EXPECT_EQ(decoder_.Window(3).Attributes(), PredefinedWindowStyle(1));
  EXPECT_EQ(decoder_.Window(3).Attributes().fill, (DtvccColor{0, 0, 0, DtvccOpacity::Solid}));
  EXPECT_EQ(decoder_.Window(3).Pen(), DtvccPen{});
  EXPECT_EQ(decoder_.Window(3).Pen().foreground, (DtvccColor{2, 2, 2, DtvccOpacity::Solid}));
}

TEST_F(Dtvcc, PredefinedStylesCenterWrapAndOutlineAsTheyAreMeant) {
  // Window style 6: centred roll-up captions that wrap; pen style 7: proportional sans serif,
  // outlined, without a background.
  Send({DefineWindow({.rows = 2, .columns = 10, .windowStyle = 6, .penStyle = 7}), Text("CENTRED TEXT")});
  EXPECT_EQ(Row(0, 0), U".CENTRED");
  EXPECT_EQ(Row(0, 1), U"...TEXT");
  const DtvccPen& pen = Cell(0, 1, 3).pen;
  EXPECT_EQ(pen.fontStyle, 4);
  EXPECT_EQ(pen.edgeType, DtvccPen::kUniform);
  EXPECT_EQ(pen.background.opacity, DtvccOpacity::Transparent);
  // Window style 5 has no fill: a window of it without text shows nothing.
  Send({DefineWindow({.id = 1, .windowStyle = 5})});
  EXPECT_EQ(Shown(1), nullptr);
  EXPECT_EQ(PredefinedWindowStyle(7).scrollDirection, DtvccWindowAttributes::kRightToLeft);
}

TEST_F(Dtvcc, RedefiningAWindowKeepsItsTextAttributesAndPenWhereTheStyleIsZero) {
  Send({DefineWindow({.rows = 2, .columns = 10}), SetWindowAttributes({.fill = Color(0, 0, 0, 3)}),
        SetPenAttributes({.italics = true}), Text("HELLO"), SetPenLocation(1, 0), Text("AB"),
        DefineWindow({.rows = 1, .columns = 3, .windowStyle = 0, .penStyle = 0})});
  EXPECT_EQ(Row(0, 0), U"HEL");
  EXPECT_EQ(PlacementOf(Shown(0)), (Placement{0, 0, 1, 3}));
  EXPECT_EQ(Shown(0)->fill, (DtvccColor{0, 0, 3, DtvccOpacity::Solid}));
  EXPECT_TRUE(decoder_.Window(0).Pen().italics);
  // A style named again puts it back.
  Send({DefineWindow({.rows = 1, .columns = 3, .windowStyle = 2, .penStyle = 1})});
  EXPECT_EQ(decoder_.Window(0).Attributes().fill.opacity, DtvccOpacity::Transparent);
  EXPECT_FALSE(decoder_.Window(0).Pen().italics);
  EXPECT_EQ(Row(0, 0), U"HEL");
}

TEST_F(Dtvcc, DisplayHideToggleClearAndDeleteActOnTheWindowsOfTheirBitmap) {
  Send({DefineWindow({.id = 0, .visible = false, .vertical = 0}), Text("ZERO"),
        DefineWindow({.id = 1, .visible = false, .vertical = 50}), Text("ONE")});
  EXPECT_TRUE(decoder_.Shown().empty());
  Send({WithByte(DSW, 0x01)});
  EXPECT_EQ(Row(0, 0), U"ZERO");
  EXPECT_EQ(Shown(1), nullptr);
  Send({WithByte(TGW, 0x03)});
  EXPECT_EQ(Shown(0), nullptr);
  EXPECT_EQ(Row(1, 0), U"ONE");
  Send({WithByte(HDW, 0x02)});
  EXPECT_TRUE(decoder_.Shown().empty());
  Send({WithByte(DSW, 0xFF), WithByte(CLW, 0x02)});
  EXPECT_EQ(Row(0, 0), U"ZERO");
  EXPECT_EQ(Row(1, 0), U"");  // cleared; its black fill still shows
  // Deleting the current window leaves none current: text goes nowhere until one is chosen.
  Send({WithByte(DLW, 0x02), Text("LOST")});
  EXPECT_FALSE(decoder_.Window(1).Defined());
  EXPECT_EQ(decoder_.CurrentWindow(), -1);
  EXPECT_EQ(Shown(1), nullptr);
  Send({{0x80}, Text("!")});
  EXPECT_EQ(Row(0, 0), U"ZERO!");
  EXPECT_EQ(Notes(), std::vector<std::string>{"characters before any window is defined (skipped): 4 times"});
}

TEST_F(Dtvcc, SetCurrentWindowChoosesWhereTextAndPenCommandsGo) {
  Send({DefineWindow({.id = 2, .vertical = 0}),
        DefineWindow({.id = 6, .vertical = 50}),
        {0x82},
        Text("TWO"),
        {0x86},
        SetPenAttributes({.underline = true}),
        Text("SIX")});
  EXPECT_EQ(Row(2, 0), U"TWO");
  EXPECT_EQ(Row(6, 0), U"SIX");
  EXPECT_TRUE(Cell(6, 0, 0).pen.underline);
  EXPECT_FALSE(Cell(2, 0, 0).pen.underline);
  // A current window that is not defined takes nothing.
  Send({{0x87}, Text("X"), SetPenLocation(0, 0)});
  EXPECT_EQ(Notes(), (std::vector<std::string>{"characters before any window is defined (skipped): 1 time",
                                               "window commands before any window is defined (skipped): 1 time"}));
}

TEST_F(Dtvcc, WindowsAreShownByPriorityTheHighestLast) {
  Send({DefineWindow({.id = 0, .priority = 3}), DefineWindow({.id = 1, .priority = 1}),
        DefineWindow({.id = 2, .priority = 3}), DefineWindow({.id = 3, .priority = 7})});
  std::vector<int> order;
  for (const DtvccShownWindow& w : decoder_.Shown()) order.push_back(w.id);
  EXPECT_EQ(order, (std::vector<int>{3, 0, 2, 1}));
}

TEST_F(Dtvcc, ResetDeletesEveryWindow) {
  Send({DefineWindow({.id = 0}), Text("A"), DefineWindow({.id = 5, .vertical = 40}), Text("B"), {0x8F}});
  EXPECT_TRUE(decoder_.Shown().empty());
  EXPECT_EQ(decoder_.CurrentWindow(), -1);
  for (int id = 0; id < 8; ++id) EXPECT_FALSE(decoder_.Window(id).Defined());
}

// ---- window attributes

TEST_F(Dtvcc, SetWindowAttributesReadsEveryField) {
  Window();
  // Written out byte by byte: translucent fill of levels 1 2 3; border type 5 (its low bits here,
  // its high bit in the next byte) of red; word wrap, print right to left, scroll top to bottom,
  // full justification; effect speed 9, direction 2, fade.
  Send({{0x97, 0x9B, 0x70, 0xDB, 0x99}});
  const DtvccWindowAttributes& a = decoder_.Window(0).Attributes();
  EXPECT_EQ(a.fill, (DtvccColor{1, 2, 3, DtvccOpacity::Translucent}));
  EXPECT_EQ(a.borderType, DtvccWindowAttributes::kShadowRight);
  EXPECT_EQ(a.border, (DtvccColor{3, 0, 0, DtvccOpacity::Solid}));
  EXPECT_TRUE(a.wordWrap);
  EXPECT_EQ(a.printDirection, DtvccWindowAttributes::kRightToLeft);
  EXPECT_EQ(a.scrollDirection, DtvccWindowAttributes::kTopToBottom);
  EXPECT_EQ(a.justify, DtvccWindowAttributes::kFull);
  EXPECT_EQ(a.effectSpeed, 9);
  EXPECT_EQ(a.effectDirection, 2);
  EXPECT_EQ(a.displayEffect, DtvccWindowAttributes::kFade);
  EXPECT_EQ(Notes(),
            (std::vector<std::string>{"window borders (not drawn): 1 time",
                                      "print directions other than left to right (printed left to right): 1 time",
                                      "full justification (shown left justified): 1 time",
                                      "fade and wipe display effects (shown at once): 1 time"}));
}

TEST_F(Dtvcc, WhatTheWindowStylesAskButIsNotShownIsNoted) {
  Send({DefineWindow({.windowStyle = 7}), DefineWindow({.windowStyle = 0}),
        SetWindowAttributes({.fill = Color(1, 0, 0, 0), .scrollDirection = 0})});
  EXPECT_EQ(Notes(),
            (std::vector<std::string>{"print directions other than left to right (printed left to right): 1 time",
                                      "sideways scroll directions (scrolled upwards): 2 times",
                                      "flashing colours (shown solid): 1 time"}));
}

TEST_F(Dtvcc, JustificationMovesEachRow) {
  Window(10, 2);
  Send({SetWindowAttributes({.justify = 1}), Text("AB"), {CR}, Text("C")});
  EXPECT_EQ(Row(0, 0), U"........AB");
  EXPECT_EQ(Row(0, 1), U".........C");
  Send({SetWindowAttributes({.justify = 2}), {FF}, Text("ABCD"), {CR}, Text("ABC")});
  EXPECT_EQ(Row(0, 0), U"...ABCD");
  EXPECT_EQ(Row(0, 1), U"...ABC");
  Send({SetWindowAttributes({.justify = 0})});
  EXPECT_EQ(Row(0, 0), U"ABCD");
}

TEST_F(Dtvcc, WordWrapCarriesTheWordToTheNextRowAndRollsUp) {
  Window(10, 2, 4);
  Send({Text("HELLO WORLD AGAIN")});
  EXPECT_EQ(Row(0, 0), U"WORLD");
  EXPECT_EQ(Row(0, 1), U"AGAIN");
  // A word longer than the row breaks where the row ends.
  Send({{FF}, Text("ABCDEFGHIJKL")});
  EXPECT_EQ(Row(0, 0), U"ABCDEFGHIJ");
  EXPECT_EQ(Row(0, 1), U"KL");
}

TEST_F(Dtvcc, WithoutWordWrapTextPastTheRowIsNotShown) {
  Window(10);
  Send({Text("ABCDEFGHIJKL")});
  EXPECT_EQ(Row(0, 0), U"ABCDEFGHIJ");
  EXPECT_EQ(Notes(),
            std::vector<std::string>{"characters past the end of a row without word wrap (not shown): 2 times"});
}

TEST_F(Dtvcc, CarriageReturnRollsTheWindowUpAtItsLastRow) {
  Window(10, 2);
  Send({Text("ONE"), {CR}, Text("TWO")});
  EXPECT_EQ(Row(0, 0), U"ONE");
  EXPECT_EQ(Row(0, 1), U"TWO");
  Send({{CR}, Text("THREE")});
  EXPECT_EQ(Row(0, 0), U"TWO");
  EXPECT_EQ(Row(0, 1), U"THREE");
}

TEST_F(Dtvcc, ScrollingTopToBottomRollsTheWindowDown) {
  Window(10, 2);
  Send({SetWindowAttributes({.scrollDirection = 2}), Text("ONE"), {CR}, Text("TWO")});
  EXPECT_EQ(Row(0, 0), U"TWO");
  EXPECT_EQ(Row(0, 1), U"ONE");
  Send({{CR}, Text("NEW")});
  EXPECT_EQ(Row(0, 0), U"NEW");
  EXPECT_EQ(Row(0, 1), U"TWO");
}

// ---- pen

TEST_F(Dtvcc, PenAttributesAndColorsGoWithEachCharacter) {
  Window();
  Send({Text("A"),
        SetPenAttributes(
            {.textTag = 9, .offset = 2, .size = 2, .italics = true, .underline = true, .edge = 5, .font = 6}),
        SetPenColor(Color(2, 3, 0, 0), Color(0, 0, 0, 3), Color(0, 0, 0, 0)), Text("B"),
        SetPenAttributes({.offset = 0, .size = 0, .edge = 1, .font = 7}),
        SetPenColor(Color(3, 1, 1, 1), Color(3, 0, 0, 0), 0), Text("C")});
  EXPECT_EQ(Cell(0, 0, 0).pen, DtvccPen{});
  const DtvccPen& b = Cell(0, 0, 1).pen;
  EXPECT_EQ(b.textTag, 9);
  EXPECT_EQ(b.offset, DtvccPen::kSuperscript);
  EXPECT_EQ(b.size, DtvccPen::kLarge);
  EXPECT_TRUE(b.italics && b.underline);
  EXPECT_EQ(b.edgeType, DtvccPen::kRightDropShadow);
  EXPECT_EQ(b.fontStyle, 6);
  EXPECT_EQ(b.foreground, (DtvccColor{3, 0, 0, DtvccOpacity::Translucent}));
  EXPECT_EQ(b.background, (DtvccColor{0, 0, 3, DtvccOpacity::Solid}));
  const DtvccPen& c = Cell(0, 0, 2).pen;
  EXPECT_EQ(c.offset, DtvccPen::kSubscript);
  EXPECT_EQ(c.size, DtvccPen::kSmall);
  EXPECT_FALSE(c.italics || c.underline);
  EXPECT_EQ(c.edgeType, DtvccPen::kRaised);
  EXPECT_EQ(c.fontStyle, 7);
  EXPECT_EQ(c.foreground, (DtvccColor{1, 1, 1, DtvccOpacity::Transparent}));
  EXPECT_EQ(c.background, (DtvccColor{0, 0, 0, DtvccOpacity::Transparent}));
  EXPECT_TRUE(Notes().empty()) << testing::PrintToString(Notes());
}

TEST_F(Dtvcc, FlashingAndEdgeColorsAreNotedAndUndefinedPenValuesRead) {
  Window();
  Send({SetPenColor(Color(1, 3, 3, 3), Color(1, 0, 0, 0), Color(0, 3, 3, 0)), {0x90, 0x0F, 0x38}, Text("A")});
  const DtvccPen& pen = Cell(0, 0, 0).pen;
  EXPECT_EQ(pen.foreground.opacity, DtvccOpacity::Flash);
  EXPECT_EQ(pen.offset, DtvccPen::kNormal);
  EXPECT_EQ(pen.size, DtvccPen::kStandard);
  EXPECT_EQ(pen.edgeType, DtvccPen::kNoEdge);
  EXPECT_EQ(Notes(),
            (std::vector<std::string>{"flashing colours (shown solid): 1 time",
                                      "edge colours other than black (edges drawn in the colour of their type): 1 time",
                                      "undefined pen offsets (read as normal): 1 time",
                                      "undefined pen sizes (read as standard): 1 time",
                                      "undefined edge types (read as none): 1 time"}));
}

TEST_F(Dtvcc, SetPenLocationMovesThePenWithinTheWindow) {
  Window(10, 3);
  Send({SetPenLocation(1, 5), Text("X"), SetPenLocation(9, 60), Text("Y")});
  EXPECT_EQ(Row(0, 1), U".....X");
  EXPECT_EQ(Row(0, 2), U".........Y");
  EXPECT_EQ(decoder_.Window(0).PenRow(), 2);
  EXPECT_EQ(decoder_.Window(0).PenColumn(), 10);
}

// ---- C0 codes

TEST_F(Dtvcc, BackspaceFormFeedAndHorizontalCarriageReturn) {
  Window(10, 2);
  Send({Text("ABC"), {BS}, Text("D")});
  EXPECT_EQ(Row(0, 0), U"ABD");
  Send({{HCR}, Text("X")});
  EXPECT_EQ(Row(0, 0), U"X");
  Send({{CR}, Text("DEF"), {FF}, Text("G")});
  EXPECT_EQ(Row(0, 0), U"G");
  EXPECT_EQ(Row(0, 1), U"");
  // Backspace at the start of a row does nothing; ETX and NUL neither.
  Send({{HCR}, {BS}, {ETX, 0x00}, Text("H")});
  EXPECT_EQ(Row(0, 0), U"H");
  EXPECT_TRUE(Notes().empty()) << testing::PrintToString(Notes());
}

TEST_F(Dtvcc, UndefinedCodesAreSkippedWithTheirLengths) {
  Window(30);
  // Parameter bytes are letters: a length read wrong would show them.
  Send({Text("A"), {0x01},
        Text("B"), {0x11, 'Z'},
        Text("C"), {0x19, 'Z', 'Z'},
        Text("D"), {0x93},
        Text("E"), {EXT1, 0x01},
        Text("F"), {EXT1, 0x08, 'Z'},
        Text("G"), {EXT1, 0x10, 'Z', 'Z'},
        Text("H"), {EXT1, 0x18, 'Z', 'Z', 'Z'},
        Text("I"), {EXT1, 0x80, 'Z', 'Z', 'Z', 'Z'},
        Text("J"), {EXT1, 0x88, 'Z', 'Z', 'Z', 'Z', 'Z'},
        Text("K"), {EXT1, 0x90, 0x43, 'Z', 'Z', 'Z'},
        Text("L")});
  EXPECT_EQ(Row(0, 0), U"ABCDEFGHIJKL");
  EXPECT_EQ(Notes(),
            (std::vector<std::string>{"undefined C0 codes (skipped): 3 times", "undefined C1 codes (skipped): 1 time",
                                      "undefined extended control codes (skipped): 7 times"}));
}

TEST_F(Dtvcc, ACommandCutShortByItsBlockIsSkipped) {
  Window(30);
  decoder_.ReceiveBlock(TickTime(), Bytes{'A', 0x91, 0x00});
  decoder_.ReceiveBlock(TickTime(), Bytes{'B', EXT1});
  decoder_.ReceiveBlock(TickTime(), Bytes{'C', EXT1, 0x95});
  EXPECT_EQ(Row(0, 0), U"ABC");
  EXPECT_EQ(Notes(), std::vector<std::string>{
                         "caption commands cut short by the end of their service block (skipped): 3 times"});
}

// ---- character sets

TEST_F(Dtvcc, CharacterSets) {
  Window(30);
  Send({Text("a~"),
        {0x7F, 0xE9, 0xA0, 0xFF},
        {EXT1, 0x25, EXT1, 0x39, EXT1, 0x7F, EXT1, 0x31, EXT1, 0x3F, EXT1, 0x76},
        {EXT1, 0x20, EXT1, 0x21},
        Text("b"),
        {EXT1, 0xA0, EXT1, 0x22, EXT1, 0xA1},
        {0x18, 0x4E, 0x2D}});
  EXPECT_EQ(Row(0, 0), U"a~\u266A\u00E9\u00A0\u00FF\u2026\u2122\u250C\u2018\u0178\u215B..b\u263A__\u4E2D");
  EXPECT_EQ(Cell(0, 0, 15).character, kelcaptioning::kCaptionSymbolCharacter);
  EXPECT_EQ(Notes(), std::vector<std::string>{"undefined G2 and G3 characters (shown as _): 2 times"});
}

TEST_F(Dtvcc, TransparentSpacesClearTheirCell) {
  Window(10);
  Send({Text("ABC"), SetPenLocation(0, 1), {EXT1, 0x20}});
  EXPECT_EQ(Row(0, 0), U"A.C");
}

}  // namespace

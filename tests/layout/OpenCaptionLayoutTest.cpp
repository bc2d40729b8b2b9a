#include <gtest/gtest.h>

#include "layout/LayoutFixture.h"

namespace {

using kel_test::LaidLine;
using kel_test::LayOutSrt;
using kel_test::LayOutVtt;
using kel_test::SrtCue;

std::string Repeat(const std::string& word, int times, const std::string& between = " ") {
  std::string text;
  for (int i = 0; i < times; ++i) text += (i ? between : "") + word;
  return text;
}

std::u16string Repeat16(const std::u16string& word, int times, const std::u16string& between = u" ") {
  std::u16string text;
  for (int i = 0; i < times; ++i) text += (i ? between : u"") + word;
  return text;
}

// Lines wider than the area wrap at spaces into as few lines as fit, made as even as the words
// allow, not filled greedily (which would give 16 words and 4); explicit lines stay lines.
TEST(OpenCaptionLayout, LongLinesWrapIntoBalancedLines) {
  const auto laid = LayOutSrt(SrtCue(1, 1, 2, Repeat("word", 20)) + SrtCue(2, 3, 4, "short\\N" + Repeat("word", 20)));
  // 49 units of 10 px and margins of 5; centred in 800 at the bottom of 400.
  const std::u16string ten = Repeat16(u"word", 10);
  EXPECT_EQ(laid.lines[0], (std::vector<LaidLine>{{ten, 152, 352, 495, 24}, {ten, 152, 376, 495, 24}}));
  ASSERT_EQ(laid.lines[1].size(), 3u);
  EXPECT_EQ(laid.lines[1][0], (LaidLine{u"short", 372, 328, 55, 24}));
  EXPECT_EQ(laid.lines[1][2].text, ten);
  EXPECT_TRUE(laid.notes.Empty());
}

// A line that fits is left as it was read, trailing spaces and all.
TEST(OpenCaptionLayout, LinesThatFitAreKeptWhole) {
  const auto laid = LayOutSrt(SrtCue(1, 1, 2, Repeat("w", 39) + "  "));
  ASSERT_EQ(laid.lines[0].size(), 1u);
  EXPECT_EQ(laid.lines[0][0].text.size(), 79u);
}

// A word wider than a line is cut inside itself, and no line leaves the area; CJK breaks between
// characters; right-to-left text breaks in its logical order (the drawing reorders each line).
TEST(OpenCaptionLayout, LongWordsCjkAndRightToLeft) {
  const auto word = LayOutSrt(SrtCue(1, 1, 2, std::string(100, 'x') + " end"));
  ASSERT_EQ(word.lines[0].size(), 2u);
  EXPECT_EQ(word.lines[0][0], (LaidLine{std::u16string(79, u'x'), 2, 352, 795, 24}));
  EXPECT_EQ(word.lines[0][1].text, std::u16string(21, u'x') + u" end");

  std::string cjk;
  for (int i = 0; i < 90; ++i) cjk += "語";
  const auto chinese = LayOutSrt(SrtCue(1, 1, 2, cjk + "。"));
  ASSERT_EQ(chinese.lines[0].size(), 2u);
  EXPECT_EQ(chinese.lines[0][0].text.size(), 45u);  // of two splits as even, the longer line below
  EXPECT_EQ(chinese.lines[0][1].text, std::u16string(45, u'語') + u"。");  // no line starts with the stop

  const auto hebrew = LayOutVtt("WEBVTT\n\n00:01.000 --> 00:02.000\n" + Repeat("שלום עולם", 9) + "\n");
  ASSERT_EQ(hebrew.lines[0].size(), 2u);
  EXPECT_EQ(hebrew.lines[0][0].text, Repeat16(u"שלום עולם", 4) + u" שלום");
  EXPECT_EQ(hebrew.lines[0][1].text, u"עולם " + Repeat16(u"שלום עולם", 4));
}

// Every number-pad anchor, new and old, puts the caption in its cell of the 3 x 3 grid.
TEST(OpenCaptionLayout, SubRipAnchorsFillTheGrid) {
  const char* tags[] = {"\\an1", "\\an2", "\\an3", "\\an4", "\\an5", "\\an6", "\\an7", "\\an8", "\\an9",
                        "\\a1",  "\\a5",  "\\a6",  "\\a9",  "\\a10", "\\a11"};
  std::string file;
  for (int i = 0; i < 15; ++i) file += SrtCue(i + 1, i * 2, i * 2 + 1, std::string("{") + tags[i] + "}ab");
  const auto laid = LayOutSrt(file);
  const std::pair<long long, long long> at[] = {{0, 376},   {387, 376}, {775, 376}, {0, 188}, {387, 188},
                                                {775, 188}, {0, 0},     {387, 0},   {775, 0}, {0, 376},
                                                {0, 0},     {387, 0},   {0, 188},   {387, 188}, {775, 188}};
  for (int i = 0; i < 15; ++i) {
    EXPECT_EQ(std::make_pair(laid.lines[i][0].x, laid.lines[i][0].y), at[i]) << tags[i];
  }
}

// {\pos(x,y)} pins the point that the anchor names at (x, y) of a 384 x 288 script, kept inside
// the area; a position that cannot be read is still reported.
TEST(OpenCaptionLayout, SubRipPositions) {
  const auto laid = LayOutSrt(SrtCue(1, 1, 2, "{\\pos(192,144)}ab") + SrtCue(2, 3, 4, "{\\an7\\pos(96,72)}ab") +
                              SrtCue(3, 5, 6, "{\\pos(0,0)\\an7}ab") + SrtCue(4, 7, 8, "{\\pos(1,x)}ab"));
  EXPECT_EQ(laid.lines[0][0], (LaidLine{u"ab", 388, 176, 25, 24}));  // centre of the frame, bottom of the box
  EXPECT_EQ(laid.lines[1][0], (LaidLine{u"ab", 150, 75, 25, 24}));   // (250, 125) of the frame
  EXPECT_EQ(laid.lines[2][0], (LaidLine{u"ab", 0, 0, 25, 24}));     // the frame's corner is outside the area
  EXPECT_EQ(laid.lines[3][0].y, 376);
  const auto read = kelcaptionfiles::ReadSrt(SrtCue(1, 7, 8, "{\\pos(1,x)}ab"), "t.srt", kel_test::RuleOptions());
  EXPECT_EQ(read.notes.Texts(), (std::vector<std::string>{"override tag \\pos (not shown): 1 time"}));
}

// Captions shown together never overlap: the first keeps its place, later ones move away from
// their edge (up from the bottom, down from the top); side by side they stay; a place freed by a
// caption that ended is taken again.
TEST(OpenCaptionLayout, CaptionsShownTogetherStack) {
  const auto laid = LayOutSrt(SrtCue(1, 0, 4, "first") + SrtCue(2, 1, 3, "second\\Ntwo lines") +
                              SrtCue(3, 2, 5, "third") + SrtCue(4, 5, 6, "fourth") + SrtCue(5, 10, 12, "{\\an8}top") +
                              SrtCue(6, 11, 12, "{\\an8}under") + SrtCue(7, 10, 12, "{\\an1}left") +
                              SrtCue(8, 10, 12, "{\\an3}right"));
  EXPECT_EQ(laid.lines[0][0].y, 376);
  EXPECT_EQ(laid.lines[1][0].y, 328);
  EXPECT_EQ(laid.lines[1][1].y, 352);
  EXPECT_EQ(laid.lines[2][0].y, 304);  // above both, though the second ends first
  EXPECT_EQ(laid.lines[3][0].y, 376);  // the first has ended
  // In the order they begin: top, left, right, under.
  EXPECT_EQ(laid.lines[4][0].y, 0);
  EXPECT_EQ(laid.lines[5][0], (LaidLine{u"left", 0, 376, 45, 24}));
  EXPECT_EQ(laid.lines[6][0], (LaidLine{u"right", 745, 376, 55, 24}));
  EXPECT_EQ(laid.lines[7][0].y, 24);
  EXPECT_TRUE(laid.notes.Empty());
}

// More captions at once than the area holds: each stays inside the area, and that is said once.
TEST(OpenCaptionLayout, CaptionsWithNoRoomStayInsideAndAreReported) {
  std::string file;
  for (int i = 0; i < 20; ++i) file += SrtCue(i + 1, 1, 2, "line " + std::to_string(i));
  const auto laid = LayOutSrt(file);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(laid.lines[static_cast<std::size_t>(i)][0].y, 376 - 24 * i);
  for (int i = 16; i < 20; ++i) EXPECT_EQ(laid.lines[static_cast<std::size_t>(i)][0].y, 376);
  EXPECT_EQ(laid.notes.Texts(),
            (std::vector<std::string>{"captions with no room beside the captions shown with them (drawn over them; the "
                                      "first at 1.000 s): 4 times"}));
}

// WebVTT line numbers count lines of the cue's height from the top (0) or the bottom (-1) of the
// frame, percentages pin the box by its line alignment, position and size set the box that lines
// wrap to and align in; all inside the area.
TEST(OpenCaptionLayout, WebVttCueSettings) {
  const std::string cues[] = {
      "line:3",  "line:-5", "line:0",  "line:50%,center", "line:50%,end",
      "position:30%,line-left size:40% align:left", "position:70%,line-right size:30% align:right", "size:50%",
      "align:start", "position:10%"};
  std::string file = "WEBVTT\n\n";
  for (int i = 0; i < 10; ++i) {
    file += "00:" + std::to_string(10 + i * 2) + ".000 --> 00:" + std::to_string(11 + i * 2) + ".000 " + cues[i] +
            "\nab\n\n";
  }
  file += "00:40.000 --> 00:41.000 size:50%\n" + Repeat("word", 12) + "\n";
  const auto laid = LayOutVtt(file);
  const LaidLine expected[] = {
      {u"ab", 387, 22, 25, 24},  {u"ab", 387, 330, 25, 24}, {u"ab", 387, 0, 25, 24},   {u"ab", 387, 188, 25, 24},
      {u"ab", 387, 176, 25, 24}, {u"ab", 200, 376, 25, 24}, {u"ab", 575, 376, 25, 24}, {u"ab", 387, 376, 25, 24},
      {u"ab", 0, 376, 25, 24},   {u"ab", 87, 376, 25, 24}};  // a box of 20 % centred at 10 %, kept inside
  for (int i = 0; i < 10; ++i) EXPECT_EQ(laid.lines[static_cast<std::size_t>(i)][0], expected[i]) << cues[i];
  // 59 units do not fit the 500 pixels of the box: two lines of six words, centred in it.
  EXPECT_EQ(laid.lines[10], (std::vector<LaidLine>{{Repeat16(u"word", 6), 252, 352, 295, 24},
                                                    {Repeat16(u"word", 6), 252, 376, 295, 24}}));
  EXPECT_TRUE(laid.notes.Empty());
}

// A cue in a region stands on the region's bottom edge, as wide as the region; one with a line of
// its own is shown outside it, as browsers do. A scrolling region is said not to scroll.
TEST(OpenCaptionLayout, WebVttRegions) {
  const auto laid = LayOutVtt(
      "WEBVTT\n\nREGION\nid:r width:40% lines:3 regionanchor:50%,50% viewportanchor:50%,50% scroll:up\n\n"
      "00:01.000 --> 00:03.000 region:r align:left\nab\n\n"
      "00:01.500 --> 00:03.000 region:r align:left\nabc\n\n"
      "00:02.000 --> 00:03.000 region:r line:0\nab\n");
  // The region: 400 x 90 pixels of the frame centred on (500, 250); its bottom at 245 of the area.
  EXPECT_EQ(laid.lines[0][0], (LaidLine{u"ab", 200, 221, 25, 24}));
  EXPECT_EQ(laid.lines[1][0], (LaidLine{u"abc", 200, 197, 35, 24}));
  EXPECT_EQ(laid.lines[2][0].y, 0);
  EXPECT_EQ(laid.notes.Texts(), (std::vector<std::string>{}));
  const auto read = kelcaptionfiles::ReadWebVtt("WEBVTT\n\nREGION\nid:r scroll:up\n\n00:01.000 --> 00:02.000 region:r\nx\n",
                                                "t.vtt");
  EXPECT_EQ(read.notes.Texts(),
            (std::vector<std::string>{"region scroll up (cues shown in place, without scrolling): 1 time"}));
}

// Files no player was made for still lay out, inside the area and at once: thousands of captions
// shown together, a line of thousands of words in many spans, a word of thousands of letters.
TEST(OpenCaptionLayout, PathologicalFilesStayInsideAndCheap) {
  std::string file;
  for (int i = 0; i < 2000; ++i) file += SrtCue(i + 1, 1, 9, "crowd " + std::to_string(i));
  file += SrtCue(2001, 10, 11, Repeat("<i>w</i> x", 3000));
  file += SrtCue(2002, 12, 13, std::string(20000, 'y'));
  const auto laid = LayOutSrt(file);
  ASSERT_EQ(laid.lines.size(), 2002u);
  for (const auto& caption : laid.lines) {
    for (const LaidLine& line : caption) {
      ASSERT_TRUE(line.x >= 0 && line.y >= 0 && line.x + line.width <= kel_test::kAreaWidth &&
                  line.y + line.height <= kel_test::kAreaHeight)
          << line;
    }
  }
  // 3000 "w x" in 150 lines of 20 (79 units), 20000 letters in 254 lines: 16 lines of 24 pixels fit in 400.
  EXPECT_EQ(laid.lines[2000].size(), 16u);
  EXPECT_EQ(laid.lines[2001].size(), 16u);
  ASSERT_EQ(laid.notes.All().size(), 2u);
  EXPECT_EQ(laid.notes.All()[0].Text(), "lines of captions taller than the frame (not shown): 372 times");
  EXPECT_EQ(laid.notes.All()[1].count, 2000 - 16);
}

// Every run is measured once however often it occurs.
TEST(OpenCaptionLayout, MeasuredRunsAreCached) {
  std::string file;
  for (int i = 0; i < 10; ++i) file += SrtCue(i + 1, i * 2, i * 2 + 1, Repeat("again", 30));
  kel_test::RuleMeasurer measurer;
  kel_test::LayOut(kelcaptionfiles::ReadSrt(file, "t.srt", kel_test::RuleOptions()), measurer);
  EXPECT_EQ(measurer.captionsMeasured, 10);
  EXPECT_EQ(measurer.runsMeasured, 2);  // "again" and the space after it
}

}  // namespace

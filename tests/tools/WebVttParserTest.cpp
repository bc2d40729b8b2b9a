#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "captionfiles/WebVttParser.h"

namespace {

using namespace kelcaptionfiles::webvtt;

File Parse(const std::string& text, kelcaptionfiles::FileNotes& notes) {
  const std::string name = "p.vtt";
  kelcaptionfiles::ReadProblems problems(name, false, notes);
  return ParseFile(text, problems);
}

TEST(WebVttParser, SettingsAsBrowsersParseThem) {
  kelcaptionfiles::FileNotes notes;
  const File file = Parse(
      "WEBVTT\n\n"
      "00:00.000 --> 00:01.000 line:-1 position:1.5%,line-right size:0% align:left vertical:rl\na\n\n"
      "00:00.000 --> 00:01.000 line:100%,end position:101% size:50 align:middle vertical:RL line:1.\nb\n\n"
      "00:00.000 --> 00:01.000 line:-0 position:1%,middle size:100% align:end\nc\n",
      notes);
  ASSERT_EQ(file.cues.size(), 3u);
  const Cue& a = file.cues[0];
  EXPECT_EQ(a.line, -1.0);
  EXPECT_TRUE(a.snapToLines);
  EXPECT_EQ(a.position, 1.5);
  EXPECT_EQ(a.positionAlign, PositionAlign::kLineRight);
  EXPECT_EQ(a.size, 0);
  EXPECT_EQ(a.align, TextAlign::kLeft);
  EXPECT_EQ(a.direction, Direction::kRightToLeft);
  // Invalid values leave what was there; "line:1." is no number.
  const Cue& b = file.cues[1];
  EXPECT_EQ(b.line, 100.0);
  EXPECT_FALSE(b.snapToLines);
  EXPECT_EQ(b.lineAlign, LineAlign::kEnd);
  EXPECT_FALSE(b.position.has_value());
  EXPECT_EQ(b.size, 100);
  EXPECT_EQ(b.align, TextAlign::kCenter);
  EXPECT_EQ(b.direction, Direction::kHorizontal);
  const Cue& c = file.cues[2];
  EXPECT_EQ(c.line, 0.0);
  EXPECT_FALSE(std::signbit(*c.line));
  EXPECT_EQ(c.positionAlign, PositionAlign::kAuto);  // an unknown alignment keeps the position
  EXPECT_EQ(c.position, 1.0);
  EXPECT_TRUE(notes.Empty());
}

TEST(WebVttParser, TimestampsWithAndWithoutHours) {
  const struct { const char* text; long long milliseconds; } good[] = {
      {"00:01.000", 1000}, {"1:00:00.001", 3600001}, {"60:00:00.000", 3600000LL * 60}, {"000:00:00.500", 500}};
  for (const auto& c : good) {
    std::size_t at = 0;
    const auto stamp = ParseTimestamp(c.text, at);
    ASSERT_TRUE(stamp) << c.text;
    EXPECT_EQ(static_cast<long long>(stamp->milliseconds), c.milliseconds) << c.text;
    EXPECT_EQ(at, std::string(c.text).size());
  }
  const struct { const char* text; const char* problem; std::size_t at; } bad[] = {
      {"00:60.000", "the seconds must be below 60", 3},   {"01:60:00.000", "the minutes must be below 60", 3},
      {"00:00.0000", "expected three digits of milliseconds", 6}, {"0:00.000", "expected ':' after the minutes", 4}, {"60:00.000", "expected ':' after the minutes", 5},
      {"99999999999999999:00:00.000", "the time is too large", 0}};
  for (const auto& c : bad) {
    std::size_t at = 0;
    std::string problem;
    std::size_t problemAt = 99;
    EXPECT_FALSE(ParseTimestamp(c.text, at, &problem, &problemAt)) << c.text;
    EXPECT_EQ(problem, c.problem) << c.text;
    EXPECT_EQ(problemAt, c.at) << c.text;
  }
}

TEST(WebVttParser, RegionsStyleSheetsAndWhatEndsABlock) {
  kelcaptionfiles::FileNotes notes;
  const File file = Parse(
      "WEBVTT\n\n"
      "REGION\nid:r width:40% lines:5 regionanchor:10%,90% viewportanchor:20.5%,80% scroll:up\n\n"
      "REGION\nid:r lines:2\n\n"
      "STYLE\n::cue { color: red }\n\n"
      "00:00.000 --> 00:01.000 region:r\ncue one\n00:01.000 --> 00:02.000\nnot a cue: the block ends, this line stays text\n\n"
      "STYLE\n::cue { after a cue: not a style sheet }\n\n"
      "00:02.000 --> 00:03.000 region:none\nlast",
      notes);
  ASSERT_EQ(file.regions.size(), 2u);
  EXPECT_EQ(file.regions[0].width, 40);
  EXPECT_EQ(file.regions[0].lines, 5);
  EXPECT_EQ(file.regions[0].anchorY, 90);
  EXPECT_EQ(file.regions[0].viewportAnchorX, 20.5);
  EXPECT_TRUE(file.regions[0].scrollUp);
  ASSERT_EQ(file.styleSheets.size(), 1u);
  EXPECT_EQ(file.styleSheets[0].text, "::cue { color: red }");
  ASSERT_EQ(file.cues.size(), 3u);
  EXPECT_EQ(file.cues[0].region, 1);  // the last region of that id
  EXPECT_EQ(file.cues[0].text, "cue one");
  EXPECT_EQ(file.cues[1].text, "not a cue: the block ends, this line stays text");
  EXPECT_EQ(file.cues[2].region, -1);
  EXPECT_EQ(notes.Texts(),
            std::vector<std::string>{"blocks that are not cues, comments, styles or regions (skipped): 1 time"});
}

}  // namespace

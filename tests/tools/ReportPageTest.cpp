#include <gtest/gtest.h>

#include "kelcaption/Base64.h"
#include "kelcaption/ReportContent.h"

// The report page's own writing: pictures as data URIs, and captions' text that stays text.

namespace {

using namespace kelcaption;

TEST(ReportPage, Base64AsDataUrisCarryIt) {
  EXPECT_EQ(Base64(""), "");
  EXPECT_EQ(Base64("f"), "Zg==");
  EXPECT_EQ(Base64("fo"), "Zm8=");
  EXPECT_EQ(Base64("foo"), "Zm9v");
  EXPECT_EQ(Base64("foobar"), "Zm9vYmFy");
  EXPECT_EQ(Base64(std::string("\x00\xff\xfe", 3)), "AP/+");
}

ReportContent OneState(const std::vector<std::string>& lines) {
  ReportContent content;
  content.file = "a<b>.srt";
  content.kind = "SubRip";
  content.laneName = "Subtitles";
  StateFacts state;
  state.begin = kelmediatypes::TickTime(kelmediatypes::TickTime::kTicksPerSecond);
  state.end = kelmediatypes::TickTime(2 * kelmediatypes::TickTime::kTicksPerSecond);
  state.windows.push_back({0, lines, {}, {}});
  content.states.push_back(state);
  content.appearances = AppearancesOf(content.states);
  content.pictures.push_back({"png", 1, 2, 3, 4});
  content.pictureWidth = 384;
  content.pictureHeight = 216;
  return content;
}

TEST(ReportPage, CaptionTextStaysText) {
  const std::string page = ReportPage(OneState({"<script>alert(1)</script>", "Tom & \"Jerry\" {{STATES}}"}));
  EXPECT_EQ(page.find("<script>alert"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
  EXPECT_NE(page.find("Tom &amp; &quot;Jerry&quot; &#123;&#123;STATES}}"), std::string::npos);
  EXPECT_NE(page.find("a&lt;b&gt;.srt"), std::string::npos);
  // Every place of the template is filled, once.
  EXPECT_EQ(page.find("{{"), std::string::npos);
  EXPECT_EQ(page.find("id=\"state-1\""), page.rfind("id=\"state-1\""));
  // The picture, where it lies in the frame.
  EXPECT_NE(page.find("src=\"data:image/png;base64,cG5n\""), std::string::npos);
  EXPECT_NE(page.find("style=\"left:0.260%;top:0.926%;width:0.781%\""), std::string::npos);
  // Times at the frame rate in use.
  EXPECT_NE(page.find("00:00:01:00 (frame 25)"), std::string::npos);
}

TEST(ReportPage, AFileThatShowsNothing) {
  ReportContent content = OneState({});
  content.states.clear();
  content.appearances.clear();
  content.pictures.clear();
  const std::string page = ReportPage(content);
  EXPECT_NE(page.find("The file shows nothing."), std::string::npos);
  EXPECT_EQ(page.find("<article"), std::string::npos);
  EXPECT_NE(ReportSummary(content).find("\"states\": 0"), std::string::npos);
}

}  // namespace

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "captionfiles/WebVttReader.h"
#include "kelcaptionfiles/ShownStates.h"

namespace {

using namespace kelcaptioning;
using kelcaptionfiles::ReadError;
using kelcaptionfiles::ReadWebVtt;

std::string DataFile(const char* name) {
  std::ifstream in(std::string(KEL_DATA) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(WebVttReader, CuesSettingsAndWhatIsNotApplied) {
  const kelcaptionfiles::ReadResult read = ReadWebVtt(DataFile("short.vtt"), "short.vtt");
  const CaptionList* list = read.List();
  ASSERT_EQ(list->GetCaptions().size(), 2u);
  const CaptionPtr placed = list->GetCaptions()[0];
  EXPECT_EQ(placed->GetBeginTime().GetTicks(), kelmediatypes::TickTime::kTicksPerSecond / 2);
  ASSERT_EQ(placed->GetNumParagraphs(), 2u);
  const auto first = placed->GetCaptionTextParagraph(0);
  EXPECT_EQ(first->GetParagraphStyleAttributes().GetAnchorID(), ParagraphStyleAttributes::kAnchor_Free);
  EXPECT_EQ(first->GetCaptionPosition(), Position(boost::rational<int>(1, 10), boost::rational<int>(1, 10)));
  EXPECT_EQ(first->GetText(), u"Top left, italic");  // the voice tag is not text
  EXPECT_EQ(first->GetCaptionTextSpans()[1]->GetTextSpanStyleAttributes().GetFontStyle(), kFontStyle_Italic);
  EXPECT_EQ(placed->GetCaptionTextParagraph(1)->GetText(), u"second line");
  EXPECT_EQ(read.notes.Texts(), (std::vector<std::string>{"STYLE blocks: 1 time", "cue setting size: 1 time",
                                                          "<ruby> (shown as plain text): 2 times",
                                                          "<rt> (shown as plain text): 2 times"}));
  // Each where it first stands: the block's line, the setting's and the tag's column.
  EXPECT_EQ(read.notes.All()[0].first.Text(), "6:1");
  EXPECT_EQ(read.notes.All()[1].first.Text(), "10:59");
  EXPECT_EQ(read.notes.All()[2].first.Text(), "15:15");

  // Placement after measuring: a start-aligned free cue keeps its left edge, lines stack.
  first->SetParagraphLineWidth(300);
  first->SetParagraphLineHeight(40);
  placed->GetCaptionTextParagraph(1)->SetParagraphLineHeight(40);
  kelcaptionfiles::PlaceFreeCues(*placed, 1000, 500);
  EXPECT_EQ(first->GetCaptionPosition(), Position(boost::rational<int>(100, 1000), boost::rational<int>(50, 500)));
  EXPECT_EQ(placed->GetCaptionTextParagraph(1)->GetCaptionPosition().GetY(), boost::rational<int>(90, 500));
}

TEST(WebVttReader, BadFilesSayWhereAndWhat) {
  const struct { const char* text; const char* message; } cases[] = {
      {"WEBVTTX\n", "v.vtt:1:1: a WebVTT file starts with the line WEBVTT"},
      {"WEBVTT\n\n00:61.000 --> 01:02.000\nx\n", "v.vtt:3:4: the seconds must be below 60"},
      {"WEBVTT\n\n00:01.000 --> 00:02.000\n", "v.vtt:4:1: the cue has no text"},
  };
  for (const auto& c : cases) {
    try {
      ReadWebVtt(c.text, "v.vtt");
      ADD_FAILURE() << "read: " << c.text;
    } catch (const ReadError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.text;
    }
  }
}

}  // namespace

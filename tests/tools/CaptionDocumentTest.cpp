#include <gtest/gtest.h>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcaptionfiles/CaptionDocument.h"

#include <string>
#include <vector>

namespace {

using namespace kelcaptioning;
using kelcaptionfiles::ReadCaptionDocument;
using kelcaptionfiles::ReadError;
using kelcaptionfiles::WriteCaptionDocument;

TEST(CaptionDocument, SampleListsRoundTrip) {
  for (StreamFormat format : {kStreamFormat_CEA608_CC1, kStreamFormat_TeletextLevel10, kStreamFormat_OpenEBU}) {
    CaptionListPtr list;
    kelcaptioningui::GetDefaultCaptionList(nullptr, format, 1920, 1080, {1, 1}, true, 11, 37, list);
    const std::string written = WriteCaptionDocument(*list);
    const CaptionListPtr read = ReadCaptionDocument(written, "doc.json").List();
    EXPECT_EQ(WriteCaptionDocument(*read), written) << kelcaptionfiles::StreamFormatCode(format);
    EXPECT_EQ(read->GetCaptions().size(), list->GetCaptions().size());
  }
  const CaptionListPtr styled = ReadCaptionDocument(
      R"({"format": "OPEN", "captions": [{"begin": 254016000000, "end": "00:00:02.500", "paragraphs": [
          {"anchor": 9, "x": [1, 4], "y": 0, "align": "right",
           "spans": [{"text": "Hi", "foreground": [1, 0.5, 0, 1], "background": "#11223344", "style": "bold italic",
                      "edge": 3, "edgeWidth": 2.5, "underline": true, "font": "Comic Sans MS", "size": 30}]}]}]})",
      "styled.json").List();
  const auto caption = styled->GetCaptions().at(0);
  EXPECT_EQ(caption->GetBeginTime().GetTicks(), 254016000000);
  EXPECT_EQ(caption->GetEndTime().GetTicks(), 254016000000 * 5 / 2);
  const auto paragraph = caption->GetCaptionTextParagraph(0);
  EXPECT_EQ(paragraph->GetCaptionPosition(), Position(boost::rational<int>(1, 4), boost::rational<int>(0)));
  const TextSpanAttributes a = paragraph->GetCaptionTextSpans()[0]->GetTextSpanStyleAttributes();
  EXPECT_EQ(a.GetForegroundColor(), CaptioningColor(1, 0.5f, 0, 1));
  EXPECT_EQ(a.GetBackgroundColor(), CaptioningColor(0x11 / 255.0f, 0x22 / 255.0f, 0x33 / 255.0f, 0x44 / 255.0f));
  EXPECT_EQ(a.GetFontStyle(), kFontStyle_BoldItalic);
}

TEST(CaptionDocument, WrongValuesAreNamedByTheirPointer) {
  const struct { const char* text; const char* message; } cases[] = {
      {R"({"format": "6CC1", "captions": [{"begin": 1.5, "end": 2, "paragraphs": [{"spans": []}]}]})",
       "d.json: /captions/0/begin: expected a time string (HH:MM:SS.mmm) or a tick count"},
      {"{\n  \"format\": \"6CC1\",\n  \"captions\": [\n}", "d.json:4:1: not JSON: unexpected '}'"},
  };
  for (const auto& c : cases) {
    try {
      ReadCaptionDocument(c.text, "d.json", {.strict = true});
      ADD_FAILURE() << "read: " << c.text;
    } catch (const ReadError& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, std::string(c.message).size()), c.message) << e.what();
    }
  }
}

// A caption with a value that cannot be read is skipped; the others are all read.
TEST(CaptionDocument, DamagedCaptionsAreSkippedAndTheRestRead) {
  const std::string document = R"({"format": "OPEN", "captions": [
      {"begin": "00:00:01.000", "end": "00:00:02.000", "paragraphs": [{"spans": [{"text": "one"}]}]},
      {"begin": 1.5, "end": "00:00:03.000", "paragraphs": [{"spans": [{"text": "fractional ticks"}]}]},
      {"begin": "99999999999:00:00.000", "end": "99999999999:00:01.000", "paragraphs": [{"spans": [{"text": "hours"}]}]},
      {"begin": "00:00:04.000", "end": "00:00:03.000", "paragraphs": [{"spans": [{"text": "backwards"}]}]},
      {"begin": "00:00:05.000", "end": "00:00:06.000", "paragraphs": [{"spans": [{"text": "two", "size": "big"}]}]},
      {"begin": "00:00:07.000", "end": "00:00:08.000", "paragraphs": [{"spans": [{"text": "three"}]}]}]})";
  const kelcaptionfiles::ReadResult read = ReadCaptionDocument(document, "d.json");
  ASSERT_EQ(read.List()->GetCaptions().size(), 2u);
  EXPECT_EQ(read.List()->GetCaptions()[1]->GetCaptionTextParagraph(0)->GetText(), u"three");
  EXPECT_EQ(read.notes.Texts(), std::vector<std::string>{"captions with a value that cannot be read (skipped): 4 times"});
  EXPECT_EQ(read.notes.All()[0].first.Text(), "/captions/1/begin");
  // An hour count past what ticks hold is an error of its own, not a product that overflows.
  try {
    ReadCaptionDocument(document, "d.json", {.strict = true});
    ADD_FAILURE() << "read";
  } catch (const ReadError& e) {
    EXPECT_STREQ(e.what(), "d.json: /captions/1/begin: expected a time string (HH:MM:SS.mmm) or a tick count");
  }
  // Not JSON: nothing read, and said where.
  const kelcaptionfiles::ReadResult none = ReadCaptionDocument("{\n  \"format\": ", "n.json");
  EXPECT_TRUE(none.Empty());
  EXPECT_EQ(none.notes.All().at(0).first.Text(), "2:13");
}

// Times as the schema writes them: any number of digits of hours, three of milliseconds.
TEST(CaptionDocument, TimesFollowTheSchema) {
  const auto begin = [](const std::string& time) {
    const std::string document = R"({"format": "OPEN", "captions": [{"begin": ")" + time +
                                 R"(", "end": "999:00:00.000", "paragraphs": [{"spans": [{"text": "x"}]}]}]})";
    const kelcaptionfiles::ReadResult read = ReadCaptionDocument(document, "t.json");
    return read.Empty() ? -1 : read.List()->GetCaptions()[0]->GetBeginTime().GetTicks();
  };
  constexpr std::int64_t kTicksPerMs = kelmediatypes::TickTime::kTicksPerSecond / 1000;
  EXPECT_EQ(begin("1:00:00.000"), 3'600'000 * kTicksPerMs);
  EXPECT_EQ(begin("100:00:00.250"), 360'000'250 * kTicksPerMs);
  for (const char* bad : {"00:00:01.5", "00:00:01.5000", "00:60:00.000", "00:00:1.000", "00:00:01,000", "-1:00:00.000"}) {
    EXPECT_EQ(begin(bad), -1) << bad;
  }
}

}  // namespace

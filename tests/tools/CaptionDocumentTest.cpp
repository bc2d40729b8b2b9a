#include <gtest/gtest.h>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcaptionfiles/CaptionDocument.h"

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
      ReadCaptionDocument(c.text, "d.json");
      ADD_FAILURE() << "read: " << c.text;
    } catch (const ReadError& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, std::string(c.message).size()), c.message) << e.what();
    }
  }
}

}  // namespace

#include <gtest/gtest.h>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "readers/CaptionDocument.h"

namespace {

using namespace kelcaptioning;
using kelcaption::ReadCaptionDocument;
using kelcaption::ReadError;
using kelcaption::WriteCaptionDocument;

TEST(CaptionDocument, DefaultListsRoundTrip) {
  for (StreamFormat format : {kStreamFormat_CEA608_CC1, kStreamFormat_TeletextLevel10, kStreamFormat_OpenEBU}) {
    for (bool samples : {false, true}) {
      CaptionListPtr list;
      kelcaptioningui::GetDefaultCaptionList(nullptr, format, 1920, 1080, {1, 1}, samples, 11, 37, list);
      const std::string written = WriteCaptionDocument(*list);
      const CaptionListPtr read = ReadCaptionDocument(written, "doc.json");
      EXPECT_EQ(WriteCaptionDocument(*read), written) << kelcaption::StreamFormatCode(format) << samples;
      EXPECT_EQ(read->GetCaptions().size(), list->GetCaptions().size());
    }
  }
  const auto styled = ReadCaptionDocument(
      R"({"format": "OPEN", "captions": [{"begin": 254016000000, "end": "00:00:02.500", "paragraphs": [
          {"anchor": 9, "x": [1, 4], "y": 0, "align": "right",
           "spans": [{"text": "Hi", "foreground": [1, 0.5, 0, 1], "background": "#11223344", "style": "bold italic",
                      "edge": 3, "edgeWidth": 2.5, "underline": true, "font": "Comic Sans MS", "size": 30}]}]}]})",
      "styled.json");
  const auto caption = styled->GetCaptions().at(0);
  EXPECT_EQ(caption->GetBeginTime().GetTicks(), 254016000000);
  EXPECT_EQ(caption->GetEndTime().GetTicks(), 254016000000 * 5 / 2);
  const auto paragraph = caption->GetCaptionTextParagraph(0);
  EXPECT_EQ(paragraph->GetCaptionPosition(), Position(boost::rational<int>(1, 4), boost::rational<int>(0)));
  EXPECT_EQ(paragraph->GetTextAlignment(), ParagraphStyleAttributes::kTextAlignment_Right);
  const TextSpanAttributes a = paragraph->GetCaptionTextSpans()[0]->GetTextSpanStyleAttributes();
  EXPECT_EQ(a.GetForegroundColor(), CaptioningColor(1, 0.5f, 0, 1));
  EXPECT_EQ(a.GetBackgroundColor(), CaptioningColor(0x11 / 255.0f, 0x22 / 255.0f, 0x33 / 255.0f, 0x44 / 255.0f));
  EXPECT_EQ(a.GetFontStyle(), kFontStyle_BoldItalic);
  EXPECT_EQ(a.GetTextEdgeWidth(), 2.5f);
  EXPECT_TRUE(a.IsUnderlined());
}

TEST(CaptionDocument, WrongValuesAreNamedByTheirPointer) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {R"({"format": "6CC1", "captions": [{"begin": 1.5, "end": 2, "paragraphs": [{"spans": []}]}]})",
       "d.json: /captions/0/begin: expected a time string (HH:MM:SS.mmm) or a tick count"},
      {R"({"format": "6CC1", "captions": [{"begin": 1, "end": 2, "paragraphs": [{"spans": [{"text": 7}]}]}]})",
       "d.json: /captions/0/paragraphs/0/spans/0/text: expected a string"},
      {R"({"format": "6CC1", "captions": [{"begin": 1, "end": 2, "paragraphs": [{"spans": [{"text": "x", "foreground": "red"}]}]}]})",
       "d.json: /captions/0/paragraphs/0/spans/0/foreground: expected a colour \"#RRGGBB\", \"#RRGGBBAA\" or [r, g, b, a]"},
      {R"({"format": "XXXX", "captions": []})",
       "d.json: /format: unknown stream format \"XXXX\" (6CC1, 6CC2, 6CC3, 6CC4, 708S, TL10, TL15, TL20, OEBU, OPEN)"},
      {R"({"format": "6CC1"})", "d.json: /: \"captions\" is missing"},
      {R"({"format": "6CC1", "captions": [{"begin": 5, "end": 2, "paragraphs": [{"spans": []}]}]})",
       "d.json: /captions/0: a caption needs paragraphs and may not end before it begins"},
      {R"({"format": "6CC1", "captions": [{"begin": 1, "end": 2, "paragraphs": [{"x": [1, 0], "spans": []}]}]})",
       "d.json: /captions/0/paragraphs/0/x/1: a denominator of 0"},
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

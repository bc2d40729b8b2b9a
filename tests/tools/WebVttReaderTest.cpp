#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "captionfiles/WebVttReader.h"
#include "kelcaptionfiles/ShownStates.h"
#include "support/ReadExpectations.h"

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
  // The size is applied: the cue's box (50 % wide, its left edge at 10 %) goes with the list.
  EXPECT_EQ(read.notes.Texts(), (std::vector<std::string>{"STYLE blocks: 1 time",
                                                          "<ruby> (shown as plain text): 2 times",
                                                          "<rt> (shown as plain text): 2 times"}));
  const kelcaptionfiles::CueBox& box = read.boxes.at(placed.get());
  EXPECT_EQ(std::make_tuple(box.width, box.x, box.alignX, box.y, box.alignY, box.line),
            std::make_tuple(std::optional(0.5), std::optional(0.1), 0.0, std::optional(0.1), 0.0, std::optional<int>()));
  EXPECT_EQ(read.boxes.size(), 1u);
  // Each where it first stands: the block's line and the tag's column.
  EXPECT_EQ(read.notes.All()[0].first.Text(), "6:1");
  EXPECT_EQ(read.notes.All()[1].first.Text(), "15:15");

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
      ReadWebVtt(c.text, "v.vtt", {.strict = true});
      ADD_FAILURE() << "read: " << c.text;
    } catch (const ReadError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.text;
    }
  }
}

// Blocks that browsers drop are dropped and reported; every cue around them is read, including
// those a line-by-line reading lost (after a NOTE line, straight after a STYLE block).
TEST(WebVttReader, BlocksAsTheParsingAlgorithmReadsThem) {
  using namespace std::string_literals;
  const std::string file =
      "WEBVTT\nheader line\n\n"
      "STYLE\n::cue(b) { color: red }\n::cue(.x) { color: lime }\n00:00.000 --> 00:01.000\nafter a style\n\n"
      "NOTE no blank line before the next cue\n00:01.000 --> 00:02.000\nafter a note\n\n"
      "00:02.000 --> 00:03.000\n\n"  // empty: valid, nothing to show
      "00:03.000 --> 00:03.500 align:end\nright\n\n"
      "bad-->id\n00:04.000 --> 00:05.000\nthe identifier is dropped, not the cue\n\n"
      "00:05.000 --> 00:05.0600\nbad end\n\n"
      "00:06.000 --> 00:07.000\nnul \0 in text\n\n"
      "a block of text only\n\n"
      "00:07:00.000 --> 00:08.000\nends before it begins\n\n"
      "00:09.000 --> 00:10.000 line:2 size:abc\nlast\n"s;
  const kelcaptionfiles::ReadResult read = ReadWebVtt(file, "b.vtt");
  EXPECT_EQ(kel_test::CaptionTexts(*read.List()), (std::vector<std::u16string>{u"after a style", u"after a note", u"right",
                                                          u"the identifier is dropped, not the cue",
                                                          u"nul \uFFFD in text", u"last"}));
  EXPECT_EQ(read.List()->GetCaptions()[2]->GetCaptionTextParagraph(0)->GetParagraphStyleAttributes().GetAnchorID(),
            ParagraphStyleAttributes::kAnchor_BottomRight);
  kel_test::ExpectNotes(read.notes,
                        {{"STYLE blocks: 1 time", "4:1"},
                         {"cues without text (nothing to show): 1 time", "15:1"},
                         {"cues whose time line cannot be read (skipped): 2 times", "19:1"},
                         {"blocks that are not cues, comments, styles or regions (skipped): 1 time", "29:1"},
                         {"cues that end before they begin (never shown): 1 time", "31:1"},
                         {"cue settings that cannot be read (ignored, as browsers do): 1 time", "34:32"}});
  // The line number is applied: the last cue stands on line 2.
  EXPECT_EQ(read.boxes.at(read.List()->GetCaptions()[5].get()).line, 2);
  EXPECT_EQ(read.notes.All()[2].kind, kelcaptionfiles::NoteKind::kProblem);
  EXPECT_EQ(read.notes.All()[1].kind, kelcaptionfiles::NoteKind::kNotShown);
  EXPECT_EQ(kel_test::ReadErrorOf([&] { ReadWebVtt(file, "b.vtt", {.strict = true}); }), "b.vtt:15:1: the cue has no text");
}

TEST(WebVttReader, CharacterReferencesTagsAndClasses) {
  const std::string file =
      "WEBVTT\n\n00:00.000 --> 00:01.000\n"
      "&amp; &lt; &gt; &lrm;&rlm;&nbsp;&#65;&#x42;&#X43;&#128;&#0; &notit; &noref &amp\n"
      "<b.red>bold red</b> <c.bg_blue.yellow>yellow on blue</c> <u><i>both</i></u> <00:00.500>karaoke "
      "<lang en>x</lang><blink>y</blink><ruby>r<rt>t</rt></ruby>\n";
  const kelcaptionfiles::ReadResult read = ReadWebVtt(file, "t.vtt");
  const CaptionPtr caption = read.List()->GetCaptions().at(0);
  ASSERT_EQ(caption->GetNumParagraphs(), 2u);
  EXPECT_EQ(caption->GetCaptionTextParagraph(0)->GetText(),
            u"& < > \u200E\u200F\u00A0" u"ABC\u20AC\uFFFD \u00ACit; &noref &");
  EXPECT_EQ(caption->GetCaptionTextParagraph(1)->GetText(), u"bold red yellow on blue both karaoke xyrt");
  const auto spans = caption->GetCaptionTextParagraph(1)->GetCaptionTextSpans();
  ASSERT_GE(spans.size(), 5u);
  const TextSpanAttributes bold = spans[0]->GetTextSpanStyleAttributes();
  EXPECT_EQ(bold.GetFontStyle(), kFontStyle_Bold);
  EXPECT_EQ(bold.GetForegroundColor(), CaptioningColor(1, 0, 0));
  const TextSpanAttributes yellow = spans[2]->GetTextSpanStyleAttributes();
  EXPECT_EQ(yellow.GetForegroundColor(), CaptioningColor(1, 1, 0));
  EXPECT_EQ(yellow.GetBackgroundColor(), CaptioningColor(0, 0, 1));
  EXPECT_EQ(spans[4]->GetTextSpanStyleAttributes().GetFontStyle(), kFontStyle_Italic);
  EXPECT_TRUE(spans[4]->GetTextSpanStyleAttributes().IsUnderlined());
  kel_test::ExpectNotes(read.notes, {{"cue timestamps (karaoke: the text shows at once): 1 time", "5:77"},
                                     {"tags that WebVTT does not know (ignored, as browsers do): 1 time", "5:113"},
                                     {"<ruby> (shown as plain text): 2 times", "5:129"},
                                     {"<rt> (shown as plain text): 2 times", "5:136"}});
}

}  // namespace

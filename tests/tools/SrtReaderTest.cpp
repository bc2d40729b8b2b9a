#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "captionfiles/SrtReader.h"
#include "kelcaptionfiles/CaptionTimeline.h"
#include "support/ReadExpectations.h"

namespace {

using namespace kelcaptioning;
using kelcaptionfiles::ReadError;
using kelcaptionfiles::ReadSrt;

constexpr std::int64_t kTicksPerMs = kelmediatypes::TickTime::kTicksPerSecond / 1000;

std::u16string Text(const CaptionTextSpanPtr& span) {
  return std::u16string(span->GetSpanText().begin(), span->GetSpanText().end());
}

TEST(SrtReader, CuesLinesAndInlineStyles) {
  const std::string file =
      "\xEF\xBB\xBF"
      "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello <i>there</i>,\r\n<font color=\"#FF8000\" face=\"Times New Roman\">"
      "<b>world</b></font> {\\an8}again\r\n\r\n\r\n"
      "00:00:03.000 --> 00:00:04,000 X1:10 X2:20\nno number, dot before the milliseconds\n"
      "7\n00:00:02,000 --> 00:00:05,000\nno blank line before this cue, and it overlaps\n";
  const CaptionListPtr list = ReadSrt(file, "a.srt").List();
  ASSERT_EQ(list->GetCaptions().size(), 3u);
  const CaptionPtr first = list->GetCaptions()[0];
  EXPECT_EQ(first->GetBeginTime().GetTicks(), 1000 * kTicksPerMs);
  ASSERT_EQ(first->GetNumParagraphs(), 2u);
  const auto spans = first->GetCaptionTextParagraph(0)->GetCaptionTextSpans();
  ASSERT_EQ(spans.size(), 3u);
  EXPECT_EQ(Text(spans[1]), u"there");
  EXPECT_EQ(spans[1]->GetTextSpanStyleAttributes().GetFontStyle(), kFontStyle_Italic);
  const auto second = first->GetCaptionTextParagraph(1)->GetCaptionTextSpans();
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(Text(second[0]), u"world");
  const TextSpanAttributes bold = second[0]->GetTextSpanStyleAttributes();
  EXPECT_EQ(bold.GetFontStyle(), kFontStyle_Bold);
  EXPECT_EQ(bold.GetForegroundColor(), CaptioningColor(1, 128.0f / 255, 0));
  EXPECT_EQ(bold.GetFontName(), u"Times New Roman");
  EXPECT_EQ(Text(second[1]), u" again");  // the ASS override block is not text
  // In begin order: the overlapping cue from 2 s comes before the one from 3 s.
  EXPECT_EQ(list->GetCaptions()[1]->GetBeginTime().GetTicks(), 2000 * kTicksPerMs);
}

TEST(SrtReader, BadFilesSayWhereAndWhat) {
  const struct { const char* text; int line, column; const char* problem; } cases[] = {
      {"1\n00:61:00,000 --> 00:62:00,000\nx\n", 2, 4, "the minutes must be below 60"},
      {"1\n00:00:02,000 --> 00:00:01,000\nx\n", 2, 18, "the cue ends before it begins"},
      {"1\n00:00:01,000 --> 00:00:02,000\nbad \xC3\x28 byte\n", 3, 5, "invalid UTF-8"},
  };
  for (const auto& c : cases) {
    try {
      ReadSrt(c.text, "bad.srt", {.strict = true});
      ADD_FAILURE() << "read: " << c.text;
    } catch (const ReadError& e) {
      EXPECT_EQ(std::string(e.what()), "bad.srt:" + std::to_string(c.line) + ":" + std::to_string(c.column) + ": " + c.problem)
          << c.text;
    }
  }
  EXPECT_TRUE(ReadSrt("", "empty.srt").List()->GetCaptions().empty());
}

// Each bad part between good cues: the good cues are all read, each kind of problem is reported
// once, where it first stands, with how often it came.
TEST(SrtReader, GoodCuesAroundBadPartsAreAllRead) {
  const std::string file =
      "stray text before any cue\n\n"
      "1\n00:00:01,000 --> 00:00:02,000\ngood one\n\n"
      "2\n00:00:60,500 --> 00:01:61,000\nseconds past 59\n\n"  // carried over: 1:00.5 to 2:01
      "3\n00:02:10 --> 00:02:11.5\nno milliseconds, one digit\n\n"
      "4\n00:03:00,000 --> 00:02:00,000\nends before it begins\n\n"
      "5\n00:04:00,000 --> soon\nunreadable end\n\n"
      "six\n00:06:00,000 --> 00:06:01,000\nwrong number\n\n"
      "7\n00:07:00,000 --> 00:07:01,000\n\ntext after a blank line\n\n\n"
      "8\n12:00.000 --> 12:01,000\nno hours\n";
  const kelcaptionfiles::ReadResult read = ReadSrt(file, "bad.srt");
  EXPECT_EQ(kel_test::CaptionTexts(*read.List()), (std::vector<std::u16string>{u"good one", u"seconds past 59", u"no milliseconds, one digit",
                                                             u"wrong number", u"text after a blank line", u"no hours"}));
  const auto captions = read.List()->GetCaptions();
  EXPECT_EQ(captions[1]->GetBeginTime().GetTicks(), 60'500 * kTicksPerMs);
  EXPECT_EQ(captions[1]->GetEndTime().GetTicks(), 121'000 * kTicksPerMs);
  EXPECT_EQ(captions[2]->GetEndTime().GetTicks(), 131'500 * kTicksPerMs);
  EXPECT_EQ(captions[5]->GetBeginTime().GetTicks(), 720'000 * kTicksPerMs);
  kel_test::ExpectNotes(read.notes,
                        {{"lines outside any cue (skipped): 1 time", "1:1"},
                         {"times with minutes or seconds past 59 (carried over): 2 times", "8:7"},
                         {"times without milliseconds (read as ,000): 1 time", "12:9"},
                         {"times without three digits of milliseconds (read as a decimal fraction): 1 time", "12:23"},
                         {"cues that end before they begin (skipped): 1 time", "16:18"},
                         {"time lines that cannot be read (cue skipped): 1 time", "20:18"},
                         {"cue numbers that are not numbers (passed over): 1 time", "23:1"},
                         {"times without hours (read as minutes and seconds): 2 times", "34:1"}});
  for (const kelcaptionfiles::FileNote& note : read.notes.All()) EXPECT_EQ(note.kind, kelcaptionfiles::NoteKind::kProblem);
  // A strict reading stops at the first of them.
  EXPECT_EQ(kel_test::ReadErrorOf([&] { ReadSrt(file, "bad.srt", {.strict = true}); }),
            "bad.srt:1:1: expected a cue number or a time line");
}

TEST(SrtReader, TagsColoursBreaksAndOverrideBlocksAsPlayersShowThem) {
  const std::string file =
      "1\n00:00:01,000 --> 00:00:02,000\n"
      "<font color=\"00ff00\">green</font> <FONT COLOR=Brown>brown <i>and\nstill</i></FONT> <font color=\"#f00\">red</font>\n"
      "<s>struck</s>\\hno\\hbreak\\Nnext\\nlast <blink>gone</blink> {\\an8\\pos(10,20)\\b1}bold{\\b0}\n";
  const kelcaptionfiles::ReadResult read = ReadSrt(file, "tags.srt");
  const CaptionPtr caption = read.List()->GetCaptions().at(0);
  ASSERT_EQ(caption->GetNumParagraphs(), 5u);
  EXPECT_EQ(caption->GetCaptionTextParagraph(0)->GetText(), u"green brown and");
  EXPECT_EQ(caption->GetCaptionTextParagraph(2)->GetText(), u"struck\u00A0no\u00A0break");
  EXPECT_EQ(caption->GetCaptionTextParagraph(4)->GetText(), u"last gone bold");
  const auto first = caption->GetCaptionTextParagraph(0)->GetCaptionTextSpans();
  ASSERT_EQ(first.size(), 4u);
  EXPECT_EQ(first[0]->GetTextSpanStyleAttributes().GetForegroundColor(), CaptioningColor(0, 1, 0));
  EXPECT_EQ(first[2]->GetTextSpanStyleAttributes().GetForegroundColor(), CaptioningColor(165 / 255.0f, 42 / 255.0f, 42 / 255.0f));
  // The font and the italics hold into the next line, until they are closed.
  const auto second = caption->GetCaptionTextParagraph(1)->GetCaptionTextSpans();
  ASSERT_EQ(second.size(), 3u);
  EXPECT_EQ(Text(second[0]), u"still");
  EXPECT_EQ(second[0]->GetTextSpanStyleAttributes().GetFontStyle(), kFontStyle_Italic);
  EXPECT_EQ(second[0]->GetTextSpanStyleAttributes().GetForegroundColor(), first[2]->GetTextSpanStyleAttributes().GetForegroundColor());
  EXPECT_EQ(second[2]->GetTextSpanStyleAttributes().GetForegroundColor(), CaptioningColor(1, 0, 0));
  const auto last = caption->GetCaptionTextParagraph(4)->GetCaptionTextSpans();
  EXPECT_EQ(Text(last.back()), u"bold");
  EXPECT_EQ(last.back()->GetTextSpanStyleAttributes().GetFontStyle(), kFontStyle_Bold);
  // {\an8}: the whole cue at the top centre.
  for (const auto& paragraph : caption->GetCaptionTextParagraphs()) {
    EXPECT_EQ(paragraph->GetParagraphStyleAttributes().GetAnchorID(), ParagraphStyleAttributes::kAnchor_TopCenter);
  }
  // \pos is applied: the box's top centre (\an8) at (10, 20) of the 384 x 288 script.
  kel_test::ExpectNotes(read.notes, {{"strikethrough <s> (shown without the line): 1 time", "5:1"},
                                     {"tags that SubRip players do not know (removed): 2 times", "5:38"}});
  ASSERT_EQ(read.boxes.count(caption.get()), 1u);
  const kelcaptionfiles::CueBox& box = read.boxes.at(caption.get());
  EXPECT_EQ(box.x, 10.0 / 384);
  EXPECT_EQ(box.y, 20.0 / 288);
  EXPECT_EQ(std::make_pair(box.alignX, box.alignY), std::make_pair(0.5, 0.0));
}

}  // namespace

namespace {

// Overlapping subtitles: a state for each stretch where the same ones show, each holding them all
// in the list's order (by begin time).
TEST(SrtReader, OverlappingCaptionsMakeAStateForEachStretch) {
  const std::string file =
      "1\n00:00:01,000 --> 00:00:04,000\nA\n\n2\n00:00:02,000 --> 00:00:03,000\nB\n\n"
      "3\n00:00:00,500 --> 00:00:02,000\nC\n\n4\n00:00:05,000 --> 00:00:06,000\nD\n";
  const CaptionListPtr list = ReadSrt(file, "a.srt").List();
  const kelcaptionfiles::CaptionTimeline timeline = kelcaptionfiles::TimelineOf(*list, 640, 360, 0.8f);
  std::vector<std::string> states;
  for (const kelcaptionfiles::TimedModel& state : timeline.States()) {
    OpenRowMap rows;
    state.model->GetWindow(0)->GetOpenRows(rows);
    std::string text = std::to_string(state.begin.GetTicks() / kTicksPerMs) + "-" +
                       std::to_string(state.end.GetTicks() / kTicksPerMs) + ":";
    for (const auto& [key, row] : rows) {
      OpenSpanMap spans;
      row->GetOpenSpans(spans);
      for (const auto& [spanKey, span] : spans) text += static_cast<char>(span->GetText()[0]);
    }
    states.push_back(text);
  }
  EXPECT_EQ(states, (std::vector<std::string>{"500-1000:C", "1000-2000:CA", "2000-3000:AB", "3000-4000:A", "5000-6000:D"}));
}

}  // namespace

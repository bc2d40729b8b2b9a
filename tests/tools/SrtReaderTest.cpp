#include <gtest/gtest.h>

#include "captionfiles/SrtReader.h"

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
      ReadSrt(c.text, "bad.srt");
      ADD_FAILURE() << "read: " << c.text;
    } catch (const ReadError& e) {
      EXPECT_EQ(std::string(e.what()), "bad.srt:" + std::to_string(c.line) + ":" + std::to_string(c.column) + ": " + c.problem)
          << c.text;
    }
  }
  EXPECT_TRUE(ReadSrt("", "empty.srt").List()->GetCaptions().empty());
}

}  // namespace

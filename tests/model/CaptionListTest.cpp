#include <gtest/gtest.h>

#include "kelcaptioning/CaptionList.h"

namespace {

using namespace kelcaptioning;
using boost::rational;
using kelmediatypes::TickTime;
using Style = ParagraphStyleAttributes;

CaptionTextParagraphPtr Paragraph(const char* text, Style::AnchorID anchor, int width = 0, int height = 0,
                                  Style::TextAlignmentType alignment = Style::kTextAlignment_Center) {
  CaptionTextSpanPtr span(new CaptionTextSpan());
  span->SetCaptionText(kelcore::string::UTF8ToUTF16(text));
  CaptionTextParagraphPtr paragraph(new CaptionTextParagraph());
  paragraph->AppendCaptionTextSpan(span);
  ParagraphStyleAttributes style;
  style.SetAnchorID(anchor);
  style.SetTextAlignment(alignment);
  paragraph->SetParagraphStyleAttributes(style);
  paragraph->SetParagraphLineWidth(width);
  paragraph->SetParagraphLineHeight(height);
  return paragraph;
}

CaptionPtr CaptionAt(std::int64_t begin, std::int64_t end) {
  CaptionPtr caption(new Caption());
  caption->AppendCaptionTextParagraph(Paragraph("x", Style::kAnchor_BottomCenter));
  caption->SetBeginTime(TickTime(begin));
  caption->SetEndTime(TickTime(end));
  return caption;
}

TEST(CaptionList, InsertKeepsBeginOrderAndRefusesWhatATrackCannotHold) {
  CaptionListPtr list(new CaptionList());
  const CaptionPtr late = CaptionAt(50, 60), early = CaptionAt(10, 20), tie = CaptionAt(50, 55);
  EXPECT_TRUE(list->InsertCaption(late));
  EXPECT_TRUE(list->InsertCaption(early));
  EXPECT_TRUE(list->InsertCaption(tie));                          // after the caption it ties with
  EXPECT_FALSE(list->InsertCaption(late));                        // already there
  EXPECT_FALSE(list->InsertCaption(CaptionAt(30, 29)));           // ends before it begins
  EXPECT_FALSE(list->InsertCaption(CaptionPtr(new Caption())));   // no paragraphs
  EXPECT_EQ(list->GetCaptions(), (CaptionVector{early, late, tie}));
}

TEST(Caption, GridLineSizesAreCharactersAndRows) {
  CaptionPtr caption(new Caption());
  caption->AppendCaptionTextParagraph(Paragraph("two\nlines here", Style::kAnchor_Free));
  caption->AppendCaptionTextParagraph(Paragraph("\xF0\x9F\x98\x80 wide", Style::kAnchor_Free));
  caption->AppendCaptionTextParagraph(Paragraph("a very long line that runs past the grid end", Style::kAnchor_Free));
  caption->UpdateLineWidthAndHeightFromText(kStreamFormat_CEA608_CC1, 0, 0);
  const auto p = caption->GetCaptionTextParagraphs();
  EXPECT_EQ(p[0]->GetParagraphLineWidth(), 10);  // the widest line
  EXPECT_EQ(p[0]->GetParagraphLineHeight(), 2);
  EXPECT_EQ(p[1]->GetParagraphLineWidth(), 6);  // one code point for the emoji
  EXPECT_EQ(p[2]->GetParagraphLineWidth(), 32);
  caption->UpdateLineWidthAndHeightFromText(kStreamFormat_CEA608_CC1, 8, 1);
  EXPECT_EQ(p[2]->GetParagraphLineWidth(), 8);  // cut to the grid given
}

TEST(Caption, BlocksAndAnchorPlacement) {
  CaptionPtr caption(new Caption());
  caption->AppendCaptionTextParagraph(Paragraph("first", Style::kAnchor_BottomCenter, 300, 48));
  caption->AppendCaptionTextParagraph(Paragraph("second", Style::kAnchor_BottomCenter, 200, 48, Style::kTextAlignment_Right));
  caption->AppendCaptionTextParagraph(Paragraph("free", Style::kAnchor_Free, 100, 40));
  caption->AppendCaptionTextParagraph(Paragraph("corner", Style::kAnchor_TopRight, 120, 30));
  const auto p = caption->GetCaptionTextParagraphs();
  p[2]->SetCaptionPosition({rational<int>(1, 4), rational<int>(1, 2)});

  EXPECT_TRUE(caption->UpdatePositionsFromAnchorID(1536, 864, kStreamFormat_OpenCaptions));  // something moved
  // The bottom-centre block is 300 x 96: lines stacked from y = 768, the second right-aligned.
  EXPECT_EQ(p[0]->GetCaptionPosition(), Position(rational<int>(618, 1536), rational<int>(768, 864)));
  EXPECT_EQ(p[1]->GetCaptionPosition(), Position(rational<int>(718, 1536), rational<int>(816, 864)));
  EXPECT_EQ(p[2]->GetCaptionPosition(), Position(rational<int>(1, 4), rational<int>(1, 2)));
  EXPECT_EQ(p[3]->GetCaptionPosition(), Position(rational<int>(1416, 1536), rational<int>(0)));
  EXPECT_FALSE(caption->UpdatePositionsFromAnchorID(1536, 864, kStreamFormat_OpenCaptions));  // nothing moves again

  kelcore::RectT<int> rect;
  std::uint64_t last = 99;
  caption->GetTextBlockRect(0, 1536, 864, rect, last);
  EXPECT_EQ(last, 1u);
  EXPECT_EQ(rect, (kelcore::RectT<int>{618, 768, 300, 96}));
  // Fractions of the area are exact: 15/22 of 22 is 15, not 14.999999999999998 cut to 14.
  p[2]->SetCaptionPosition({rational<int>(15, 22), rational<int>(13, 23)});
  caption->GetTextBlockRect(2, 22, 23, rect, last);
  EXPECT_EQ(rect, (kelcore::RectT<int>{15, 13, 100, 40}));
}

}  // namespace

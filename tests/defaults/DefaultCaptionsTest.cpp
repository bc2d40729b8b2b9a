#include <gtest/gtest.h>

#include "defaults/DefaultCaptionBuilders.h"
#include "kelcaptioning/Formats.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/Localizer.h"
#include "support/RecordingSupplier.h"
#include "support/RecordingSurface.h"

namespace {

using namespace kelcaptioning;
using boost::rational;
using kel_test::RecordingSupplier;
using kel_test::RecordingSurface;
using kelui::inkpad::Inkpad;

CaptionTextParagraphPtr Paragraph(const CaptionPtr& c, int index = 0) { return c->GetCaptionTextParagraph(index); }
std::u16string TextOf(const CaptionPtr& c) { return std::u16string(std::u16string_view(Paragraph(c)->GetText())); }
Position PositionOf(const CaptionPtr& c) { return Paragraph(c)->GetCaptionPosition(); }
auto SpanStyleOf(const CaptionPtr& c) { return Paragraph(c)->GetCaptionTextSpans()[0]->GetTextSpanStyleAttributes(); }

// A sample lasts 190512000000 ticks and the next begins 63504000000 ticks after it ends.
constexpr std::int64_t kStep = 254016000000;

// Measures with a RecordingSurface: 10 per UTF-16 code unit.
class DefaultCaptionList : public ::testing::Test {
 protected:
  CaptionListPtr List(bool measured, StreamFormat format, int width = 1920, int height = 1080, bool samples = false,
                      int rows = 0, int characters = 0) {
    CaptionListPtr list;
    kelcaptioningui::GetDefaultCaptionList(measured ? &inkpad : nullptr, format, width, height, {1, 1}, samples, rows,
                                           characters, list);
    return list;
  }

  RecordingSupplier supplier;
  RecordingSurface surface;
  Inkpad inkpad{&supplier, &surface};
};

TEST_F(DefaultCaptionList, OneCaptionPerFormatWithItsPlaceSizeAndMetadata) {
  CaptionListPtr list = List(false, kStreamFormat_CEA608_CC1);
  ASSERT_EQ(list->GetCaptions().size(), 1u);
  const CaptionPtr caption = list->GetCaptions()[0];
  EXPECT_EQ(TextOf(caption), u"Type Caption Text Here");
  EXPECT_EQ(PositionOf(caption), Position(rational<int>(0), rational<int>(14, 15)));
  EXPECT_EQ(caption->GetEndTime().GetTicks(), 762048000000);
  EXPECT_EQ(Paragraph(caption)->GetParagraphLineWidth(), 22);  // measured in characters
  EXPECT_EQ(SpanStyleOf(caption).GetFontSize(), TextSpanAttributes::kDefaultFontSize);  // a size of 0 is not set
  EXPECT_EQ(SpanStyleOf(caption).GetForegroundColor(), kCaptioningColor_White);
  EXPECT_EQ(SpanStyleOf(List(false, kStreamFormat_CEA708)->GetCaptions()[0]).GetForegroundColor(),
            kCaptioningColor_708_White);

  // Open captions: anchor 7, the default size from the area (864 / 15 / 1.5 = 38.4 -> 38), and
  // measured and placed from the anchor inside the 1536 x 864 area.
  const CaptionPtr open = List(true, kStreamFormat_OpenCaptions)->GetCaptions()[0];
  EXPECT_EQ(SpanStyleOf(open).GetFontSize(), 38.0f);
  EXPECT_EQ(Paragraph(open)->GetParagraphLineWidth(), 220 + 10);  // 22 code units at 10, margins of 38
  EXPECT_EQ(Paragraph(open)->GetParagraphLineHeight(), 46);       // 1.2 x 38 + 0.5
  EXPECT_EQ(PositionOf(open), Position(rational<int>((1536 - 230) / 2, 1536), rational<int>(864 - 46, 864)));

  list = List(false, kStreamFormat_TeletextLevel10, 1920, 1080, false, 9, 9);
  EXPECT_EQ(list->GetMetadata().GetSTLMetadata()->GetDisplayStandardCode(), kStreamFormat_TeletextLevel10);
  EXPECT_EQ(list->GetMetadata().GetMaxNumberOfRow(), 0);  // only open EBU keeps them
  list = List(true, kStreamFormat_OpenEBU, 1920, 1080, false, 11, 37);
  EXPECT_EQ(std::pair(list->GetMetadata().GetMaxNumberOfRow(), list->GetMetadata().GetMaxCharactersInRow()),
            std::pair(11, 37));
  EXPECT_TRUE(List(false, kStreamFormat_CEA708)->GetIsWideScreen());
  EXPECT_FALSE(List(false, kStreamFormat_CEA708, 720, 480)->GetIsWideScreen());
}

TEST_F(DefaultCaptionList, OpenCaptionSamplesShowAnchorsThenAGridOfPercentages) {
  auto& localizer = kelcore::string::Localizer::Get();  // the anchor names go through it
  localizer.SetTranslation("$$$/Tandem/ImporterCaptioning/ImporterCaptioningPrefsBasic/DefaultOpenCaptionText",
                           kelcore::string::UTF8ToUTF16("Ancre : @0"));
  const CaptionVector captions = List(true, kStreamFormat_OpenCaptions, 1920, 1080, true)->GetCaptions();
  localizer.ClearTranslations();
  ASSERT_EQ(captions.size(), 35u);
  EXPECT_EQ(captions[34]->GetBeginTime().GetTicks(), 34 * kStep);
  EXPECT_EQ(captions[34]->GetEndTime().GetTicks() - captions[34]->GetBeginTime().GetTicks(), 190512000000);
  EXPECT_EQ(TextOf(captions[4]), u"Ancre : Middle Center");
  EXPECT_EQ(TextOf(captions[10 + 2 * 5 + 1]), u"x: 20%, y:40%");
  // 20 % steps of the 1536 x 864 area, rounded: 921.6 -> 922, 172.8 -> 173.
  EXPECT_EQ(PositionOf(captions[10 + 1 * 5 + 3]), Position(rational<int>(922, 1536), rational<int>(173, 864)));

  // A frame 20 high gives a default size of 0, which every sample still gets.
  for (const CaptionPtr& sample : List(true, kStreamFormat_OpenCaptions, 1920, 20, true)->GetCaptions()) {
    ASSERT_EQ(SpanStyleOf(sample).GetFontSize(), 0.0f);
  }
}

TEST(DefaultCaptionBuilders, GridSamplesLabelEveryCellAndAreCompleteWhenInserted) {
  CaptionListPtr list(new CaptionList());
  CaptioningMetadata metadata;
  metadata.SetMaxNumberOfRow(15);
  metadata.SetMaxCharactersInRow(32);
  list->SetMetadata(metadata);
  // Half way between the second and third sample: samples that were inserted before their times
  // were set would all land in front of it.
  CaptionPtr existing(new Caption());
  existing->AppendCaptionTextParagraph(CaptionTextParagraphPtr(new CaptionTextParagraph()));
  existing->SetBeginTime(kelmediatypes::TickTime(kStep * 3 / 2));
  existing->SetEndTime(kelmediatypes::TickTime(kStep * 2));
  ASSERT_TRUE(list->InsertCaption(existing));
  kelcaptioningui::BuildPositionSamples(kStreamFormat_CEA608_CC1, list, 1536, 864, 0.0f);
  const CaptionVector captions = list->GetCaptions();
  ASSERT_EQ(captions.size(), 481u);
  EXPECT_EQ(captions[2], existing);
  // Labels trimmed to fit before the next cell (indices past the existing caption move by one).
  const std::pair<std::size_t, std::u16string> texts[] = {{29, u"1,29"}, {30, u",30"}, {31, u"31"}, {32, u"2"}};
  for (const auto& [index, text] : texts) EXPECT_EQ(TextOf(captions[index]), text) << index;
  EXPECT_EQ(PositionOf(captions[1 + 2 * 32 + 11]), Position(rational<int>(11, 32), rational<int>(2, 15)));
  EXPECT_EQ(Paragraph(captions[30])->GetParagraphLineWidth(), 3);  // measured on the paragraph it holds
  EXPECT_EQ(SpanStyleOf(captions[0]).GetForegroundColor(), kCaptioningColor_White);

  CaptionListPtr digital(new CaptionList());
  digital->SetMetadata(metadata);
  kelcaptioningui::BuildPositionSamples(kStreamFormat_CEA708, digital, 1536, 864, 0.0f);
  EXPECT_EQ(SpanStyleOf(digital->GetCaptions()[0]).GetForegroundColor(), kCaptioningColor_708_White);
}

// A caption of free paragraphs 100 wide at (x, 1/2), each given as its spans' texts and sizes.
struct FreeParagraph {
  std::vector<std::pair<std::u16string, float>> spans;
  ParagraphStyleAttributes::TextAlignmentType alignment = ParagraphStyleAttributes::kTextAlignment_Left;
  rational<int> x = 0;
};

CaptionPtr FreeCaption(const std::vector<FreeParagraph>& paragraphs) {
  CaptionPtr caption(new Caption());
  for (const FreeParagraph& free : paragraphs) {
    CaptionTextParagraphPtr paragraph(new CaptionTextParagraph());
    caption->AppendCaptionTextParagraph(paragraph);
    for (const auto& [text, size] : free.spans) {
      CaptionTextSpanPtr span(new CaptionTextSpan());
      span->SetCaptionText(kelcore::UTF16String(text));
      TextSpanAttributes attributes;
      attributes.SetFontSize(size);
      span->SetTextSpanStyleAttributes(attributes);
      paragraph->AppendCaptionTextSpan(span);
    }
    ParagraphStyleAttributes style;
    style.SetAnchorID(ParagraphStyleAttributes::kAnchor_Free);
    style.SetTextAlignment(free.alignment);
    paragraph->SetParagraphStyleAttributes(style);
    paragraph->SetCaptionPosition({free.x, rational<int>(1, 2)});
    paragraph->SetParagraphLineWidth(100);
  }
  return caption;
}

TEST(RefreshCaptionSizeInfo, MeasuresLinesAndKeepsFreeBlocksCentred) {
  RecordingSupplier supplier;
  RecordingSurface surface;  // 10 per code unit
  Inkpad inkpad(&supplier, &surface);

  CaptionPtr sized = FreeCaption({{{{u"abc", 20.0f}, {u"abcde", 40.0f}}}});
  kelcaptioningui::RefreshCaptionSizeInfo(sized, &inkpad, false, 1000, 500);
  EXPECT_EQ(Paragraph(sized)->GetParagraphLineWidth(), 30 + 50 + 10);
  EXPECT_EQ(Paragraph(sized)->GetParagraphLineHeight(), 48);

  // One free block, 100 wide at x = 450 (centre 500), measuring 300 wide afterwards.
  const rational<int> x(450, 1000);
  const std::u16string wide(30, u'w'), mid(20, u'm');
  CaptionPtr block = FreeCaption({{{{wide, 0.0f}}, ParagraphStyleAttributes::kTextAlignment_Left, x},
                                  {{{mid, 0.0f}}, ParagraphStyleAttributes::kTextAlignment_Center, x},
                                  {{{mid, 0.0f}}, ParagraphStyleAttributes::kTextAlignment_Right, x}});
  kelcaptioningui::RefreshCaptionSizeInfo(block, &inkpad, true, 1000, 500);
  EXPECT_EQ(Paragraph(block, 0)->GetCaptionPosition().GetX(), rational<int>(350, 1000));
  EXPECT_EQ(Paragraph(block, 1)->GetCaptionPosition().GetX(), rational<int>(400, 1000));
  EXPECT_EQ(Paragraph(block, 2)->GetCaptionPosition(), Position(rational<int>(450, 1000), rational<int>(1, 2)));
}

}  // namespace

#include <gtest/gtest.h>

#include <map>

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
auto AnchorOf(const CaptionPtr& c) { return Paragraph(c)->GetParagraphStyleAttributes().GetAnchorID(); }
auto SpanStyleOf(const CaptionPtr& c) { return Paragraph(c)->GetCaptionTextSpans()[0]->GetTextSpanStyleAttributes(); }

void ExpectTexts(const CaptionVector& captions, std::initializer_list<std::pair<std::size_t, std::u16string>> texts) {
  for (const auto& [index, text] : texts) EXPECT_EQ(TextOf(captions[index]), text) << "caption " << index;
}

constexpr std::int64_t kStep = kelcaptioningui::kSampleTicks + kelcaptioningui::kSampleGapTicks;

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

TEST_F(DefaultCaptionList, SingleCaptionOnTheLastRowForTheWholeDefaultDuration) {
  CaptionListPtr list = List(false, kStreamFormat_CEA608_CC1);
  ASSERT_EQ(list->GetCaptions().size(), 1u);
  const CaptionPtr caption = list->GetCaptions()[0];
  EXPECT_EQ(TextOf(caption), u"Type Caption Text Here");
  EXPECT_EQ(PositionOf(caption), Position(rational<int>(0), rational<int>(14, 15)));
  EXPECT_EQ(AnchorOf(caption), ParagraphStyleAttributes::kAnchor_BottomLeft);
  EXPECT_EQ(caption->GetBeginTime(), kelmediatypes::kTime_Zero);
  EXPECT_EQ(caption->GetEndTime().GetTicks(), 762048000000);
  EXPECT_EQ(SpanStyleOf(caption).GetFontSize(), TextSpanAttributes::kDefaultFontSize);  // 0.0 leaves the model's size
  EXPECT_EQ(Paragraph(caption)->GetParagraphLineWidth(), 22);  // measured in characters
  EXPECT_FALSE(list->GetMetadata().GetSTLMetadata());

  // Open captions: anchor 7, the default size from the area (864 / 15 / 1.5 = 38.4 -> 38), and
  // measured and placed from the anchor inside the 1536 x 864 area.
  const CaptionPtr open = List(true, kStreamFormat_OpenCaptions)->GetCaptions()[0];
  EXPECT_EQ(AnchorOf(open), ParagraphStyleAttributes::kAnchor_BottomCenter);
  EXPECT_EQ(SpanStyleOf(open).GetFontSize(), 38.0f);
  EXPECT_EQ(Paragraph(open)->GetParagraphLineWidth(), 220 + 10);  // 22 code units at 10, margins of 38
  EXPECT_EQ(Paragraph(open)->GetParagraphLineHeight(), 46);       // 1.2 x 38 + 0.5
  EXPECT_EQ(PositionOf(open), Position(rational<int>((1536 - 230) / 2, 1536), rational<int>(864 - 46, 864)));

  // 720 x 480 gives a 576 x 384 area: 384 / 15 / 1.5 = 17.07 -> 17.
  EXPECT_EQ(SpanStyleOf(List(true, kStreamFormat_OpenCaptions, 720, 480)->GetCaptions()[0]).GetFontSize(), 17.0f);
}

TEST_F(DefaultCaptionList, TextsComeThroughTheLocalizer) {
  auto& localizer = kelcore::string::Localizer::Get();
  localizer.SetTranslation("$$$/Tandem/ImporterCaptioning/ImporterCaptioningPrefsBasic/DefaultCaptionText",
                           kelcore::string::UTF8ToUTF16("Tapez le texte ici"));
  localizer.SetTranslation("$$$/Tandem/ImporterCaptioning/ImporterCaptioningPrefsBasic/DefaultOpenCaptionText",
                           kelcore::string::UTF8ToUTF16("Ancre : @0"));
  EXPECT_EQ(TextOf(List(false, kStreamFormat_CEA608_CC1)->GetCaptions()[0]), u"Tapez le texte ici");
  EXPECT_EQ(TextOf(List(true, kStreamFormat_OpenCaptions, 1920, 1080, true)->GetCaptions()[4]),
            u"Ancre : Middle Center");
  localizer.ClearTranslations();
}

TEST_F(DefaultCaptionList, FormatsStampTheirMetadata) {
  CaptionListPtr list = List(false, kStreamFormat_TeletextLevel10, 1920, 1080, false, 9, 9);
  ASSERT_TRUE(list->GetMetadata().GetSTLMetadata());
  EXPECT_EQ(list->GetMetadata().GetSTLMetadata()->GetDisplayStandardCode(), kStreamFormat_TeletextLevel10);
  EXPECT_EQ(list->GetMetadata().GetMaxNumberOfRow(), 0);  // only open EBU keeps them
  list = List(false, kStreamFormat_TeletextLevel15, 1920, 1080, false, 9, 9);
  ASSERT_TRUE(list->GetMetadata().GetSTLMetadata());
  EXPECT_EQ(list->GetMetadata().GetSTLMetadata()->GetDisplayStandardCode(), kStreamFormat_Unknown);

  list = List(true, kStreamFormat_OpenEBU, 1920, 1080, false, 11, 37);
  EXPECT_EQ(list->GetMetadata().GetSTLMetadata()->GetDisplayStandardCode(), kStreamFormat_OpenEBU);
  EXPECT_EQ(list->GetMetadata().GetMaxNumberOfRow(), 11);
  EXPECT_EQ(list->GetMetadata().GetMaxCharactersInRow(), 37);
  EXPECT_EQ(list->GetCaptions().size(), 1u);

  list = List(false, kStreamFormat_CEA708);
  EXPECT_TRUE(list->GetIsWideScreen());
  EXPECT_EQ(SpanStyleOf(list->GetCaptions()[0]).GetForegroundColor(), kCaptioningColor_708_White);
  EXPECT_FALSE(List(false, kStreamFormat_CEA708, 720, 480)->GetIsWideScreen());
}

TEST_F(DefaultCaptionList, OpenCaptionSamplesShowAnchorsThenAGridOfPercentages) {
  const CaptionVector captions = List(true, kStreamFormat_OpenCaptions, 1920, 1080, true)->GetCaptions();
  ASSERT_EQ(captions.size(), 35u);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    EXPECT_EQ(captions[i]->GetBeginTime().GetTicks(), static_cast<std::int64_t>(i) * kStep) << i;
    EXPECT_EQ(captions[i]->GetEndTime().GetTicks() - captions[i]->GetBeginTime().GetTicks(), kStep / 4 * 3);
    EXPECT_EQ(SpanStyleOf(captions[i]).GetFontSize(), 38.0f);
  }
  ExpectTexts(captions, {{0, u"Position: Top Left"}, {9, u"Position: Free"}, {10, u"x: 0%, y:0%"},
                         {10 + 2 * 5 + 1, u"x: 20%, y:40%"}});
  const int across[] = {0, 307, 614, 922, 1229}, down[] = {0, 173, 346, 518, 691};
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 5; ++column) {
      const CaptionPtr& sample = captions[static_cast<std::size_t>(10 + row * 5 + column)];
      EXPECT_EQ(AnchorOf(sample), ParagraphStyleAttributes::kAnchor_Free);
      EXPECT_EQ(PositionOf(sample), Position(rational<int>(across[column], 1536), rational<int>(down[row], 864)));
    }
  }
}

TEST_F(DefaultCaptionList, ZeroDenominatorsPassThroughAndKeepWhatWasBuilt) {
  CaptionListPtr list(new CaptionList());
  const CaptionList* before = list.get();
  try {
    kelcaptioningui::GetDefaultCaptionList(nullptr, kStreamFormat_OpenCaptions, 0, 1080, {1, 1}, true, 0, 0, list);
    FAIL() << "expected bad_rational";
  } catch (const boost::bad_rational& e) {
    EXPECT_STREQ(e.what(), "bad rational: zero denominator");
  }
  ASSERT_TRUE(list);
  EXPECT_NE(list.get(), before);
  EXPECT_EQ(list->GetCaptions().size(), 10u);  // the anchor samples made it

  EXPECT_THROW(kelcaptioningui::GetDefaultCaptionList(nullptr, kStreamFormat_Unknown, 1920, 1080, {1, 1}, false, 0,
                                                      0, list),
               boost::bad_rational);
  EXPECT_TRUE(list->GetCaptions().empty());
}

CaptionListPtr GridList(int rows, int characters) {
  CaptionListPtr list(new CaptionList());
  CaptioningMetadata metadata;
  metadata.SetMaxNumberOfRow(rows);
  metadata.SetMaxCharactersInRow(characters);
  list->SetMetadata(metadata);
  return list;
}

TEST(DefaultCaptionBuilders, GridSamplesLabelEveryCellWithTrimmedLabels) {
  CaptionListPtr list = GridList(15, 32);
  list->SetStreamFormat(kStreamFormat_CEA608_CC1);
  kelcaptioningui::BuildPositionSamples(kStreamFormat_CEA608_CC1, list, 1536, 864, 0.0f);
  const CaptionVector captions = list->GetCaptions();
  ASSERT_EQ(captions.size(), 480u);
  ExpectTexts(captions, {{0, u"1,1"}, {28, u"1,29"}, {29, u",30"}, {30, u"31"}, {31, u"2"}, {2 * 32 + 11, u"3,12"},
                         {479, u"2"}});
  EXPECT_EQ(captions[479]->GetBeginTime().GetTicks(), 479 * kStep);
  EXPECT_EQ(PositionOf(captions[2 * 32 + 11]), Position(rational<int>(11, 32), rational<int>(2, 15)));
  EXPECT_EQ(Paragraph(captions[29])->GetParagraphLineWidth(), 3);

  // No grid in the metadata: no samples.
  CaptionListPtr empty(new CaptionList());
  kelcaptioningui::BuildPositionSamples(kStreamFormat_CEA608_CC1, empty, 1536, 864, 0.0f);
  EXPECT_TRUE(empty->GetCaptions().empty());
}

TEST(DefaultCaptionBuilders, EachCaptionIsCompleteWhenItIsInserted) {
  // A caption already in the list, half way between the second and third sample: samples that
  // were inserted before their times were set would all land in front of it.
  CaptionListPtr list = GridList(1, 4);
  CaptionPtr existing(new Caption());
  existing->AppendCaptionTextParagraph(CaptionTextParagraphPtr(new CaptionTextParagraph()));
  existing->SetBeginTime(kelmediatypes::TickTime(kStep * 3 / 2));
  existing->SetEndTime(kelmediatypes::TickTime(kStep * 2));
  ASSERT_TRUE(list->InsertCaption(existing));
  kelcaptioningui::BuildPositionSamples(kStreamFormat_CEA608_CC1, list, 100, 100, 0.0f);
  const CaptionVector captions = list->GetCaptions();
  ASSERT_EQ(captions.size(), 5u);
  EXPECT_EQ(captions[2], existing);
  // Line sizes were measured on the paragraph that the caption holds.
  EXPECT_EQ(Paragraph(captions[0])->GetParagraphLineWidth(), 3);
  EXPECT_EQ(Paragraph(captions[0])->GetParagraphLineHeight(), 1);
}

// Measures each text as the table says.
struct TableSurface : RecordingSurface {
  std::map<std::u16string, float> widths;
  float MeasureStringWidth(const kelui::inkpad::FontP&, const char16_t* text, int) override {
    return widths[std::u16string(text)];
  }
};

// A caption of free paragraphs 100 wide at (x, 1/2), each given as its spans' texts and sizes,
// its alignment and x; a paragraph with no spans is left empty.
struct FreeParagraph {
  std::vector<std::pair<const char16_t*, float>> spans;
  ParagraphStyleAttributes::TextAlignmentType alignment = ParagraphStyleAttributes::kTextAlignment_Left;
  rational<int> x = 0;
};

CaptionPtr FreeCaption(const std::vector<FreeParagraph>& paragraphs) {
  CaptionPtr caption(new Caption());
  for (const FreeParagraph& free : paragraphs) {
    CaptionTextParagraphPtr paragraph(new CaptionTextParagraph());
    caption->AppendCaptionTextParagraph(paragraph);
    if (free.spans.empty()) continue;
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
  TableSurface surface;
  surface.widths = {{u"small", 100.4f}, {u"large", 50.5f}, {u"wide", 300.0f}, {u"mid", 200.0f}};
  Inkpad inkpad(&supplier, &surface);

  CaptionPtr sized = FreeCaption({{{{u"small", 20.0f}, {u"large", 40.0f}}}, {}});
  kelcaptioningui::RefreshCaptionSizeInfo(sized, &inkpad, false, 1000, 500);
  EXPECT_EQ(Paragraph(sized)->GetParagraphLineWidth(), 100 + 51 + 10);
  EXPECT_EQ(Paragraph(sized)->GetParagraphLineHeight(), 48);
  EXPECT_EQ(Paragraph(sized)->GetCaptionPosition().GetX(), rational<int>(0));  // not moved
  EXPECT_EQ(Paragraph(sized, 1)->GetParagraphLineWidth(), 0);
  EXPECT_EQ(Paragraph(sized, 1)->GetParagraphLineHeight(), 0);

  // One free block, 100 wide at x = 450 (centre 500), measuring 300 wide afterwards.
  const rational<int> x(450, 1000);
  CaptionPtr block = FreeCaption({{{{u"wide", 0.0f}}, ParagraphStyleAttributes::kTextAlignment_Left, x},
                                        {{{u"mid", 0.0f}}, ParagraphStyleAttributes::kTextAlignment_Center, x},
                                        {{{u"mid", 0.0f}}, ParagraphStyleAttributes::kTextAlignment_Right, x}});
  kelcaptioningui::RefreshCaptionSizeInfo(block, &inkpad, true, 1000, 500);
  EXPECT_EQ(Paragraph(block, 0)->GetCaptionPosition().GetX(), rational<int>(350, 1000));
  EXPECT_EQ(Paragraph(block, 1)->GetCaptionPosition().GetX(), rational<int>(400, 1000));
  EXPECT_EQ(Paragraph(block, 2)->GetCaptionPosition(), Position(rational<int>(450, 1000), rational<int>(1, 2)));

  // Past the left edge, a left-aligned line stops at 0.
  CaptionPtr edge = FreeCaption({{{{u"wide", 0.0f}}}});
  kelcaptioningui::RefreshCaptionSizeInfo(edge, &inkpad, true, 1000, 500);
  EXPECT_EQ(Paragraph(edge)->GetCaptionPosition().GetX(), rational<int>(0));

  CaptionPtr none;
  kelcaptioningui::RefreshCaptionSizeInfo(none, &inkpad, true, 1000, 500);
}

}  // namespace

#include "defaults/DefaultCaptionBuilders.h"

#include <optional>
#include <string>

#include "kelcaptioning/Formats.h"
#include "kelcore/Localizer.h"
#include "kelcore/String.h"
#include "paint/Rounding.h"

namespace kelcaptioningui {

using namespace kelcaptioning;
using boost::rational;
using kelmediatypes::TickTime;

namespace {

constexpr const char* kDefaultCaptionTextKey =
    "$$$/Tandem/ImporterCaptioning/ImporterCaptioningPrefsBasic/DefaultCaptionText=Type Caption Text Here";
constexpr const char* kDefaultOpenCaptionTextKey =
    "$$$/Tandem/ImporterCaptioning/ImporterCaptioningPrefsBasic/DefaultOpenCaptionText=Position: @0";

const CaptioningColor& DefaultForeground(StreamFormat format) {
  return IsCEA708(format) ? kCaptioningColor_708_White : kCaptioningColor_White;
}

TextSpanAttributes SpanAttributes(const CaptioningColor& foreground, std::optional<float> fontSize) {
  TextSpanAttributes attributes;
  attributes.SetForegroundColor(foreground);
  attributes.SetBackgroundColor(kCaptioningColor_Black);
  if (fontSize) attributes.SetFontSize(*fontSize);
  return attributes;
}

struct CaptionRecipe {
  kelcore::UTF16String text;
  TextSpanAttributes attributes;
  std::optional<ParagraphStyleAttributes::AnchorID> anchor;
  Position position;
  TickTime begin;
  std::int64_t durationTicks = 0;
  bool measureGridLines = false;
};

// One caption of one paragraph of one span, made and inserted in the order a caption track
// expects: span, paragraph, caption, times, type, line sizes, insertion.
void AddCaption(const CaptionRecipe& recipe, StreamFormat format, CaptionListPtr& list) {
  CaptionTextSpanPtr span(new CaptionTextSpan());
  span->SetCaptionText(recipe.text);
  span->SetTextSpanStyleAttributes(recipe.attributes);
  CaptionTextParagraphPtr paragraph(new CaptionTextParagraph());
  paragraph->AppendCaptionTextSpan(span);
  if (recipe.anchor) {
    ParagraphStyleAttributes style;
    style.SetAnchorID(*recipe.anchor);
    paragraph->SetParagraphStyleAttributes(style);
  }
  paragraph->SetCaptionPosition(recipe.position);
  CaptionPtr caption(new Caption());
  caption->AppendCaptionTextParagraph(paragraph);
  caption->SetBeginTime(recipe.begin);
  caption->SetEndTime(recipe.begin + TickTime(recipe.durationTicks));
  caption->SetCaptionType(kCaptionType_Default);
  if (recipe.measureGridLines) {
    caption->UpdateLineWidthAndHeightFromText(format, list->GetMetadata().GetMaxCharactersInRow(),
                                              list->GetMetadata().GetMaxNumberOfRow());
  }
  list->InsertCaption(caption);
}

kelcore::UTF16String Ascii(const std::string& text) { return kelcore::string::AsciiToUTF16(text.c_str(), text.size()); }

void BuildOpenCaptionSamples(StreamFormat format, CaptionListPtr& list, int areaWidth, int areaHeight, float fontSize) {
  TickTime t = kelmediatypes::kTime_Zero;
  const TickTime step(kSampleTicks + kSampleGapTicks);
  const TextSpanAttributes attributes = SpanAttributes(kCaptioningColor_White, fontSize);
  const kelcore::UTF16String pattern = kelcore::string::Localizer::Get().GetLocalizedString(kDefaultOpenCaptionTextKey);
  for (int a = 0; a <= 9; ++a) {
    const auto anchor = static_cast<ParagraphStyleAttributes::AnchorID>(a);
    const kelcore::UTF16String text =
        kelcore::string::ReplaceInString(pattern, ParagraphStyleAttributes::GetAnchorIDName(anchor));
    AddCaption({text, attributes, anchor, Position(rational<int>(0, 1), rational<int>(0, 1)), t, kSampleTicks, false},
               format, list);
    t += step;
  }
  for (int yp = 0; yp <= 80; yp += 20) {
    for (int xp = 0; xp <= 80; xp += 20) {
      const std::string text = "x: " + std::to_string(xp) + "%, y:" + std::to_string(yp) + "%";
      const int py = TruncToInt(static_cast<float>(yp) * static_cast<float>(areaHeight) / 100.0f + 0.5f);
      const int px = TruncToInt(static_cast<float>(xp) * static_cast<float>(areaWidth) / 100.0f + 0.5f);
      const rational<int> y(py, areaHeight);  // built first; a zero area throws here
      const rational<int> x(px, areaWidth);
      AddCaption({Ascii(text), attributes, ParagraphStyleAttributes::kAnchor_Free, Position(x, y), t, kSampleTicks,
                  false},
                 format, list);
      t += step;
    }
  }
}

void BuildGridSamples(StreamFormat format, CaptionListPtr& list) {
  const int rows = list->GetMetadata().GetMaxNumberOfRow();
  const int columns = list->GetMetadata().GetMaxCharactersInRow();
  TickTime t = kelmediatypes::kTime_Zero;
  const TickTime step(kSampleTicks + kSampleGapTicks);
  const TextSpanAttributes attributes = SpanAttributes(DefaultForeground(format), std::nullopt);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      std::string label = std::to_string(r + 1) + "," + std::to_string(c + 1);
      // No label runs past the end of its row: keep its last characters.
      const std::size_t room = static_cast<std::size_t>(columns - c);
      if (label.size() > room) label = label.substr(label.size() - room);
      AddCaption({Ascii(label), attributes, std::nullopt, Position(rational<int>(c, columns), rational<int>(r, rows)),
                  t, kSampleTicks, true},
                 format, list);
      t += step;
    }
  }
}

}  // namespace

void BuildSingleDefaultCaption(StreamFormat format, CaptionListPtr& list, int /*areaWidth*/, int /*areaHeight*/,
                               float fontSize) {
  const kelcore::UTF16String text = kelcore::string::Localizer::Get().GetLocalizedString(kDefaultCaptionTextKey);
  const TextSpanAttributes attributes =
      SpanAttributes(DefaultForeground(format), fontSize > 1.0f ? std::optional<float>(fontSize) : std::nullopt);
  int rows = list->GetMetadata().GetMaxNumberOfRow();
  if (rows == 0) rows = GetCaptionRows(format);
  // A row count of 0 from both sources throws boost::bad_rational here.
  const Position position(rational<int>(0, 1), rational<int>(rows - 1, rows));
  const auto anchor =
      IsOpenCaptions(format) ? ParagraphStyleAttributes::kAnchor_BottomCenter : ParagraphStyleAttributes::kAnchor_BottomLeft;
  AddCaption({text, attributes, anchor, position, kelmediatypes::kTime_Zero, kSingleCaptionTicks, !IsOpenCaptions(format)},
             format, list);
}

void BuildPositionSamples(StreamFormat format, CaptionListPtr& list, int areaWidth, int areaHeight, float fontSize) {
  if (IsOpenCaptions(format)) {
    BuildOpenCaptionSamples(format, list, areaWidth, areaHeight, fontSize);
  } else {
    BuildGridSamples(format, list);
  }
}

}  // namespace kelcaptioningui

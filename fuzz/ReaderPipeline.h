#pragma once

// What the command-line tool does with what a reader gives, with text measured by a rule instead
// of fonts (each UTF-16 unit half its font size wide): the states shown in a 1920 x 1080 frame
// (captions wrapped, placed and stacked in a 1536 x 864 caption area, then cut into render-ready
// states). Shared by the reader targets, so that a file that reads but cannot be shown is found
// too.

#include <algorithm>
#include <string>
#include <string_view>

#include "kelcaptionfiles/ShownStates.h"

namespace kel_fuzz {

inline kelcaptionfiles::CaptionTimeline PlaceAndCut(kelcaptionfiles::ReadResult& result) {
  struct RuleMeasuring : kelcaptionfiles::CaptionMeasurer {
    void Measure(kelcaptioning::CaptionPtr& caption) override {
      for (const auto& paragraph : caption->GetCaptionTextParagraphs()) {
        float width = 0, size = 0;
        for (const auto& span : paragraph->GetCaptionTextSpans()) {
          const auto style = span->GetTextSpanStyleAttributes();
          width += TextWidth(style, span->GetSpanText());
          size = std::max(size, Size(style));
        }
        paragraph->SetParagraphLineWidth(static_cast<int>(std::min(width + size / 4, 1e9f)));
        paragraph->SetParagraphLineHeight(static_cast<int>(std::min(size * 1.2f, 1e9f)));
      }
    }
    float TextWidth(const kelcaptioning::TextSpanAttributes& style, std::u16string_view text) override {
      return static_cast<float>(text.size()) * Size(style) / 2;
    }
    static float Size(const kelcaptioning::TextSpanAttributes& style) {
      const float size = style.GetFontSize();
      return size > 0 && size < 1e6f ? size : 0;  // NaN too
    }
  } measurer;
  return kelcaptionfiles::ShownStates(result, 1920, 1080, measurer);
}

}  // namespace kel_fuzz

namespace kel_fuzz {

// Whether `list` holds a caption from `beginMs` to `endMs` whose text is `text` (its paragraphs
// joined with '|').
inline bool HasCaption(const kelcaptioning::CaptionList& list, const std::u16string& text, long long beginMs,
                       long long endMs) {
  constexpr long long kTicksPerMs = kelmediatypes::TickTime::kTicksPerSecond / 1000;
  for (const kelcaptioning::CaptionPtr& caption : list.GetCaptions()) {
    std::u16string shown;
    for (const auto& paragraph : caption->GetCaptionTextParagraphs()) {
      if (!shown.empty()) shown += u'|';
      shown += std::u16string_view(paragraph->GetText());
    }
    if (shown == text && caption->GetBeginTime().GetTicks() == beginMs * kTicksPerMs &&
        caption->GetEndTime().GetTicks() == endMs * kTicksPerMs) {
      return true;
    }
  }
  return false;
}

}  // namespace kel_fuzz

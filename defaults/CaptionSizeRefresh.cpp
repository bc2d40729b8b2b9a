#include <algorithm>
#include <map>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelui/inkpad/Surface.h"
#include "open/SpanFont.h"
#include "paint/Rounding.h"

namespace kelcaptioningui {

using namespace kelcaptioning;

namespace {

constexpr auto kFreeAnchor = ParagraphStyleAttributes::kAnchor_Free;

// Horizontal centres of the caption's free-positioned text blocks, by first paragraph.
std::map<std::uint64_t, int> RecordBlockCentres(const Caption& caption, int areaWidth, int areaHeight) {
  std::map<std::uint64_t, int> centres;
  const CaptionTextParagraphList paragraphs = caption.GetCaptionTextParagraphs();
  std::uint64_t lastOfBlock = 0;
  for (std::uint64_t i = 0; i < paragraphs.size(); ++i) {
    const CaptionTextParagraphPtr& paragraph = paragraphs[static_cast<std::size_t>(i)];
    if (!paragraph || paragraph->GetParagraphStyleAttributes().GetAnchorID() != kFreeAnchor) {
      lastOfBlock = 0;
      continue;
    }
    if (lastOfBlock != 0 && lastOfBlock >= i) continue;  // inside a block already recorded
    kelcore::RectT<int> rect{};
    caption.GetTextBlockRect(i, areaWidth, areaHeight, rect, lastOfBlock);
    centres[i] = rect.x + rect.width / 2;
  }
  return centres;
}

// The sum of the spans' measured widths, the side margins, and the line height from the
// largest font size.
void MeasureParagraph(CaptionTextParagraph& paragraph, kelui::inkpad::Inkpad* inkpad) {
  kelui::inkpad::SurfaceInterface* surface = inkpad ? inkpad->GetSurface() : nullptr;
  float largest = 0.0f;
  int width = 0;
  for (const CaptionTextSpanPtr& span : paragraph.GetCaptionTextSpans()) {
    if (!span) continue;
    const TextSpanAttributes attributes = span->GetTextSpanStyleAttributes();
    const float size = attributes.GetFontSize();
    if (size > largest) largest = size;
    if (surface == nullptr) continue;
    const float measured = MeasureSpanTextWidth(attributes, span->GetSpanText(), inkpad);
    width = TruncToInt(static_cast<double>(width) + TruncToInt(measured + 0.5f));
  }
  width = TruncToInt(static_cast<double>(width) + TruncToInt(largest * 0.125f * 2.0f + 0.5f));
  const int height = TruncToInt(paragraph.GetParagraphStyleAttributes().GetLineHeightToTextRatio() * largest + 0.5f);
  paragraph.SetParagraphLineHeight(height);
  paragraph.SetParagraphLineWidth(width);
}

// Moves a block's paragraphs so that, at its new width, it keeps its centre; each line aligned
// in the block by its paragraph's alignment.
void RecentreBlock(Caption& caption, std::uint64_t first, int centre, int areaWidth, int areaHeight) {
  kelcore::RectT<int> rect{};
  std::uint64_t last = 0;
  caption.GetTextBlockRect(first, areaWidth, areaHeight, rect, last);
  const int left = centre - rect.width / 2;
  const int right = left + rect.width;
  for (std::uint64_t i = first; i <= last; ++i) {
    const CaptionTextParagraphPtr paragraph = caption.GetCaptionTextParagraph(i);
    if (!paragraph) continue;
    const int lineWidth = std::min(paragraph->GetParagraphLineWidth(), areaWidth);
    int x = 0;
    switch (paragraph->GetTextAlignment()) {
      case ParagraphStyleAttributes::kTextAlignment_Left: x = left; break;
      case ParagraphStyleAttributes::kTextAlignment_Center: x = left + (rect.width - lineWidth) / 2; break;
      case ParagraphStyleAttributes::kTextAlignment_Right: x = right - lineWidth; break;
      default: x = 0; break;
    }
    if (x < 0) x = 0;
    Position position = paragraph->GetCaptionPosition();
    position.SetX(boost::rational<int>(x, areaWidth));
    paragraph->SetCaptionPosition(position);
  }
}

}  // namespace

float MeasureSpanTextWidth(const TextSpanAttributes& attributes, std::u16string_view text,
                           kelui::inkpad::Inkpad* inkpad) {
  kelui::inkpad::SurfaceInterface* surface = inkpad ? inkpad->GetSurface() : nullptr;
  text = text.substr(0, text.find(u'\0'));
  if (surface == nullptr || text.empty()) return 0.0f;
  const kelui::inkpad::FontP font = MakeSpanFont(attributes, inkpad, attributes.GetFontSize());
  const int length = static_cast<int>(std::min<std::size_t>(text.size(), 1 << 30));
  return surface->MeasureStringWidth(font, text.data(), length);
}

void RefreshCaptionSizeInfo(CaptionPtr& caption, kelui::inkpad::Inkpad* inkpad, bool updateBlockPositions,
                            int areaWidth, int areaHeight) {
  if (!caption) return;
  std::map<std::uint64_t, int> centres;
  if (updateBlockPositions && areaWidth >= 1 && areaHeight >= 1) centres = RecordBlockCentres(*caption, areaWidth, areaHeight);
  for (std::uint64_t i = 0; i < caption->GetNumParagraphs(); ++i) {
    if (const CaptionTextParagraphPtr paragraph = caption->GetCaptionTextParagraph(i)) MeasureParagraph(*paragraph, inkpad);
  }
  if (!updateBlockPositions) return;
  for (const auto& [first, centre] : centres) RecentreBlock(*caption, first, centre, areaWidth, areaHeight);
}

}  // namespace kelcaptioningui

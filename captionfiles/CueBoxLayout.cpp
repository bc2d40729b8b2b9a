#include "captionfiles/CueBoxLayout.h"

#include <cmath>

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

double AlignmentShare(ParagraphStyleAttributes::TextAlignmentType alignment) {
  switch (alignment) {
    case ParagraphStyleAttributes::kTextAlignment_Left: return 0.0;
    case ParagraphStyleAttributes::kTextAlignment_Right: return 1.0;
    case ParagraphStyleAttributes::kTextAlignment_Center: break;
  }
  return 0.5;
}

long long Whole(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<long long>(std::floor(std::clamp(v, -1e12, 1e12) + 0.5));
}

long long Within(long long at, long long size, long long room) { return std::clamp(at, 0LL, std::max(0LL, room - size)); }

}  // namespace

int WrapWidth(const CueBox* box, const CaptionArea& area) {
  if (!box || !box->width) return area.width;
  return static_cast<int>(std::clamp<long long>(Whole(*box->width * area.frameWidth), 1, area.width));
}

void PlaceCueBox(Caption& caption, const CueBox& box, const CaptionArea& area) {
  const CaptionTextParagraphList lines = caption.GetCaptionTextParagraphs();
  long long widest = 0, height = 0, firstLine = 0;
  ParagraphStyleAttributes::TextAlignmentType alignment = ParagraphStyleAttributes::kTextAlignment_Center;
  for (const CaptionTextParagraphPtr& line : lines) {
    if (!line) continue;
    if (height == 0) firstLine = line->GetParagraphLineHeight(), alignment = line->GetTextAlignment();
    widest = std::max<long long>(widest, line->GetParagraphLineWidth());
    height += line->GetParagraphLineHeight();
  }
  const long long boxWidth = std::min<long long>(box.width ? WrapWidth(&box, area) : widest, area.width);
  const long long left =
      Within(box.x ? Whole(*box.x * area.frameWidth - static_cast<double>(area.Left()) - box.alignX * static_cast<double>(boxWidth))
                   : Whole(AlignmentShare(alignment) * static_cast<double>(area.width - boxWidth)),
             boxWidth, area.width);
  long long top = area.height - height;
  if (box.line) {
    // Lines of the frame counted in the box's own first line height, from the top or the bottom.
    const long long n = *box.line;
    top = (n >= 0 ? n * firstLine : area.frameHeight + (n + 1) * firstLine - height) - area.Top();
  } else if (box.y) {
    top = Whole(*box.y * area.frameHeight - static_cast<double>(area.Top()) - box.alignY * static_cast<double>(height));
  }
  long long y = Within(top, height, area.height);
  for (const CaptionTextParagraphPtr& line : lines) {
    if (!line) continue;
    const long long width = line->GetParagraphLineWidth();
    // Rounded down, as anchored blocks centre their lines.
    const long long x = left + static_cast<long long>(AlignmentShare(line->GetTextAlignment()) *
                                                      static_cast<double>(std::max(0LL, boxWidth - width)));
    SetPixelPosition(*line, Within(x, width, area.width), y, area.width, area.height);
    y += line->GetParagraphLineHeight();
  }
}

}  // namespace kelcaptionfiles

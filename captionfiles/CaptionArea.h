#pragma once

// The caption area that open captions are laid out in: a centred part of the frame, in whole
// pixels, with paragraph positions as fractions of it.

#include <algorithm>
#include <cstdint>

#include "kelcaptioning/CaptionList.h"

namespace kelcaptionfiles {

struct AreaRect {
  long long x = 0, y = 0, width = 0, height = 0;
  long long Right() const { return x + width; }
  long long Bottom() const { return y + height; }
  bool Overlaps(const AreaRect& o) const {
    return x < o.Right() && o.x < Right() && y < o.Bottom() && o.y < Bottom();
  }
};

struct CaptionArea {
  int frameWidth = 0, frameHeight = 0;
  int width = 0, height = 0;
  // Where the area's corner stands in the frame.
  long long Left() const { return (frameWidth - width) / 2; }
  long long Top() const { return (frameHeight - height) / 2; }
};

// `fraction` of `size`, rounded down, exactly.
inline long long PixelsOf(const boost::rational<int>& fraction, int size) {
  const std::int64_t product = static_cast<std::int64_t>(fraction.numerator()) * size;
  std::int64_t quotient = product / fraction.denominator();
  if (product % fraction.denominator() != 0 && product < 0) --quotient;
  return quotient;
}

// A paragraph's top-left corner at (x, y) pixels of an area of `width` x `height`.
inline void SetPixelPosition(kelcaptioning::CaptionTextParagraph& paragraph, long long x, long long y, int width,
                             int height) {
  paragraph.SetCaptionPosition(
      kelcaptioning::Position(boost::rational<int>(static_cast<int>(std::clamp<long long>(x, 0, width)), width),
                              boost::rational<int>(static_cast<int>(std::clamp<long long>(y, 0, height)), height)));
}

// The box around a caption's lines, in pixels of the area.
inline AreaRect BoxOf(const kelcaptioning::Caption& caption, const CaptionArea& area) {
  bool any = false;
  long long left = 0, top = 0, right = 0, bottom = 0;
  for (const kelcaptioning::CaptionTextParagraphPtr& p : caption.GetCaptionTextParagraphs()) {
    if (!p) continue;
    const long long x = PixelsOf(p->GetCaptionPosition().GetX(), area.width);
    const long long y = PixelsOf(p->GetCaptionPosition().GetY(), area.height);
    const long long r = x + p->GetParagraphLineWidth(), b = y + p->GetParagraphLineHeight();
    if (!any) left = x, top = y, right = r, bottom = b;
    left = std::min(left, x), top = std::min(top, y), right = std::max(right, r), bottom = std::max(bottom, b);
    any = true;
  }
  return {left, top, right - left, bottom - top};
}

}  // namespace kelcaptionfiles

#include "captionfiles/CaptionStacking.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

constexpr std::size_t kMostCaptionsAvoided = 100;

}  // namespace

bool CaptionStacking::Clear(AreaRect box, int step, const std::vector<AreaRect>& others, long long& top) const {
  // Each move goes past one box, always the same way, so this ends within others.size() moves.
  for (std::size_t moves = 0; moves <= others.size(); ++moves) {
    const AreaRect* hit = nullptr;
    for (const AreaRect& other : others) {
      if (!box.Overlaps(other)) continue;
      // The one that pushes furthest.
      if (!hit || (step < 0 ? other.y < hit->y : other.Bottom() > hit->Bottom())) hit = &other;
    }
    if (!hit) {
      top = box.y;
      return box.y >= 0 && box.Bottom() <= area_.height;
    }
    box.y = step < 0 ? hit->y - box.height : hit->Bottom();
    if (box.y < 0 || box.Bottom() > area_.height) return false;
  }
  return false;
}

bool CaptionStacking::Place(Caption& caption) {
  const AreaRect box = BoxOf(caption, area_);
  std::vector<AreaRect> others;
  for (const Shown& shown : shown_) {
    if (caption.GetBeginTime() < shown.end) others.push_back(shown.box);
  }
  const int away = box.y + box.height / 2 >= area_.height / 2 ? -1 : 1;
  long long top = box.y;
  // Past so many captions at once no place is worth the search, which grows with their square.
  const bool fits = others.size() <= kMostCaptionsAvoided &&
                    (Clear(box, away, others, top) || Clear(box, -away, others, top));
  if (!fits) top = box.y;
  const long long shift = top - box.y;
  if (shift != 0) {
    for (const CaptionTextParagraphPtr& line : caption.GetCaptionTextParagraphs()) {
      if (!line) continue;
      SetPixelPosition(*line, PixelsOf(line->GetCaptionPosition().GetX(), area_.width),
                       PixelsOf(line->GetCaptionPosition().GetY(), area_.height) + shift, area_.width, area_.height);
    }
  }
  shown_.push_back({caption.GetEndTime(), {box.x, top, box.width, box.height}});
  // Captions that ended before this one began no longer push anything.
  std::erase_if(shown_, [&](const Shown& s) { return !(caption.GetBeginTime() < s.end); });
  return fits;
}

}  // namespace kelcaptionfiles

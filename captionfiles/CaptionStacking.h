#pragma once

// Keeps captions shown at the same time from overlapping, as players stack them. Captions come
// in the order they begin; one keeps the place it got when it first showed, and a later one
// moves away from the edge it stands nearer (captions in the lower half of the area up, others
// down), as WebVTT moves snap-to-lines cues, turning the other way when the area ends.

#include <vector>

#include "captionfiles/CaptionArea.h"
#include "kelmediatypes/TickTime.h"

namespace kelcaptionfiles {

class CaptionStacking {
 public:
  explicit CaptionStacking(const CaptionArea& area) : area_(area) {}

  // Moves `caption` (measured and placed) clear of the captions before it that still show when it
  // begins, and remembers its place. False when no place inside the area is clear: then it
  // stays where it was placed.
  bool Place(kelcaptioning::Caption& caption);

 private:
  struct Shown {
    kelmediatypes::TickTime end;
    AreaRect box;
  };
  // The top of the nearest place for `box` from where it is, moving by `step` (-1 up, +1 down)
  // past the boxes of `others`; false when that place leaves the area.
  bool Clear(AreaRect box, int step, const std::vector<AreaRect>& others, long long& top) const;

  CaptionArea area_;
  std::vector<Shown> shown_;
};

}  // namespace kelcaptionfiles

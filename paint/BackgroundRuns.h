#pragma once

#include <functional>
#include <map>

#include "kelcaptioning/CaptioningColor.h"
#include "kelcore/Allocators.h"
#include "kelcore/RegionList.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

// Background rectangles gathered by colour, for the cell and the span background passes. Colours
// that compare equal under CaptioningColor::operator< share one list.
class BackgroundRuns {
 public:
  // The colour's list, empty when the colour is new.
  kelcore::utility::RegionList& ListFor(const kelcaptioning::CaptioningColor& color) { return runs_[color]; }

  // Paints colour after colour in ascending order: each list without overlaps, at render mode 0,
  // with source-copy compositing so that a translucent colour replaces what lies beneath. Colours
  // whose alpha is exactly transparent are not filled. A surface that is not an OS surface gets
  // no fills, though the render mode is still set and put back.
  void Fill(kelui::inkpad::Inkpad& inkpad);

 private:
  using Entry = std::pair<const kelcaptioning::CaptioningColor, kelcore::utility::RegionList>;
  std::map<kelcaptioning::CaptioningColor, kelcore::utility::RegionList, std::less<kelcaptioning::CaptioningColor>,
           kelcore::STLAllocator<Entry>>
      runs_;
};

}  // namespace kelcaptioningui

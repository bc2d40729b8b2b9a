#pragma once

#include <vector>

#include "kelcore/Allocators.h"
#include "kelcore/Export.h"
#include "kelcore/Geometry.h"

namespace kelcore::utility {

using RegionList = std::vector<RectT<int>, STLAllocator<RectT<int>>>;

// Rewrites `rects` in place so that no two rectangles overlap while together they cover exactly
// the pixels they covered before. Rectangles with no area are dropped; coordinates past the int
// range are cut off at its end. A list that has no overlaps keeps its rectangles and their order.
KELCORE_API void RemoveRegionListOverlaps(RegionList& rects);

}  // namespace kelcore::utility

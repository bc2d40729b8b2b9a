#include "kelcore/RegionList.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kelcore::utility {

namespace {

struct Span {
  std::int64_t begin;
  std::int64_t end;
  friend bool operator==(const Span&, const Span&) = default;
};

struct Box {
  std::int64_t left, top, right, bottom;
};

constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();

bool Overlaps(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

RectT<int> ToRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
  return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
          static_cast<int>(bottom - top)};
}

bool AnyOverlap(std::vector<Box>& boxes) {
  // Sweep in x: only boxes whose x ranges meet can overlap.
  std::vector<std::size_t> order(boxes.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return boxes[a].left < boxes[b].left; });
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Box& a = boxes[order[i]];
    for (std::size_t j = i + 1; j < order.size() && boxes[order[j]].left < a.right; ++j) {
      if (Overlaps(a, boxes[order[j]])) return true;
    }
  }
  return false;
}

}  // namespace

void RemoveRegionListOverlaps(RegionList& rects) {
  std::vector<Box> boxes;
  boxes.reserve(rects.size());
  for (const RectT<int>& r : rects) {
    if (r.width <= 0 || r.height <= 0) continue;
    // Right and bottom may pass the int range; they are cut off at its end.
    const Box box{r.x, r.y, std::min<std::int64_t>(std::int64_t{r.x} + r.width, kIntMax),
                  std::min<std::int64_t>(std::int64_t{r.y} + r.height, kIntMax)};
    if (box.right > box.left && box.bottom > box.top) boxes.push_back(box);
  }

  rects.clear();
  if (!AnyOverlap(boxes)) {
    for (const Box& b : boxes) rects.push_back(ToRect(b.left, b.top, b.right, b.bottom));
    return;
  }

  // Cut the plane into horizontal bands at every top and bottom edge; within a band the covered
  // x intervals are merged. Equal neighbouring bands become one rectangle.
  std::vector<std::int64_t> edges;
  edges.reserve(boxes.size() * 2);
  for (const Box& b : boxes) {
    edges.push_back(b.top);
    edges.push_back(b.bottom);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

  std::sort(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.top < b.top; });

  struct OpenRect {
    Span span;
    std::int64_t top;
  };
  std::vector<OpenRect> open;       // rectangles still growing downwards
  std::vector<Span> spans;          // the current band's merged intervals
  std::vector<Span> previousSpans;  // the band above, to see whether it continues
  std::int64_t previousBottom = std::numeric_limits<std::int64_t>::min();

  auto closeAll = [&](std::int64_t bottom) {
    for (const OpenRect& o : open) rects.push_back(ToRect(o.span.begin, o.top, o.span.end, bottom));
    open.clear();
  };

  for (std::size_t e = 0; e + 1 < edges.size(); ++e) {
    const std::int64_t top = edges[e];
    const std::int64_t bottom = edges[e + 1];
    spans.clear();
    for (const Box& b : boxes) {
      if (b.top > top) break;
      if (b.bottom > top) spans.push_back({b.left, b.right});
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
    std::size_t merged = 0;
    for (const Span& s : spans) {
      if (merged > 0 && s.begin <= spans[merged - 1].end) {
        spans[merged - 1].end = std::max(spans[merged - 1].end, s.end);
      } else {
        spans[merged++] = s;
      }
    }
    spans.resize(merged);

    if (spans == previousSpans && previousBottom == top) {
      previousBottom = bottom;
      continue;
    }
    closeAll(top);
    for (const Span& s : spans) open.push_back({s, top});
    previousSpans = spans;
    previousBottom = bottom;
  }
  closeAll(previousBottom);
}

}  // namespace kelcore::utility

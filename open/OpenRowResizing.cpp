#include "open/OpenRowResizing.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "kelui/inkpad/Surface.h"
#include "open/OpenWindow.h"
#include "paint/Rounding.h"

namespace kelcaptioningui {

namespace {

using kelcaptioning::CaptioningRenderableOpenRowPtr;

int Scaled(int length, float scale) { return RoundHalfUp(static_cast<float>(length) * scale); }

// Which part of a row or block stays where it was: its start, centre or end.
enum class Hold { kStart, kCentre, kEnd };

// The third of the length `area` that the middle of [start, start + length) falls in.
Hold NearestThird(long long start, long long length, int area) {
  const long long middle2 = 2LL * start + length;  // twice the middle
  if (3 * middle2 < 2LL * area) return Hold::kStart;
  if (3 * middle2 > 4LL * area) return Hold::kEnd;
  return Hold::kCentre;
}

// The start of a run of `newLength` that keeps the held part of [start, start + oldLength).
// (In 64 bits: saturated lengths must not overflow.)
long long Held(Hold hold, long long start, long long oldLength, long long newLength) {
  switch (hold) {
    case Hold::kStart: return start;
    case Hold::kEnd: return start + oldLength - newLength;
    case Hold::kCentre: break;
  }
  return start + (oldLength - newLength) / 2;
}

int InsideArea(long long start, long long length, int area) {
  return static_cast<int>(std::max(0LL, std::min(start, area - length)));
}

struct Row {
  std::uint64_t key;
  OpenRowPlace before;
  CaptioningRenderableOpenRowPtr row;
};

// Rows ordered top to bottom, cut into blocks of rows that touch one above the other.
std::vector<std::vector<Row>> Blocks(std::vector<Row> rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.before.y < b.before.y; });
  std::vector<std::vector<Row>> blocks;
  for (Row& row : rows) {
    const bool touches =
        !blocks.empty() && std::llabs(static_cast<long long>(blocks.back().back().before.y) +
                                      blocks.back().back().before.height - row.before.y) <= 1;
    if (!touches) blocks.emplace_back();
    blocks.back().push_back(std::move(row));
  }
  return blocks;
}

// How a block's rows line up across: on their left edges, their right edges, or (differing widths
// around one middle) their centres. One row alone holds the part nearest which it stands.
Hold HorizontalHold(const std::vector<Row>& block, int areaWidth) {
  const OpenRowPlace& first = block.front().before;
  if (block.size() == 1) return NearestThird(first.x, first.width, areaWidth);
  const auto all = [&](auto same) { return std::all_of(block.begin(), block.end(), same); };
  const auto end = [](const OpenRowPlace& p) { return static_cast<long long>(p.x) + p.width; };
  if (all([&](const Row& r) { return std::llabs(static_cast<long long>(r.before.x) - first.x) <= 1; }))
    return Hold::kStart;
  if (all([&](const Row& r) { return std::llabs(end(r.before) - end(first)) <= 1; })) return Hold::kEnd;
  return Hold::kCentre;
}

}  // namespace

OpenRowPlaces MeasureOpenRowPlaces(const kelcaptioning::CaptioningRenderableModelWindowPtr& window,
                                   kelui::inkpad::Inkpad* inkpad) {
  OpenRowPlaces places;
  if (!window) return places;
  MeasureOpenRows(window, inkpad);
  kelcaptioning::OpenRowMap rows;
  window->GetOpenRows(rows);
  for (const auto& [key, row] : rows) {
    if (row) {
      places[key] = {row->GetHorizontalStart(), row->GetVerticalStart(), row->GetRowWidth(), row->GetLineHeight()};
    }
  }
  return places;
}

void ScaleOpenRowText(const kelcaptioning::CaptioningRenderableModelWindowPtr& window, float scale) {
  if (!window) return;
  kelcaptioning::OpenRowMap rows;
  window->GetOpenRows(rows);
  kelcaptioning::OpenSpanMap spans;
  for (const auto& [rowKey, row] : rows) {
    if (!row) continue;
    row->SetLineHeight(Scaled(row->GetLineHeight(), scale));
    row->SetHorizontalTextOffset(Scaled(row->GetHorizontalTextOffset(), scale));
    row->GetOpenSpans(spans);
    for (const auto& [spanKey, span] : spans) {
      if (!span) continue;
      kelcaptioning::TextSpanAttributes attributes = span->GetTextSpanAttributes();
      attributes.SetFontSize(attributes.GetFontSize() * scale);
      attributes.SetTextEdgeWidth(attributes.GetTextEdgeWidth() * scale);
      span->SetTextSpanAttributes(attributes);
      span->SetTextHeight(Scaled(span->GetTextHeight(true), scale), Scaled(span->GetTextHeight(false), scale));
      span->SetVerticalStart(Scaled(span->GetVerticalStart(), scale));
    }
  }
}

void PlaceResizedOpenRows(const kelcaptioning::CaptioningRenderableModelWindowPtr& window,
                          const OpenRowPlaces& before, kelui::inkpad::Inkpad* inkpad) {
  if (!window) return;
  const bool measured = inkpad != nullptr && inkpad->GetSurface() != nullptr;
  const OpenRowPlaces after = MeasureOpenRowPlaces(window, inkpad);
  const kelcore::PointT<int> area = window->GetCaptionDrawAreaSize();
  // Without an area there is no edge or centre to keep (and nothing is drawn).
  if (area.x <= 0 || area.y <= 0) return;
  kelcaptioning::OpenRowMap rows;
  window->GetOpenRows(rows);
  std::vector<Row> placed;
  for (const auto& [key, row] : rows) {
    if (const auto was = before.find(key); row && was != before.end()) placed.push_back({key, was->second, row});
  }
  for (const std::vector<Row>& block : Blocks(std::move(placed))) {
    const long long oldTop = block.front().before.y;
    const long long oldHeight = block.back().before.y + static_cast<long long>(block.back().before.height) - oldTop;
    long long newHeight = 0;
    for (const Row& r : block) newHeight += after.at(r.key).height;
    long long y = InsideArea(Held(NearestThird(oldTop, oldHeight, area.y), oldTop, oldHeight, newHeight), newHeight, area.y);
    const Hold across = HorizontalHold(block, area.x);
    for (const Row& r : block) {
      const OpenRowPlace& now = after.at(r.key);
      if (measured) {
        r.row->SetHorizontalStart(
            InsideArea(Held(across, r.before.x, r.before.width, now.width), now.width, area.x));
      }
      // A block taller than the area lets its rows overlap rather than leave it.
      r.row->SetVerticalStart(InsideArea(y, now.height, area.y));
      y += now.height;
    }
  }
}

}  // namespace kelcaptioningui

#include "captionfiles/Line21Encoding.h"

#include <algorithm>

#include "captionfiles/Line21DisplayEdits.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {
constexpr int kRows = 15;
constexpr int kColumns = 32;
// Captions take at most four rows.
constexpr int kMaxRows = 4;

// The frames of the file and the pair sent in each.
class Schedule {
 public:
  bool Free(std::int64_t frame, std::size_t count) const {
    if (frame < 0) return false;
    const auto at = pairs_.lower_bound(frame);
    return at == pairs_.end() || at->first >= frame + static_cast<std::int64_t>(count);
  }
  void Put(std::int64_t frame, const Line21Group& group) {
    // The pairs that change what shows start lines of their own, whose time codes are then the
    // captions' times: players that give every pair of a line its line's time (FFmpeg does) show
    // them at those times too. Place marks the pairs that show captions, this the erasures.
    if (group.front() == kEraseDisplayed) lineStarts_.insert(frame);
    for (const Line21Pair& pair : group) pairs_[frame++] = pair;
  }
  // The first frame from `from` on where `count` frames are free.
  std::int64_t FirstFree(std::int64_t from, std::size_t count) const {
    while (!Free(from, count)) ++from;
    return from;
  }

  // Places `groups` so that the last one starts at `show`, each group as late as it fits, none
  // before `floor`; false (nothing placed) when they do not fit.
  bool PlaceBackwards(const std::vector<Line21Group>& groups, std::int64_t show, std::int64_t floor) {
    std::vector<std::int64_t> at(groups.size());
    std::int64_t limit = show + static_cast<std::int64_t>(groups.back().size());
    for (std::size_t i = groups.size(); i-- > 0;) {
      std::int64_t start = limit - static_cast<std::int64_t>(groups[i].size());
      if (i + 1 == groups.size() && !Free(start, groups[i].size())) return false;
      while (start >= floor && !Free(start, groups[i].size())) --start;
      if (start < floor) return false;
      at[i] = start;
      limit = start;
    }
    for (std::size_t i = 0; i < groups.size(); ++i) Put(at[i], groups[i]);
    return true;
  }
  // Places `groups` one after another from `from`, each where it first fits; returns where the
  // last one starts.
  std::int64_t PlaceForwards(const std::vector<Line21Group>& groups, std::int64_t from) {
    for (const Line21Group& group : groups) {
      from = FirstFree(from, group.size());
      Put(from, group);
      from += static_cast<std::int64_t>(group.size());
    }
    return from - static_cast<std::int64_t>(groups.back().size());
  }

  // Places `groups` so that pair `pair` of group `shown`, the one that changes what shows, goes
  // out at `at` or the first frame after it where its group fits, with the groups before it as late
  // as they fit and none before `floor`, the rest after it. Where those before do not fit, all go
  // out from `floor` on and `late` is set. Returns the frame of the pair, which starts a line.
  std::int64_t Place(const std::vector<Line21Group>& groups, std::size_t shown, std::size_t pair, std::int64_t at,
                     std::int64_t floor, bool& late) {
    const auto offset = static_cast<std::int64_t>(pair);
    const auto split = groups.begin() + static_cast<std::ptrdiff_t>(shown) + 1;
    const std::vector<Line21Group> head(groups.begin(), split), tail(split, groups.end());
    std::int64_t start = at - offset;
    while (!Free(start, groups[shown].size())) ++start;
    late = !PlaceBackwards(head, start, floor);
    if (late) start = PlaceForwards(head, floor);
    if (!tail.empty()) PlaceForwards(tail, start + static_cast<std::int64_t>(groups[shown].size()));
    lineStarts_.insert(start + offset);
    return start + offset;
  }
  // The frame after the last pair.
  std::int64_t End() const { return pairs_.empty() ? 0 : pairs_.rbegin()->first + 1; }
  // The pairs from frame `from` on, to `decoder`.
  void Feed(Line21Decoder& decoder, std::int64_t from) const {
    for (auto at = pairs_.lower_bound(from); at != pairs_.end(); ++at) decoder.Feed(at->second[0], at->second[1]);
  }

  Line21Pairs Take() { return {std::move(pairs_), std::move(lineStarts_)}; }

 private:
  std::map<std::int64_t, Line21Pair> pairs_;
  std::set<std::int64_t> lineStarts_;
};

// The rows of the roll-up window that each roll-up cue is sent in: of each run of roll-up cues that
// follow one another without a gap, the most rows one of them spans from its top row to its base
// row (below its last after a roll).
std::vector<int> RollUpDepths(const ExportCues& cues) {
  std::vector<int> depths(cues.cues.size(), 0);
  const auto continues = [&cues](std::size_t at, std::size_t start) {
    return at < cues.cues.size() && cues.cues[at].cause.style == CaptionStyle::RollUp &&
           (at == start || cues.cues[at].begin == cues.cues[at - 1].end);
  };
  for (std::size_t i = 0; i < cues.cues.size();) {
    std::size_t end = i;
    int depth = 2;
    for (; continues(end, i); ++end) {
      const ExportCue& cue = cues.cues[end];
      depth = std::max(depth, cue.lines.back().row - cue.lines.front().row + 1 + (cue.cause.rolledUp ? 1 : 0));
    }
    std::fill(depths.begin() + static_cast<std::ptrdiff_t>(i), depths.begin() + static_cast<std::ptrdiff_t>(end),
              std::min(depth, kMaxRows));
    i = std::max(end, i + 1);
  }
  return depths;
}

}  // namespace

Line21Pairs EncodeLine21(const ExportCues& cues, FileNotes& notes) {
  const FrameClock line21(30000, 1001, false);
  Schedule schedule;
  Line21RowWriter writer(notes);
  // What the pairs so far make a decoder show, fed up to the frame `fed`.
  Line21Decoder decoder;
  std::int64_t fed = 0;
  const std::vector<int> depths = RollUpDepths(cues);
  std::int64_t floor = 0;  // a caption is loaded after the one before was shown
  for (std::size_t i = 0; i < cues.cues.size(); ++i) {
    const ExportCue& cue = cues.cues[i];
    bool cut = false;
    std::vector<ExportLine> lines = GridLines(cue, kRows, kColumns, cut);
    if (cut) notes.Count("captions of more rows than the grid (rows past its last left out)", {});
    if (lines.size() > kMaxRows) {
      notes.Count("captions of more than four rows (rows past the fourth left out)", {});
      lines.resize(kMaxRows);
    }
    const std::int64_t begin = line21.FrameAt(cue.begin);
    std::optional<Line21Edit> edit;
    if (cue.cause.style == CaptionStyle::RollUp || cue.cause.style == CaptionStyle::PaintOn) {
      schedule.Feed(decoder, fed);
      fed = schedule.End();
      edit = DisplayEdit(decoder, lines, cue.cause, depths[i], notes);
      if (!edit && cue.cause.style == CaptionStyle::RollUp) {
        notes.Count("roll-up captions that do not follow from the one before by one roll or by added text (sent as pop-on)", {});
      } else if (!edit) {
        notes.Count("paint-on captions that change in more than one place at once (sent as pop-on)", {});
      }
    }
    std::int64_t shown = begin;
    bool late = false;
    if (edit && !edit->groups.empty()) {
      shown = schedule.Place(edit->groups, edit->shownGroup, edit->shownPair, begin, std::max(floor, schedule.End()), late);
      floor = schedule.End();
    } else if (!edit) {
      const std::vector<Line21Group> load = writer.PopOn(lines);
      shown = schedule.Place(load, load.size() - 1, 0, begin, floor, late);
      floor = shown + 2;
    }
    if (late) notes.Count("captions shown late, the one before leaving too few frames to load them", {});
    const std::int64_t end = line21.FrameAt(cue.end);
    const std::int64_t nextBegin = i + 1 < cues.cues.size() ? line21.FrameAt(cues.cues[i + 1].begin) : end + 1;
    if (nextBegin < end) notes.Count("captions that overlap (each pop-on caption replaces the one before)", {});
    const bool replaced = nextBegin <= end;
    if (!replaced) {
      const std::int64_t erase = schedule.FirstFree(std::max(end, shown + 2), 2);
      schedule.Put(erase, Twice(kEraseDisplayed));
    }
  }
  return schedule.Take();
}

}  // namespace kelcaptionfiles

#include "captionfiles/Line21Encoding.h"

#include <algorithm>

#include "captionfiles/ExportText.h"
#include "captionfiles/Line21Characters.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {
constexpr int kRows = 15;
constexpr int kColumns = 32;
// Pop-on captions take at most four rows.
constexpr int kMaxRows = 4;

// Pairs that go out in consecutive frames: a control code and its repeat, or one character pair.
using Group = std::vector<Line21Pair>;

constexpr Line21Pair kResumeCaptionLoading{0x14, 0x20};
constexpr Line21Pair kEraseNonDisplayed{0x14, 0x2E};
constexpr Line21Pair kEraseDisplayed{0x14, 0x2C};
constexpr Line21Pair kEndOfCaption{0x14, 0x2F};

// The seven foreground colours of preamble and mid-row codes, in code order.
constexpr std::array<CaptioningColor, 7> kColors = {CaptioningColor{1, 1, 1}, CaptioningColor{0, 1, 0},
                                                    CaptioningColor{0, 0, 1}, CaptioningColor{0, 1, 1},
                                                    CaptioningColor{1, 0, 0}, CaptioningColor{1, 1, 0},
                                                    CaptioningColor{1, 0, 1}};

// A pen as line 21 has it: colour number, italics, underline.
struct Pen {
  int color = 0;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const Pen&, const Pen&) = default;
};

Group Twice(Line21Pair pair) { return {pair, pair}; }

// The first byte of a preamble address code for row `row` (from 0), and whether the row is the
// second one of that byte.
std::pair<std::uint8_t, bool> PreambleBase(int row) {
  static constexpr std::uint8_t kBases[kRows] = {0x11, 0x11, 0x12, 0x12, 0x15, 0x15, 0x16, 0x16,
                                                 0x17, 0x17, 0x10, 0x13, 0x13, 0x14, 0x14};
  return {kBases[row], row != 10 && (row == 0 ? false : kBases[row - 1] == kBases[row])};
}

Line21Pair Preamble(int row, int attribute) {
  const auto [base, second] = PreambleBase(row);
  return {base, static_cast<std::uint8_t>((second ? 0x60 : 0x40) | attribute)};
}

// The mid-row codes that turn `from` into `to`; each takes a cell, shown as a space.
std::vector<Line21Pair> MidRowCodes(const Pen& from, const Pen& to) {
  if (from == to) return {};
  const auto underline = static_cast<std::uint8_t>(to.underline ? 1 : 0);
  const Line21Pair italics{0x11, static_cast<std::uint8_t>(0x2E | underline)};
  const Line21Pair color{0x11, static_cast<std::uint8_t>(0x20 + to.color * 2 + underline)};
  if (!to.italic) return {color};
  // The italics code keeps the colour.
  if (from.color == to.color) return {italics};
  return {color, italics};
}

class CueEncoder {
 public:
  explicit CueEncoder(FileNotes& notes) : notes_(notes) {}

  // RCL, ENM, the rows, EOC: the groups that load and show one caption.
  std::vector<Group> Load(const std::vector<ExportLine>& lines) {
    groups_ = {Twice(kResumeCaptionLoading), Twice(kEraseNonDisplayed)};
    for (const ExportLine& line : lines) Row(line);
    groups_.push_back(Twice(kEndOfCaption));
    return std::move(groups_);
  }

 private:
  Pen PenOf(const ExportStyle& style) {
    bool exact = true;
    Pen pen{static_cast<int>(NearestColor(style.color, kColors, exact)), style.italic, style.underline};
    if (!exact) notes_.Count("colours other than line 21's seven (the nearest written)", {});
    if (style.bold) notes_.Count("bold text (line 21 has none)", {});
    if (style.background) notes_.Count("text backgrounds (written on black)", {});
    return pen;
  }

  void Row(const ExportLine& line) {
    std::vector<std::pair<char32_t, Pen>> cells;
    for (const ExportRun& run : line.runs) {
      const Pen pen = PenOf(run.style);
      for (char32_t c : run.text) cells.emplace_back(c, pen);
    }
    if (cells.empty()) return;
    const Pen first = cells.front().second;
    const Pen plain{0, false, first.underline};
    int column = std::clamp(line.column, 0, kColumns - 1);
    if (column == 0 || first == plain) {
      // A colour or italics preamble puts the pen at column 0; an indent one at a multiple of 4.
      const bool styled = column == 0 && !(first == plain);
      const int attribute = styled ? (first.italic && first.color == 0 ? 0x0E : first.color * 2) | (first.underline ? 1 : 0)
                                   : 0x10 | (column / 4) << 1 | (first.underline ? 1 : 0);
      groups_.push_back(Twice(Preamble(line.row, attribute)));
      pen_ = styled ? Pen{first.italic && first.color == 0 ? 0 : first.color, first.italic && first.color == 0,
                          first.underline}
                    : plain;
      if (!styled && column % 4) groups_.push_back(Twice({0x17, static_cast<std::uint8_t>(0x20 + column % 4)}));
    } else {
      // Mid-row codes before the first character take the cells left of it.
      const int start = std::max(0, column - static_cast<int>(MidRowCodes(plain, first).size()));
      groups_.push_back(Twice(Preamble(line.row, 0x10 | (start / 4) << 1)));
      if (start % 4) groups_.push_back(Twice({0x17, static_cast<std::uint8_t>(0x20 + start % 4)}));
      pen_ = Pen{};
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const auto [character, pen] = cells[i];
      if (character == U' ' || character == U'\u00A0') {
        // A space before a change of style is where the mid-row code goes.
        std::size_t next = i;
        while (next < cells.size() && (cells[next].first == U' ' || cells[next].first == U'\u00A0')) ++next;
        if (next < cells.size() && !(cells[next].second == pen_)) {
          Codes(cells[next].second);
          continue;
        }
        Character(character);
        continue;
      }
      if (!(pen == pen_)) {
        if (i > 0) notes_.Count("style changes inside a word (a space added for the mid-row code)", {});
        Codes(pen);
      }
      Character(character);
    }
    FlushCharacter();
  }

  void Codes(const Pen& to) {
    FlushCharacter();
    for (const Line21Pair& code : MidRowCodes(pen_, to)) groups_.push_back(Twice(code));
    pen_ = to;
  }

  void Character(char32_t c) {
    Line21Code code = Line21CodeOf(c);
    if (code.kind == Line21Code::Kind::kNone) {
      notes_.Count("characters that line 21 does not have (written as '?')", {});
      code = Line21CodeOf(U'?');
    }
    switch (code.kind) {
      case Line21Code::Kind::kStandard: Standard(code.first); break;
      case Line21Code::Kind::kSpecial:
        FlushCharacter();
        groups_.push_back(Twice({code.first, code.second}));
        break;
      case Line21Code::Kind::kExtended:
        Standard(code.standIn);
        FlushCharacter();
        groups_.push_back(Twice({code.first, code.second}));
        break;
      case Line21Code::Kind::kNone: break;
    }
  }

  void Standard(std::uint8_t byte) {
    if (pending_) {
      groups_.push_back({{pending_, byte}});
      pending_ = 0;
    } else {
      pending_ = byte;
    }
  }

  void FlushCharacter() {
    if (pending_) groups_.push_back({{pending_, 0}});
    pending_ = 0;
  }

  FileNotes& notes_;
  std::vector<Group> groups_;
  Pen pen_;
  std::uint8_t pending_ = 0;
};

// The frames of the file and the pair sent in each.
class Schedule {
 public:
  bool Free(std::int64_t frame, std::size_t count) const {
    if (frame < 0) return false;
    const auto at = pairs_.lower_bound(frame);
    return at == pairs_.end() || at->first >= frame + static_cast<std::int64_t>(count);
  }
  void Put(std::int64_t frame, const Group& group) {
    // The codes that show and erase captions start lines of their own, whose time codes are then
    // the captions' times: players that give every pair of a line its line's time (FFmpeg does)
    // show them at those times too.
    if (group.front() == kEndOfCaption || group.front() == kEraseDisplayed) lineStarts_.insert(frame);
    for (const Line21Pair& pair : group) pairs_[frame++] = pair;
  }
  bool StartsLine(std::int64_t frame) const { return lineStarts_.contains(frame); }
  // The first frame from `from` on where `count` frames are free.
  std::int64_t FirstFree(std::int64_t from, std::size_t count) const {
    while (!Free(from, count)) ++from;
    return from;
  }

  // Places `groups` so that the last one starts at `show`, each group as late as it fits, none
  // before `floor`; false (nothing placed) when they do not fit.
  bool PlaceBackwards(const std::vector<Group>& groups, std::int64_t show, std::int64_t floor) {
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
  std::int64_t PlaceForwards(const std::vector<Group>& groups, std::int64_t from) {
    for (const Group& group : groups) {
      from = FirstFree(from, group.size());
      Put(from, group);
      from += static_cast<std::int64_t>(group.size());
    }
    return from - static_cast<std::int64_t>(groups.back().size());
  }

  Line21Pairs Take() { return {std::move(pairs_), std::move(lineStarts_)}; }

 private:
  std::map<std::int64_t, Line21Pair> pairs_;
  std::set<std::int64_t> lineStarts_;
};

}  // namespace

Line21Pairs EncodeLine21(const ExportCues& cues, FileNotes& notes) {
  const FrameClock line21(30000, 1001, false);
  Schedule schedule;
  CueEncoder encoder(notes);
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
    const std::vector<Group> load = encoder.Load(lines);
    const std::int64_t begin = line21.FrameAt(cue.begin);
    std::int64_t shown = begin;
    while (!schedule.Free(shown, 2)) ++shown;
    if (!schedule.PlaceBackwards(load, shown, floor)) {
      shown = schedule.PlaceForwards(load, floor);
      notes.Count("captions shown late, the one before leaving too few frames to load them", {});
    }
    floor = shown + 2;
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

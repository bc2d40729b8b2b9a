#include "captionfiles/Line21DisplayEdits.h"

#include <algorithm>
#include <functional>

namespace kelcaptionfiles {

namespace {

// What shows, with spaces as empty cells: the lines of a state do not tell the two apart (nor
// keep an underlined space at the end of a row).
Line21Memory Shown(const Line21Memory& memory) {
  Line21Memory shown = memory;
  for (Line21Row& row : shown) {
    for (Line21Cell& cell : row) {
      if (cell.character == U' ') cell = {};
    }
  }
  return shown;
}

// What `lines` show when sent as a pop-on caption: the characters, colours and mid-row spaces
// that the same rows sent in another style show too.
Line21Memory ShownByPopOn(const std::vector<ExportLine>& lines) {
  FileNotes unused;
  Line21RowWriter writer(unused);
  Line21Decoder decoder;
  for (const Line21Group& group : writer.PopOn(lines)) {
    for (const Line21Pair& pair : group) decoder.Feed(pair[0], pair[1]);
  }
  return Shown(decoder.Displayed());
}

int LastUsedColumn(const Line21Row& row) {
  int last = kLine21Columns - 1;
  while (last >= 0 && row[static_cast<std::size_t>(last)].Empty()) --last;
  return last;
}

// Sends groups to a copy of the decoder, keeping them and the pairs that changed what shows (as a
// reader's decoder tells them: a space put on an empty cell is a change too).
class Sender {
 public:
  explicit Sender(const Line21Decoder& decoder) : decoder_(decoder) {}

  void Send(std::vector<Line21Group> groups) {
    for (Line21Group& group : groups) {
      for (std::size_t p = 0; p < group.size(); ++p) {
        if (!decoder_.Feed(group[p][0], group[p][1])) continue;
        ++changes_;
        edit_.shownGroup = edit_.groups.size();
        edit_.shownPair = p;
      }
      edit_.groups.push_back(std::move(group));
    }
  }
  const Line21Decoder& Decoder() const { return decoder_; }
  Line21Memory ShownNow() const { return Shown(decoder_.Displayed()); }
  int Changes() const { return changes_; }
  Line21Edit Take() { return std::move(edit_); }

 private:
  Line21Decoder decoder_;
  int changes_ = 0;
  Line21Edit edit_;
};

}  // namespace

std::optional<Line21Edit> DisplayEdit(const Line21Decoder& decoder, const std::vector<ExportLine>& lines,
                                      const StateCause& cause, int depth, FileNotes& notes) {
  const Line21Memory target = ShownByPopOn(lines);
  FileNotes written;
  Sender sender(decoder);
  bool placeCursor = false;  // a style code came: the cursor is placed before the first character
  if (cause.style == CaptionStyle::RollUp) {
    if (decoder.CurrentStyle() != Line21Decoder::Style::RollUp || decoder.RollUpRows() != depth) {
      sender.Send({Twice(RollUpCode(depth))});
      placeCursor = true;
    }
    if (cause.rolledUp) sender.Send({Twice(kCarriageReturn)});
  } else if (decoder.CurrentStyle() != Line21Decoder::Style::PaintOn) {
    sender.Send({Twice(kResumeDirectCaptioning)});
    placeCursor = true;
  }
  for (int r = 0; r < kLine21Rows && !cause.rolledUp; ++r) {
    const Line21Row now = sender.ShownNow()[static_cast<std::size_t>(r)];
    const Line21Row& wanted = target[static_cast<std::size_t>(r)];
    if (now == wanted) continue;
    const int column = static_cast<int>(std::mismatch(now.begin(), now.end(), wanted.begin()).first - now.begin());
    const auto line = std::find_if(lines.begin(), lines.end(), [r](const ExportLine& l) { return l.row == r; });
    const bool shorter = LastUsedColumn(now) > LastUsedColumn(wanted);
    const Line21Decoder& at = sender.Decoder();
    // The fewest pairs that give the row in one change: the characters from where the cursor
    // stands; the cursor put where the row changes and the characters from there; the row from
    // its start, the cells it already had unchanged.
    std::vector<std::function<void(Line21RowWriter&, std::vector<Line21Group>&)>> ways;
    if (line != lines.end() && !placeCursor && at.CursorRow() == r && at.CursorColumn() <= column) {
      ways.push_back([&, from = at.CursorColumn(), pen = PenOf(at.CurrentPen())](auto& w, auto& out) {
        w.RowFrom(*line, from, pen, out);
      });
    }
    ways.push_back([&](auto& w, auto& out) {
      w.Position(r, column, false, out);
      if (line != lines.end()) w.RowFrom(*line, column, Line21Pen{}, out);
    });
    if (line != lines.end()) ways.push_back([&](auto& w, auto& out) { w.Row(*line, out); });
    for (std::size_t way = 0; way < ways.size(); ++way) {
      FileNotes wayNotes;
      Line21RowWriter writer(wayNotes);
      std::vector<Line21Group> edit;
      ways[way](writer, edit);
      if (shorter) edit.push_back(Twice(kDeleteToEndOfRow));
      Sender trial = sender;
      trial.Send(std::move(edit));
      if ((trial.ShownNow()[static_cast<std::size_t>(r)] == wanted && trial.Changes() <= 1) || way + 1 == ways.size()) {
        sender = std::move(trial);
        written.Count(wayNotes);
        break;
      }
    }
    placeCursor = false;
  }
  if (sender.ShownNow() != target || sender.Changes() > 1) return std::nullopt;
  notes.Count(written);
  return sender.Take();
}

}  // namespace kelcaptionfiles

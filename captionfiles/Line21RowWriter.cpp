#include "captionfiles/Line21RowWriter.h"

#include <algorithm>

#include "captionfiles/ExportText.h"
#include "captionfiles/Line21Characters.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

constexpr int kColumns = kLine21Columns;

// The seven foreground colours of preamble and mid-row codes, in code order.
constexpr std::array<CaptioningColor, 7> kColors = {CaptioningColor{1, 1, 1}, CaptioningColor{0, 1, 0},
                                                    CaptioningColor{0, 0, 1}, CaptioningColor{0, 1, 1},
                                                    CaptioningColor{1, 0, 0}, CaptioningColor{1, 1, 0},
                                                    CaptioningColor{1, 0, 1}};

// The first byte of a preamble address code for row `row` (from 0), and whether the row is the
// second one of that byte.
std::pair<std::uint8_t, bool> PreambleBase(int row) {
  static constexpr std::uint8_t kBases[kLine21Rows] = {0x11, 0x11, 0x12, 0x12, 0x15, 0x15, 0x16, 0x16,
                                                       0x17, 0x17, 0x10, 0x13, 0x13, 0x14, 0x14};
  return {kBases[row], row != 10 && (row == 0 ? false : kBases[row - 1] == kBases[row])};
}

Line21Pair Preamble(int row, int attribute) {
  const auto [base, second] = PreambleBase(row);
  return {base, static_cast<std::uint8_t>((second ? 0x60 : 0x40) | attribute)};
}

// The mid-row codes that turn `from` into `to`; each takes a cell, shown as a space.
std::vector<Line21Pair> MidRowCodes(const Line21Pen& from, const Line21Pen& to) {
  if (from == to) return {};
  const auto underline = static_cast<std::uint8_t>(to.underline ? 1 : 0);
  const Line21Pair italics{0x11, static_cast<std::uint8_t>(0x2E | underline)};
  const Line21Pair color{0x11, static_cast<std::uint8_t>(0x20 + to.color * 2 + underline)};
  if (!to.italic) return {color};
  // The italics code keeps the colour.
  if (from.color == to.color) return {italics};
  return {color, italics};
}

}  // namespace

Line21Pen PenOf(const Line21Style& style) {
  const int color = style.foreground == Line21Color::Black ? 0 : static_cast<int>(style.foreground);
  return {color, style.italic, style.underline};
}

std::vector<Line21Group> Line21RowWriter::PopOn(const std::vector<ExportLine>& lines) {
  std::vector<Line21Group> groups = {Twice(kResumeCaptionLoading), Twice(kEraseNonDisplayed)};
  for (const ExportLine& line : lines) Row(line, groups);
  groups.push_back(Twice(kEndOfCaption));
  return groups;
}

Line21Pen Line21RowWriter::PenOf(const ExportStyle& style) {
  bool exact = true;
  Line21Pen pen{static_cast<int>(NearestColor(style.color, kColors, exact)), style.italic, style.underline};
  if (!exact) notes_.Count("colours other than line 21's seven (the nearest written)", {});
  if (style.bold) notes_.Count("bold text (line 21 has none)", {});
  if (style.background) notes_.Count("text backgrounds (written on black)", {});
  return pen;
}

void Line21RowWriter::Row(const ExportLine& line, std::vector<Line21Group>& out) {
  groups_ = &out;
  std::vector<std::pair<char32_t, Line21Pen>> cells;
  for (const ExportRun& run : line.runs) {
    const Line21Pen pen = PenOf(run.style);
    for (char32_t c : run.text) cells.emplace_back(c, pen);
  }
  if (cells.empty()) return;
  const Line21Pen first = cells.front().second;
  const Line21Pen plain{0, false, first.underline};
  const int column = std::clamp(line.column, 0, kColumns - 1);
  if (column == 0 || first == plain) {
    // A colour or italics preamble puts the pen at column 0; an indent one at a multiple of 4.
    if (first == plain) {
      Position(line.row, column, first.underline, out);
    } else {
      const int attribute = (first.italic && first.color == 0 ? 0x0E : first.color * 2) | (first.underline ? 1 : 0);
      out.push_back(Twice(Preamble(line.row, attribute)));
      pen_ = Line21Pen{first.italic && first.color == 0 ? 0 : first.color, first.italic && first.color == 0,
                       first.underline};
    }
  } else {
    // Mid-row codes before the first character take the cells left of it.
    Position(line.row, std::max(0, column - static_cast<int>(MidRowCodes(plain, first).size())), false, out);
  }
  Cells(cells);
  FlushCharacter();
}

void Line21RowWriter::Position(int row, int column, bool underline, std::vector<Line21Group>& out) {
  out.push_back(Twice(Preamble(row, 0x10 | (column / 4) << 1 | (underline ? 1 : 0))));
  if (column % 4) out.push_back(Twice({0x17, static_cast<std::uint8_t>(0x20 + column % 4)}));
  pen_ = Line21Pen{0, false, underline};
}

void Line21RowWriter::RowFrom(const ExportLine& line, int column, const Line21Pen& pen, std::vector<Line21Group>& out) {
  groups_ = &out;
  pen_ = pen;
  std::vector<std::pair<char32_t, Line21Pen>> cells;
  int at = line.column;
  for (const ExportRun& run : line.runs) {
    const Line21Pen runPen = PenOf(run.style);
    for (char32_t c : run.text) {
      if (at++ >= column) cells.emplace_back(c, runPen);
    }
  }
  Cells(cells);
  FlushCharacter(' ');
}

void Line21RowWriter::Cells(const std::vector<std::pair<char32_t, Line21Pen>>& cells) {
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
}

void Line21RowWriter::Codes(const Line21Pen& to) {
  FlushCharacter();
  for (const Line21Pair& code : MidRowCodes(pen_, to)) groups_->push_back(Twice(code));
  pen_ = to;
}

void Line21RowWriter::Character(char32_t c) {
  Line21Code code = Line21CodeOf(c);
  if (code.kind == Line21Code::Kind::kNone) {
    notes_.Count("characters that line 21 does not have (written as '?')", {});
    code = Line21CodeOf(U'?');
  }
  switch (code.kind) {
    case Line21Code::Kind::kStandard: Standard(code.first); break;
    case Line21Code::Kind::kSpecial:
      FlushCharacter();
      groups_->push_back(Twice({code.first, code.second}));
      break;
    case Line21Code::Kind::kExtended:
      Standard(code.standIn);
      FlushCharacter();
      groups_->push_back(Twice({code.first, code.second}));
      break;
    case Line21Code::Kind::kNone: break;
  }
}

void Line21RowWriter::Standard(std::uint8_t byte) {
  if (pending_) {
    groups_->push_back({{pending_, byte}});
    pending_ = 0;
  } else {
    pending_ = byte;
  }
}

void Line21RowWriter::FlushCharacter(std::uint8_t second) {
  if (pending_) groups_->push_back({{pending_, second}});
  pending_ = 0;
}

}  // namespace kelcaptionfiles

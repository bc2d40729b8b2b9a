#pragma once

// The pairs that write caption rows on line 21: preamble address codes, tab offsets, mid-row codes
// and characters, as groups of pairs that go out in consecutive frames.

#include <array>
#include <cstdint>
#include <vector>

#include "captionfiles/ExportCues.h"
#include "captionfiles/Line21Decoder.h"

namespace kelcaptionfiles {

using Line21Pair = std::array<std::uint8_t, 2>;
// Pairs that go out in consecutive frames: a control code and its repeat, or one character pair.
using Line21Group = std::vector<Line21Pair>;

inline constexpr Line21Pair kResumeCaptionLoading{0x14, 0x20};
inline constexpr Line21Pair kDeleteToEndOfRow{0x14, 0x24};
inline constexpr Line21Pair kResumeDirectCaptioning{0x14, 0x29};
inline constexpr Line21Pair kEraseDisplayed{0x14, 0x2C};
inline constexpr Line21Pair kCarriageReturn{0x14, 0x2D};
inline constexpr Line21Pair kEraseNonDisplayed{0x14, 0x2E};
inline constexpr Line21Pair kEndOfCaption{0x14, 0x2F};
// RU2, RU3 or RU4.
inline Line21Pair RollUpCode(int rows) { return {0x14, static_cast<std::uint8_t>(0x23 + rows)}; }

// Control codes are sent twice, so that one lost frame does not lose them.
inline Line21Group Twice(Line21Pair pair) { return {pair, pair}; }

// A pen as line 21 has it: colour number (white, green, blue, cyan, red, yellow, magenta),
// italics, underline.
struct Line21Pen {
  int color = 0;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const Line21Pen&, const Line21Pen&) = default;
};
Line21Pen PenOf(const Line21Style& style);

class Line21RowWriter {
 public:
  // What line 21 cannot carry of the rows written is counted in `notes`.
  explicit Line21RowWriter(FileNotes& notes) : notes_(notes) {}

  // RCL, ENM, the rows, EOC: the groups that load and show one pop-on caption.
  std::vector<Line21Group> PopOn(const std::vector<ExportLine>& lines);
  // A preamble address code for the line's row and indent (a tab offset for the rest of the
  // columns), then its text.
  void Row(const ExportLine& line, std::vector<Line21Group>& out);
  // The cursor to `row` and `column` with a plain white pen (`underline` or not).
  void Position(int row, int column, bool underline, std::vector<Line21Group>& out);
  // The line's text from `column` on, written where the cursor stands with `pen`. A last character
  // alone in its pair goes with a space, as text typed on goes out, so that the characters of the
  // text that follows it fill pairs of their own.
  void RowFrom(const ExportLine& line, int column, const Line21Pen& pen, std::vector<Line21Group>& out);

 private:
  Line21Pen PenOf(const ExportStyle& style);
  void Cells(const std::vector<std::pair<char32_t, Line21Pen>>& cells);
  void Codes(const Line21Pen& to);
  void Character(char32_t c);
  void Standard(std::uint8_t byte);
  // Sends a character left alone in its pair, with `second` beside it.
  void FlushCharacter(std::uint8_t second = 0);

  FileNotes& notes_;
  std::vector<Line21Group>* groups_ = nullptr;
  Line21Pen pen_;
  std::uint8_t pending_ = 0;
};

}  // namespace kelcaptionfiles

#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

namespace kelcaptionfiles {

enum class Line21Color : std::uint8_t { White, Green, Blue, Cyan, Red, Yellow, Magenta, Black };
enum class Line21Opacity : std::uint8_t { Opaque, SemiTransparent, Transparent };

struct Line21Style {
  Line21Color foreground = Line21Color::White;
  Line21Color background = Line21Color::Black;
  Line21Opacity backgroundOpacity = Line21Opacity::Opaque;
  bool italic = false;
  bool underline = false;
  bool flash = false;  // blinks once a second (see Line21Timeline)
  friend bool operator==(const Line21Style&, const Line21Style&) = default;
};

// One character cell; a character of 0 is an empty (transparent) cell.
struct Line21Cell {
  char32_t character = 0;
  Line21Style style;
  bool Empty() const noexcept { return character == 0; }
  friend bool operator==(const Line21Cell&, const Line21Cell&) = default;
};

inline constexpr int kLine21Rows = 15;
inline constexpr int kLine21Columns = 32;
using Line21Row = std::array<Line21Cell, kLine21Columns>;
using Line21Memory = std::array<Line21Row, kLine21Rows>;

// Whether nothing shows: every cell empty.
bool IsBlank(const Line21Row& row) noexcept;
bool IsBlank(const Line21Memory& memory) noexcept;

// A line-21 caption decoder for one data channel of field 1 (channel 1 is CC1, 2 is CC2): it
// takes the byte pairs of successive frames and keeps the displayed and the non-displayed
// memory as a viewer's decoder does, in pop-on, roll-up and paint-on styles.
class Line21Decoder {
 public:
  enum class Style { PopOn, RollUp, PaintOn, Text };

  // Throws std::invalid_argument for a channel other than 1 or 2.
  explicit Line21Decoder(int channel = 1);

  // One frame's pair, parity bits already removed. Returns whether the displayed memory changed.
  bool Feed(std::uint8_t first, std::uint8_t second);

  const Line21Memory& Displayed() const noexcept { return memories_[displayed_]; }
  const Line21Memory& NonDisplayed() const noexcept { return memories_[1 - displayed_]; }
  Style CurrentStyle() const noexcept { return style_; }
  // Whether the last pair's change was a carriage return that moved the roll-up rows up a row.
  bool LastChangeRolledUp() const noexcept { return rolledUp_; }
  // Row and column (from 0) where the next character goes.
  int CursorRow() const noexcept { return row_; }
  int CursorColumn() const noexcept { return column_; }
  // The style the next character takes.
  const Line21Style& CurrentPen() const noexcept { return pen_; }
  // The rows of the roll-up window (0 before any RU code); its base row is the cursor's row.
  int RollUpRows() const noexcept { return rollUpRows_; }

  // What the decoder received but does not show, each kind with how often it came: alarms,
  // text-mode data, the other channel's codes are not counted (they are someone else's).
  const std::map<std::string, long>& Ignored() const noexcept { return ignored_; }
  // How many times anything was ignored, so a reader can tell when it happened.
  long IgnoredCount() const noexcept { return ignoredCount_; }

 private:
  Line21Memory& Target() noexcept;
  bool TargetIsDisplayed() const noexcept;
  bool Control(std::uint8_t first, std::uint8_t second);
  bool Miscellaneous(std::uint8_t code);
  bool Preamble(std::uint8_t first, std::uint8_t second);
  bool MidRow(std::uint8_t second);
  bool BackgroundAttribute(std::uint8_t first, std::uint8_t second);
  bool Put(char32_t character);
  bool ReplacePrevious(char32_t character);
  bool Backspace();
  bool EraseDisplayed();
  bool CarriageReturn();
  bool SetRollUp(int rows);
  bool MoveRollUpBase(int row);
  void Ignore(const std::string& what) {
    ++ignored_[what];
    ++ignoredCount_;
  }

  int channel_;
  std::array<Line21Memory, 2> memories_{};
  int displayed_ = 0;
  // A decoder tuned in between a caption's loading command and its end-of-caption code still
  // shows it: until a command says otherwise, captions load as pop-on ones.
  Style style_ = Style::PopOn;
  int rollUpRows_ = 0;
  bool rolledUp_ = false;
  int row_ = kLine21Rows - 1;
  int column_ = 0;
  Line21Style pen_;
  bool inChannel_ = true;                        // the last control code named this channel
  bool characterBefore_ = false;                 // a character was put on the row since the cursor moved
  std::uint8_t lastFirst_ = 0, lastSecond_ = 0;  // the last control code, until another pair comes
  std::map<std::string, long> ignored_;
  long ignoredCount_ = 0;
};

}  // namespace kelcaptionfiles

#include "captionfiles/Line21Decoder.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "captionfiles/Line21Characters.h"

namespace kelcaptionfiles {

namespace {

constexpr Line21Color kColors[8] = {Line21Color::White, Line21Color::Green,  Line21Color::Blue,    Line21Color::Cyan,
                                    Line21Color::Red,   Line21Color::Yellow, Line21Color::Magenta, Line21Color::Black};

// The row (from 0) a preamble address code names, or -1 when the pair names none.
int PreambleRow(std::uint8_t base, std::uint8_t second) {
  const bool lower = (second & 0x20) != 0;
  switch (base) {
    case 0x11: return lower ? 1 : 0;
    case 0x12: return lower ? 3 : 2;
    case 0x15: return lower ? 5 : 4;
    case 0x16: return lower ? 7 : 6;
    case 0x17: return lower ? 9 : 8;
    case 0x10: return lower ? -1 : 10;
    case 0x13: return lower ? 12 : 11;
    case 0x14: return lower ? 14 : 13;
    default: return -1;
  }
}

std::string CodeName(std::uint8_t first, std::uint8_t second) {
  char text[48];
  std::snprintf(text, sizeof text, "control code %02X %02X", first, second);
  return text;
}

}  // namespace

bool IsBlank(const Line21Row& row) noexcept {
  return std::all_of(row.begin(), row.end(), [](const Line21Cell& c) { return c.Empty(); });
}

bool IsBlank(const Line21Memory& memory) noexcept {
  return std::all_of(memory.begin(), memory.end(), [](const Line21Row& row) { return IsBlank(row); });
}

Line21Decoder::Line21Decoder(int channel) : channel_(channel), inChannel_(channel == 1) {
  if (channel != 1 && channel != 2) throw std::invalid_argument("line-21 field 1 carries caption channels 1 and 2");
}

Line21Memory& Line21Decoder::Target() noexcept {
  return style_ == Style::PopOn ? memories_[1 - displayed_] : memories_[displayed_];
}

bool Line21Decoder::TargetIsDisplayed() const noexcept { return style_ != Style::PopOn; }

bool Line21Decoder::Feed(std::uint8_t first, std::uint8_t second) {
  first &= 0x7F;
  second &= 0x7F;
  rolledUp_ = false;
  if (first == 0 && second == 0) return false;  // padding between codes
  if (first >= 0x10 && first <= 0x1F) {
    // Control codes come twice in a row so that one lost frame does not lose them; the repeat
    // must not act again (a third copy is a new code).
    if (first == lastFirst_ && second == lastSecond_) {
      lastFirst_ = lastSecond_ = 0;
      return false;
    }
    lastFirst_ = first;
    lastSecond_ = second;
    inChannel_ = ((first & 0x08) ? 2 : 1) == channel_;
    if (!inChannel_) return false;
    if (second < 0x20) {
      Ignore("malformed control pair");
      return false;
    }
    return Control(static_cast<std::uint8_t>(first & 0x17), second);
  }
  lastFirst_ = lastSecond_ = 0;
  if (first != 0 && first < 0x10) {
    Ignore("extended data service packets");
    return false;
  }
  if (!inChannel_) return false;
  if (style_ == Style::Text) {
    Ignore("text service characters");
    return false;
  }
  // Both characters land in one row; at the last column the second overwrites the first, which
  // may leave the row as it was.
  const int row = row_;
  const Line21Row before = Target()[static_cast<std::size_t>(row)];
  for (std::uint8_t byte : {first, second}) {
    if (byte >= 0x20) {
      Put(Line21StandardCharacter(byte));
    } else if (byte != 0) {
      Ignore("control bytes in a character pair");
    }
  }
  return TargetIsDisplayed() && Target()[static_cast<std::size_t>(row)] != before;
}

bool Line21Decoder::Control(std::uint8_t base, std::uint8_t second) {
  if (second >= 0x40) {
    const int row = PreambleRow(base, second);
    if (row < 0) {
      Ignore(CodeName(base, second));
      return false;
    }
    return Preamble(static_cast<std::uint8_t>(row), second);
  }
  switch (base) {
    case 0x11:
      if (second < 0x30) return MidRow(second);
      return Put(Line21SpecialCharacter(second));
    case 0x12:
    case 0x13:
      if (second < 0x40 && Line21ExtendedCharacter(base, second) != 0) {
        return ReplacePrevious(Line21ExtendedCharacter(base, second));
      }
      break;
    case 0x14:
    case 0x15:
      if (second < 0x30) return Miscellaneous(second);
      break;
    case 0x17:
      if (second >= 0x21 && second <= 0x23) {
        column_ = std::min(kLine21Columns - 1, column_ + (second - 0x20));
        characterBefore_ = false;
        return false;
      }
      if (second >= 0x2D && second <= 0x2F) return BackgroundAttribute(base, second);
      break;
    case 0x10:
      if (second < 0x30) return BackgroundAttribute(base, second);
      break;
    default: break;
  }
  Ignore(CodeName(base, second));
  return false;
}

bool Line21Decoder::Miscellaneous(std::uint8_t code) {
  switch (code) {
    case 0x20:  // resume caption loading
      style_ = Style::PopOn;
      return false;
    case 0x21: return Backspace();
    case 0x22:
    case 0x23: Ignore("alarm codes (AOF/AON)"); return false;
    case 0x24: {  // delete to end of row
      if (style_ == Style::Text) return false;
      bool changed = false;
      for (int c = column_; c < kLine21Columns; ++c) {
        Line21Cell& cell = Target()[static_cast<std::size_t>(row_)][static_cast<std::size_t>(c)];
        changed |= !cell.Empty();
        cell = {};
      }
      return changed && TargetIsDisplayed();
    }
    case 0x25:
    case 0x26:
    case 0x27: return SetRollUp(code - 0x23);
    case 0x28:  // flash on: like a mid-row code it takes a cell, shown as a space
      pen_.flash = true;
      return Put(U' ');
    case 0x29:  // resume direct captioning
      style_ = Style::PaintOn;
      return false;
    case 0x2A:
    case 0x2B:
      style_ = Style::Text;
      Ignore("text restart / resume text display (TR/RTD)");
      return false;
    case 0x2C: return EraseDisplayed();
    case 0x2D: return CarriageReturn();
    case 0x2E: memories_[1 - displayed_] = Line21Memory{}; return false;
    case 0x2F: {  // end of caption: the loaded caption shows
      displayed_ = 1 - displayed_;
      style_ = Style::PopOn;
      return memories_[0] != memories_[1];
    }
    default: Ignore(CodeName(0x14, code)); return false;
  }
}

bool Line21Decoder::Preamble(std::uint8_t row, std::uint8_t second) {
  const int attribute = second & 0x1F;
  pen_ = Line21Style{};
  if (attribute < 0x10) {
    const int color = attribute >> 1;
    if (color == 7)
      pen_.italic = true;
    else
      pen_.foreground = kColors[color];
    column_ = 0;
  } else {
    column_ = ((attribute - 0x10) >> 1) * 4;
  }
  pen_.underline = (attribute & 1) != 0;
  characterBefore_ = false;
  if (style_ == Style::RollUp) return MoveRollUpBase(row);
  row_ = row;
  return false;
}

bool Line21Decoder::MidRow(std::uint8_t second) {
  const int code = second - 0x20;
  if (code >> 1 == 7) {
    pen_.italic = true;  // italics keep the colour
  } else {
    pen_.foreground = kColors[code >> 1];
    pen_.italic = false;
  }
  pen_.underline = (code & 1) != 0;
  pen_.flash = false;  // only flash on starts it, any mid-row code ends it
  // A mid-row code takes a cell, shown as a space in the new style.
  return Put(U' ');
}

bool Line21Decoder::BackgroundAttribute(std::uint8_t base, std::uint8_t second) {
  if (base == 0x10) {
    pen_.background = kColors[(second - 0x20) >> 1];
    pen_.backgroundOpacity = (second & 1) ? Line21Opacity::SemiTransparent : Line21Opacity::Opaque;
  } else if (second == 0x2D) {
    pen_.backgroundOpacity = Line21Opacity::Transparent;
  } else {
    pen_.foreground = Line21Color::Black;
    pen_.underline = second == 0x2F;
  }
  if (style_ == Style::Text) return false;
  // These codes follow a standard space for decoders that ignore them; this one backs up over it
  // and takes that cell. Where no character came before it on the row since the cursor was
  // placed, there is no such space, and backing up would take a letter shown there.
  if (characterBefore_ && column_ > 0) --column_;
  return Put(U' ');
}

bool Line21Decoder::Put(char32_t character) {
  if (style_ == Style::Text) return false;
  Line21Cell& cell = Target()[static_cast<std::size_t>(row_)][static_cast<std::size_t>(column_)];
  const Line21Cell written = character == 0 ? Line21Cell{} : Line21Cell{character, pen_};
  const bool changed = cell != written;
  cell = written;
  characterBefore_ = true;
  // The last column takes every further character until the cursor moves.
  if (column_ < kLine21Columns - 1) ++column_;
  return changed && TargetIsDisplayed();
}

bool Line21Decoder::ReplacePrevious(char32_t character) {
  // An extended character follows its plain stand-in, which it replaces.
  if (column_ > 0) --column_;
  return Put(character);
}

bool Line21Decoder::Backspace() {
  if (style_ == Style::Text || column_ == 0) return false;
  --column_;
  characterBefore_ = false;
  Line21Cell& cell = Target()[static_cast<std::size_t>(row_)][static_cast<std::size_t>(column_)];
  const bool changed = !cell.Empty();
  cell = {};
  return changed && TargetIsDisplayed();
}

bool Line21Decoder::EraseDisplayed() {
  Line21Memory& shown = memories_[displayed_];
  const bool changed = !IsBlank(shown);
  shown = Line21Memory{};
  return changed;
}

bool Line21Decoder::CarriageReturn() {
  if (style_ != Style::RollUp) return false;
  Line21Memory& shown = memories_[displayed_];
  const int top = row_ - rollUpRows_ + 1;
  bool changed = false;
  for (int r = std::max(top, 0); r <= row_; ++r) {
    Line21Row& target = shown[static_cast<std::size_t>(r)];
    const Line21Row next = r < row_ ? shown[static_cast<std::size_t>(r + 1)] : Line21Row{};
    changed |= target != next;
    target = next;
  }
  column_ = 0;
  characterBefore_ = false;
  rolledUp_ = changed;
  return changed;
}

bool Line21Decoder::SetRollUp(int rows) {
  Line21Memory& shown = memories_[displayed_];
  bool changed = false;
  if (style_ != Style::RollUp) {
    // Coming from another style the screen starts empty, with the base row at the bottom.
    changed = EraseDisplayed();
    row_ = kLine21Rows - 1;
    column_ = 0;
    characterBefore_ = false;
  }
  style_ = Style::RollUp;
  rollUpRows_ = rows;
  if (row_ < rows - 1) row_ = rows - 1;
  // Rows above a window that got smaller leave the screen.
  for (int r = 0; r < row_ - rows + 1; ++r) {
    changed |= !IsBlank(shown[static_cast<std::size_t>(r)]);
    shown[static_cast<std::size_t>(r)] = Line21Row{};
  }
  return changed;
}

bool Line21Decoder::MoveRollUpBase(int row) {
  // The window needs its rows above the base row.
  const int base = std::max(row, rollUpRows_ - 1);
  if (base == row_) return false;
  Line21Memory& shown = memories_[displayed_];
  Line21Memory moved{};
  for (int i = 0; i < rollUpRows_; ++i) {
    const int from = row_ - i, to = base - i;
    if (from >= 0 && to >= 0) moved[static_cast<std::size_t>(to)] = shown[static_cast<std::size_t>(from)];
  }
  const bool changed = moved != shown;
  shown = moved;
  row_ = base;
  return changed;
}

}  // namespace kelcaptionfiles

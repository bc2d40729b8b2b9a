#pragma once

#include <cstdint>
#include <vector>

namespace kelcaptionfiles {

// A digital-TV caption colour: red, green and blue levels of 0 to 3 and an opacity.
enum class DtvccOpacity : std::uint8_t { Solid, Flash, Translucent, Transparent };

struct DtvccColor {
  std::uint8_t red = 0, green = 0, blue = 0;
  DtvccOpacity opacity = DtvccOpacity::Solid;
  friend bool operator==(const DtvccColor&, const DtvccColor&) = default;
};

// How the characters of a window are written (SetPenAttributes, SetPenColor).
struct DtvccPen {
  enum Size : std::uint8_t { kSmall, kStandard, kLarge };
  enum Offset : std::uint8_t { kSubscript, kNormal, kSuperscript };
  enum Edge : std::uint8_t { kNoEdge, kRaised, kDepressed, kUniform, kLeftDropShadow, kRightDropShadow };

  std::uint8_t size = kStandard;
  std::uint8_t offset = kNormal;
  std::uint8_t textTag = 0;
  std::uint8_t fontStyle = 0;  // 0 default, 1 to 7 the generic families (monospaced serif, ...)
  std::uint8_t edgeType = kNoEdge;
  bool underline = false;
  bool italics = false;
  DtvccColor foreground{2, 2, 2, DtvccOpacity::Solid};
  DtvccColor background{0, 0, 0, DtvccOpacity::Solid};
  DtvccColor edge{0, 0, 0, DtvccOpacity::Solid};
  friend bool operator==(const DtvccPen&, const DtvccPen&) = default;
};

// The look and behaviour of a window (SetWindowAttributes).
struct DtvccWindowAttributes {
  enum Justify : std::uint8_t { kLeft, kRight, kCenter, kFull };
  enum Direction : std::uint8_t { kLeftToRight, kRightToLeft, kTopToBottom, kBottomToTop };
  enum Effect : std::uint8_t { kSnap, kFade, kWipe };
  enum Border : std::uint8_t { kNoBorder, kRaisedBorder, kDepressedBorder, kUniformBorder, kShadowLeft, kShadowRight };

  DtvccColor fill{0, 0, 0, DtvccOpacity::Solid};
  std::uint8_t borderType = kNoBorder;
  DtvccColor border{0, 0, 0, DtvccOpacity::Solid};
  bool wordWrap = false;
  std::uint8_t printDirection = kLeftToRight;
  std::uint8_t scrollDirection = kBottomToTop;
  std::uint8_t justify = kLeft;
  std::uint8_t displayEffect = kSnap;
  std::uint8_t effectDirection = 0;
  std::uint8_t effectSpeed = 0;
  friend bool operator==(const DtvccWindowAttributes&, const DtvccWindowAttributes&) = default;
};

// The predefined window styles 1 to 7 and pen styles 1 to 7 that DefineWindow names; 0 and
// values past 7 give style 1.
DtvccWindowAttributes PredefinedWindowStyle(int style) noexcept;
DtvccPen PredefinedPenStyle(int style) noexcept;

// One character cell of a window; a character of 0 is an empty cell, through which the window's
// fill shows.
struct DtvccCell {
  char32_t character = 0;
  DtvccPen pen;
  bool Empty() const noexcept { return character == 0; }
  friend bool operator==(const DtvccCell&, const DtvccCell&) = default;
};

using DtvccText = std::vector<std::vector<DtvccCell>>;

// What DefineWindow says of a window, as sent.
struct DtvccWindowDefinition {
  int priority = 0;          // 0 is drawn over all others
  bool relative = false;     // anchor given in percent of the screen instead of cells
  int anchorVertical = 0;    // 0 to 74 cells (0 to 99 relative)
  int anchorHorizontal = 0;  // 0 to 209 cells on a wide screen, 0 to 159 otherwise (0 to 99 relative)
  int anchorPoint = 0;       // 0 to 8: top left, top centre, ..., bottom right
  int rowCount = 1;          // 1 to 16
  int columnCount = 1;       // 1 to 64
  bool rowLock = false;
  bool columnLock = false;
  bool visible = false;
  int windowStyle = 0;  // 0: keep (or style 1 for a new window)
  int penStyle = 0;
};

// One of the eight windows of a caption service: its definition, its attributes, its pen and the
// text written into it.
class DtvccWindow {
 public:
  bool Defined() const noexcept { return defined_; }
  const DtvccWindowDefinition& Definition() const noexcept { return definition_; }
  const DtvccWindowAttributes& Attributes() const noexcept { return attributes_; }
  const DtvccPen& Pen() const noexcept { return pen_; }
  const DtvccText& Text() const noexcept { return text_; }
  bool Visible() const noexcept { return defined_ && definition_.visible; }
  int PenRow() const noexcept { return penRow_; }
  int PenColumn() const noexcept { return penColumn_; }

  // DefineWindow: a new window starts empty with its styles; an existing one keeps its text
  // (cut to its new size), and keeps its attributes and pen where a style id is 0.
  void Define(const DtvccWindowDefinition& definition);
  void Delete() { *this = DtvccWindow{}; }
  void SetVisible(bool visible) noexcept { definition_.visible = visible; }
  void SetAttributes(const DtvccWindowAttributes& attributes) noexcept { attributes_ = attributes; }
  DtvccPen& MutablePen() noexcept { return pen_; }
  void SetPenLocation(int row, int column) noexcept;

  // Writes a character (0 for a transparent space) where the pen stands and moves the pen on.
  // Returns false when the character did not fit: past the last column without word wrap.
  bool Put(char32_t character);
  void Backspace();
  void CarriageReturn();
  void HorizontalCarriageReturn();
  void FormFeed();
  void Clear();

 private:
  void NextRow();
  void WrapWord();

  bool defined_ = false;
  DtvccWindowDefinition definition_;
  DtvccWindowAttributes attributes_;
  DtvccPen pen_;
  DtvccText text_;
  int penRow_ = 0;
  int penColumn_ = 0;
};

}  // namespace kelcaptionfiles

#pragma once

#include "kelcaptioning/CaptioningColor.h"
#include "kelcaptioning/TextEnums.h"

namespace kelcaptioning {

// Attributes of one character cell of a grid caption.
class TextAttributes {
 public:
  using TextEdge = kelcaptioning::TextEdge;
  using TextOffset = kelcaptioning::TextOffset;
  using TextSize = kelcaptioning::TextSize;
  using GenericFontFamilyID = kelcaptioning::GenericFontFamilyID;

  const CaptioningColor& GetForegroundColor() const noexcept { return foreground_; }
  const CaptioningColor& GetBackgroundColor() const noexcept { return background_; }
  TextSize GetTextSize() const noexcept { return size_; }
  // Rows the cell covers, downwards from its own.
  int GetRowsUsed() const noexcept { return rowsUsed_; }
  TextOffset GetTextOffset() const noexcept { return offset_; }
  GenericFontFamilyID GetGenericFontFamilyID() const noexcept { return family_; }
  TextEdge GetTextEdge() const noexcept { return edge_; }
  bool IsItalic() const noexcept { return italic_; }
  bool IsUnderlined() const noexcept { return underlined_; }

  void SetForegroundColor(const CaptioningColor& c) noexcept { foreground_ = c; }
  void SetBackgroundColor(const CaptioningColor& c) noexcept { background_ = c; }
  void SetTextSize(TextSize v) noexcept { size_ = v; }
  void SetRowsUsed(int v) noexcept { rowsUsed_ = v; }
  void SetTextOffset(TextOffset v) noexcept { offset_ = v; }
  void SetGenericFontFamilyID(GenericFontFamilyID v) noexcept { family_ = v; }
  void SetTextEdge(TextEdge v) noexcept { edge_ = v; }
  void SetItalic(bool v) noexcept { italic_ = v; }
  void SetUnderlined(bool v) noexcept { underlined_ = v; }

  friend bool operator==(const TextAttributes&, const TextAttributes&) = default;

 private:
  CaptioningColor foreground_ = kCaptioningColor_White;
  CaptioningColor background_ = kCaptioningColor_Black;
  TextSize size_ = kTextSize_Standard;
  int rowsUsed_ = 1;
  TextOffset offset_ = kTextOffset_Normal;
  GenericFontFamilyID family_ = kGenericFontFamily_Default;
  TextEdge edge_ = kTextEdge_None;
  bool italic_ = false;
  bool underlined_ = false;
};

}  // namespace kelcaptioning

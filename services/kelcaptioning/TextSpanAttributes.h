#pragma once

#include "kelcaptioning/CaptioningColor.h"
#include "kelcaptioning/Export.h"
#include "kelcaptioning/TextEnums.h"
#include "kelcore/String.h"

namespace kelcaptioning {

// Attributes of one styled span of subtitle text.
class KELCAPTIONING_API TextSpanAttributes {
 public:
  using TextEdge = kelcaptioning::TextEdge;
  using TextOffset = kelcaptioning::TextOffset;
  using FontStyle = kelcaptioning::FontStyle;

  // Face used when a span names none.
  static constexpr const char* kDefaultFontName = "Arial";
  static constexpr float kDefaultFontSize = 40.0f;

  const CaptioningColor& GetForegroundColor() const noexcept { return foreground_; }
  const CaptioningColor& GetBackgroundColor() const noexcept { return background_; }
  const CaptioningColor& GetForegroundEdgeColor() const noexcept { return edgeColor_; }
  TextEdge GetTextEdge() const noexcept { return edge_; }
  // Edge (outline) width in model units.
  float GetTextEdgeWidth() const noexcept { return edgeWidth_; }
  TextOffset GetTextOffset() const noexcept { return offset_; }
  FontStyle GetFontStyle() const noexcept { return style_; }
  float GetFontSize() const noexcept { return fontSize_; }
  bool IsUnderlined() const noexcept { return underlined_; }
  // The face as set, which may be empty.
  const kelcore::UTF16String& GetFontName() const noexcept { return fontName_; }

  // The face to draw with: the one set, or kDefaultFontName when none is.
  kelcore::UTF16String GetResolvedFontName() const;
  // The style name. For a font request (`forFontLookup` true) the regular style is the empty name;
  // otherwise it is "Regular". The others are "Italic", "Bold" and "Bold Italic".
  kelcore::UTF16String GetFontStyleString(bool forFontLookup) const;

  void SetForegroundColor(const CaptioningColor& c) noexcept { foreground_ = c; }
  void SetBackgroundColor(const CaptioningColor& c) noexcept { background_ = c; }
  void SetForegroundEdgeColor(const CaptioningColor& c) noexcept { edgeColor_ = c; }
  void SetTextEdge(TextEdge v) noexcept { edge_ = v; }
  void SetTextEdgeWidth(float v) noexcept { edgeWidth_ = v; }
  void SetTextOffset(TextOffset v) noexcept { offset_ = v; }
  void SetFontStyle(FontStyle v) noexcept { style_ = v; }
  void SetFontSize(float v) noexcept { fontSize_ = v; }
  void SetUnderlined(bool v) noexcept { underlined_ = v; }
  void SetFontName(const kelcore::UTF16String& name) { fontName_ = name; }

  friend bool operator==(const TextSpanAttributes&, const TextSpanAttributes&) = default;

 private:
  CaptioningColor foreground_ = kCaptioningColor_White;
  CaptioningColor background_ = kCaptioningColor_Transparent;
  CaptioningColor edgeColor_ = kCaptioningColor_Black;
  TextEdge edge_ = kTextEdge_None;
  float edgeWidth_ = 0.0f;
  TextOffset offset_ = kTextOffset_Normal;
  FontStyle style_ = kFontStyle_Regular;
  float fontSize_ = kDefaultFontSize;
  bool underlined_ = false;
  kelcore::UTF16String fontName_;
};

}  // namespace kelcaptioning

#pragma once

#include <cstdint>
#include <vector>

#include <boost/intrusive_ptr.hpp>
#include <boost/rational.hpp>

#include "kelcaptioning/Export.h"
#include "kelcaptioning/StreamFormat.h"
#include "kelcaptioning/TextEnums.h"
#include "kelcaptioning/TextSpanAttributes.h"
#include "kelcore/Allocators.h"
#include "kelcore/Counted.h"
#include "kelcore/Geometry.h"
#include "kelcore/String.h"
#include "kelmediatypes/TickTime.h"

namespace kelcaptioning {

// Where a paragraph stands: x and y as fractions of the layout area's width and height, 0 being
// the left or top edge.
class KELCAPTIONING_API Position {
 public:
  Position() = default;
  Position(const boost::rational<int>& x, const boost::rational<int>& y) : x_(x), y_(y) {}
  const boost::rational<int>& GetX() const noexcept { return x_; }
  const boost::rational<int>& GetY() const noexcept { return y_; }
  void SetX(const boost::rational<int>& x) noexcept { x_ = x; }
  void SetY(const boost::rational<int>& y) noexcept { y_ = y; }
  friend bool operator==(const Position&, const Position&) = default;

 private:
  boost::rational<int> x_{0};
  boost::rational<int> y_{0};
};

// How a paragraph is anchored and aligned.
class KELCAPTIONING_API ParagraphStyleAttributes {
 public:
  using AnchorID = kelcaptioning::AnchorID;
  using enum kelcaptioning::AnchorID;
  enum TextAlignmentType : std::int32_t {
    kTextAlignment_Left = 0,
    kTextAlignment_Center = 1,
    kTextAlignment_Right = 2,
  };
  static constexpr float kDefaultLineHeightToTextRatio = 1.2f;

  AnchorID GetAnchorID() const noexcept { return anchor_; }
  TextAlignmentType GetTextAlignment() const noexcept { return alignment_; }
  // Line height over font size.
  float GetLineHeightToTextRatio() const noexcept { return lineHeightRatio_; }
  void SetAnchorID(AnchorID a) noexcept { anchor_ = a; }
  void SetTextAlignment(TextAlignmentType a) noexcept { alignment_ = a; }
  void SetLineHeightToTextRatio(float r) noexcept { lineHeightRatio_ = r; }

  // "Top Left" to "Bottom Right" for 0 to 8, "Free" for 9; "Unknown" otherwise.
  static kelcore::UTF16String GetAnchorIDName(AnchorID anchor);

  friend bool operator==(const ParagraphStyleAttributes&, const ParagraphStyleAttributes&) = default;

 private:
  AnchorID anchor_ = kAnchor_BottomCenter;
  TextAlignmentType alignment_ = kTextAlignment_Center;
  float lineHeightRatio_ = kDefaultLineHeightToTextRatio;
};

// Metadata of subtitle files in the EBU STL family.
class KELCAPTIONING_API STLMetadata : public kelcore::CountedObject {
 public:
  ~STLMetadata() override;
  StreamFormat GetDisplayStandardCode() const noexcept { return displayStandard_; }
  void SetDisplayStandardCode(StreamFormat code) noexcept { displayStandard_ = code; }

 private:
  StreamFormat displayStandard_ = kStreamFormat_Unknown;
};
using STLMetadataPtr = boost::intrusive_ptr<STLMetadata>;

// Per-list metadata, copied out and written back whole.
class KELCAPTIONING_API CaptioningMetadata {
 public:
  const STLMetadataPtr& GetSTLMetadata() const noexcept { return stl_; }
  void SetSTLMetadata(const STLMetadataPtr& stl) { stl_ = stl; }
  // 0 when not set.
  int GetMaxNumberOfRow() const noexcept { return maxRows_; }
  int GetMaxCharactersInRow() const noexcept { return maxCharacters_; }
  void SetMaxNumberOfRow(int rows) noexcept { maxRows_ = rows; }
  void SetMaxCharactersInRow(int characters) noexcept { maxCharacters_ = characters; }

 private:
  STLMetadataPtr stl_;
  int maxRows_ = 0;
  int maxCharacters_ = 0;
};

class KELCAPTIONING_API CaptionTextSpan : public kelcore::CountedObject {
 public:
  ~CaptionTextSpan() override;
  const kelcore::UTF16String& GetSpanText() const noexcept { return text_; }
  void SetCaptionText(const kelcore::UTF16String& text) { text_ = text; }
  TextSpanAttributes GetTextSpanStyleAttributes() const { return attributes_; }
  void SetTextSpanStyleAttributes(const TextSpanAttributes& a) { attributes_ = a; }

 private:
  kelcore::UTF16String text_;
  TextSpanAttributes attributes_;
};
using CaptionTextSpanPtr = boost::intrusive_ptr<CaptionTextSpan>;
using CaptionTextSpanList = std::vector<CaptionTextSpanPtr, kelcore::STLAllocator<CaptionTextSpanPtr>>;

// One line of a caption: spans left to right, a style, a position and its measured size.
class KELCAPTIONING_API CaptionTextParagraph : public kelcore::CountedObject {
 public:
  ~CaptionTextParagraph() override;
  void AppendCaptionTextSpan(const CaptionTextSpanPtr& span) { spans_.push_back(span); }
  CaptionTextSpanList GetCaptionTextSpans() const { return spans_; }
  // The spans' texts one after another.
  kelcore::UTF16String GetText() const;
  ParagraphStyleAttributes GetParagraphStyleAttributes() const noexcept { return style_; }
  void SetParagraphStyleAttributes(const ParagraphStyleAttributes& style) noexcept { style_ = style; }
  ParagraphStyleAttributes::TextAlignmentType GetTextAlignment() const noexcept { return style_.GetTextAlignment(); }
  Position GetCaptionPosition() const { return position_; }
  void SetCaptionPosition(const Position& p) { position_ = p; }
  // Pixels of the layout area for open captions; characters and rows for grid formats.
  int GetParagraphLineWidth() const noexcept { return lineWidth_; }
  int GetParagraphLineHeight() const noexcept { return lineHeight_; }
  void SetParagraphLineWidth(int w) noexcept { lineWidth_ = w; }
  void SetParagraphLineHeight(int h) noexcept { lineHeight_ = h; }

 private:
  CaptionTextSpanList spans_;
  ParagraphStyleAttributes style_;
  Position position_;
  int lineWidth_ = 0;
  int lineHeight_ = 0;
};
using CaptionTextParagraphPtr = boost::intrusive_ptr<CaptionTextParagraph>;
using CaptionTextParagraphList =
    std::vector<CaptionTextParagraphPtr, kelcore::STLAllocator<CaptionTextParagraphPtr>>;

enum CaptionType : std::int32_t {
  kCaptionType_Default = 0,
};

// One caption: its paragraphs, top to bottom, and when it shows.
class KELCAPTIONING_API Caption : public kelcore::CountedObject {
 public:
  ~Caption() override;
  void AppendCaptionTextParagraph(const CaptionTextParagraphPtr& paragraph) { paragraphs_.push_back(paragraph); }
  CaptionTextParagraphList GetCaptionTextParagraphs() const { return paragraphs_; }
  std::uint64_t GetNumParagraphs() const noexcept { return paragraphs_.size(); }
  // Null past the end.
  CaptionTextParagraphPtr GetCaptionTextParagraph(std::uint64_t index) const;

  kelmediatypes::TickTime GetBeginTime() const noexcept { return begin_; }
  kelmediatypes::TickTime GetEndTime() const noexcept { return end_; }
  void SetBeginTime(kelmediatypes::TickTime t) noexcept { begin_ = t; }
  void SetEndTime(kelmediatypes::TickTime t) noexcept { end_ = t; }
  CaptionType GetCaptionType() const noexcept { return type_; }
  void SetCaptionType(CaptionType type) noexcept { type_ = type; }

  // Grid formats: each paragraph's line width becomes the characters of its text, at most
  // `maxCharactersInRow` (or the format's columns when that is 0 or less), and its line height
  // one row, with the line count capped at `maxNumberOfRow` rows (or the format's rows).
  void UpdateLineWidthAndHeightFromText(StreamFormat format, int maxCharactersInRow, int maxNumberOfRow);

  // The text block that starts at paragraph `first`: it and the paragraphs after it with the
  // same anchor, stacked. `rect` gets the block's left (its leftmost line), top (the first
  // line's), width (to its rightmost line's end) and height (the sum of the line heights), in
  // pixels of an area of `areaWidth` x `areaHeight`; `last` gets the index of its last
  // paragraph. Past the end: an empty rectangle and `last` = `first`.
  void GetTextBlockRect(std::uint64_t first, int areaWidth, int areaHeight, kelcore::RectT<int>& rect,
                        std::uint64_t& last) const;

  // Places every anchored paragraph (anchors 0 to 8) in an area of `areaWidth` x `areaHeight`:
  // each block of paragraphs with one anchor is put at its anchor's corner, edge or centre, lines
  // stacked and aligned by their text alignment. Free paragraphs keep their positions. For grid
  // formats (sizes in characters and rows) the area is the format's grid. Returns whether a
  // position changed; false for an empty area.
  bool UpdatePositionsFromAnchorID(int areaWidth, int areaHeight, StreamFormat format);

 private:
  CaptionTextParagraphList paragraphs_;
  kelmediatypes::TickTime begin_;
  kelmediatypes::TickTime end_;
  CaptionType type_ = kCaptionType_Default;
};
using CaptionPtr = boost::intrusive_ptr<Caption>;
using CaptionVector = std::vector<CaptionPtr, kelcore::STLAllocator<CaptionPtr>>;

// The captions of one track, ordered by begin time.
class KELCAPTIONING_API CaptionList : public kelcore::CountedObject {
 public:
  ~CaptionList() override;
  StreamFormat GetStreamFormat() const noexcept { return format_; }
  void SetStreamFormat(StreamFormat format) noexcept { format_ = format; }
  bool GetIsWideScreen() const noexcept { return wideScreen_; }
  void SetIsWideScreen(bool wide) noexcept { wideScreen_ = wide; }
  CaptioningMetadata GetMetadata() const { return metadata_; }
  void SetMetadata(const CaptioningMetadata& metadata) { metadata_ = metadata; }
  CaptionVector GetCaptions() const { return captions_; }

  // Adds a caption after every caption that begins no later. Refused (false, list unchanged): a
  // null caption, one already in the list, one without paragraphs, or one that ends before it
  // begins.
  bool InsertCaption(const CaptionPtr& caption);

 private:
  StreamFormat format_ = kStreamFormat_Unknown;
  bool wideScreen_ = false;
  CaptioningMetadata metadata_;
  CaptionVector captions_;
};
using CaptionListPtr = boost::intrusive_ptr<CaptionList>;

}  // namespace kelcaptioning

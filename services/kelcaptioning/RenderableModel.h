#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include <boost/intrusive_ptr.hpp>

#include "kelcaptioning/CaptioningColor.h"
#include "kelcaptioning/Export.h"
#include "kelcaptioning/StreamFormat.h"
#include "kelcaptioning/TextAttributes.h"
#include "kelcaptioning/TextSpanAttributes.h"
#include "kelcore/Allocators.h"
#include "kelcore/Counted.h"
#include "kelcore/Geometry.h"
#include "kelcore/String.h"

// The render-ready caption model: what a decoder shows at one moment, as windows of either cell
// rows (grid formats) or open rows of styled spans (open-caption formats). A host or a reader
// builds it with the setters; the drawing reads it with the getters.

namespace kelcaptioning {

// The share of each frame dimension that captions are laid out in, unless a window says other.
inline constexpr float kDefaultCaptionAreaRatio = 0.8f;

// That share of a frame dimension in whole pixels, rounded half up in single precision.
inline int DefaultCaptionAreaSize(int frameSize) {
  return static_cast<int>(static_cast<float>(frameSize) * kDefaultCaptionAreaRatio + 0.5f);
}

// The character of a cell that stands for the closed-caption sign, which the drawing paints
// itself.
inline constexpr char32_t kCaptionSymbolCharacter = U'\u263A';

class CaptioningRenderableModelCell;
class CaptioningRenderableModelRow;
class CaptioningRenderableModelWindow;
class CaptioningRenderableOpenRow;
class CaptioningRenderableOpenSpan;

using CaptioningRenderableModelCellPtr = boost::intrusive_ptr<CaptioningRenderableModelCell>;
using CaptioningRenderableModelRowPtr = boost::intrusive_ptr<CaptioningRenderableModelRow>;
using CaptioningRenderableModelWindowPtr = boost::intrusive_ptr<CaptioningRenderableModelWindow>;
using CaptioningRenderableOpenRowPtr = boost::intrusive_ptr<CaptioningRenderableOpenRow>;
using CaptioningRenderableOpenSpanPtr = boost::intrusive_ptr<CaptioningRenderableOpenSpan>;

// Entries may be null: a null cell or row still takes its place in the grid.
using CellList = std::vector<CaptioningRenderableModelCellPtr, kelcore::STLAllocator<CaptioningRenderableModelCellPtr>>;
using RowList = std::vector<CaptioningRenderableModelRowPtr, kelcore::STLAllocator<CaptioningRenderableModelRowPtr>>;
// Open rows by their key (drawing order), spans by theirs (left to right).
using OpenRowMap = std::map<std::uint64_t, CaptioningRenderableOpenRowPtr, std::less<std::uint64_t>,
                            kelcore::STLAllocator<std::pair<const std::uint64_t, CaptioningRenderableOpenRowPtr>>>;
using OpenSpanMap = std::map<int, CaptioningRenderableOpenSpanPtr, std::less<int>,
                             kelcore::STLAllocator<std::pair<const int, CaptioningRenderableOpenSpanPtr>>>;

// One character cell of a grid row.
class KELCAPTIONING_API CaptioningRenderableModelCell : public kelcore::CountedObject {
 public:
  CaptioningRenderableModelCell() = default;
  CaptioningRenderableModelCell(char32_t character, const TextAttributes& attributes)
      : character_(character), attributes_(attributes) {}
  ~CaptioningRenderableModelCell() override;

  // A Unicode code point; kCaptionSymbolCharacter stands for the closed-caption symbol.
  char32_t GetCharacter() const noexcept { return character_; }
  TextAttributes GetTextAttributes() const noexcept { return attributes_; }

  void SetCharacter(char32_t c) noexcept { character_ = c; }
  void SetTextAttributes(const TextAttributes& a) noexcept { attributes_ = a; }

 private:
  char32_t character_ = U' ';
  TextAttributes attributes_;
};

// One row of a grid window: its cells, leftmost first.
class KELCAPTIONING_API CaptioningRenderableModelRow : public kelcore::CountedObject {
 public:
  ~CaptioningRenderableModelRow() override;

  CellList GetCells() const { return cells_; }
  void SetCells(CellList cells) { cells_ = std::move(cells); }
  void AppendCell(CaptioningRenderableModelCellPtr cell) { cells_.push_back(std::move(cell)); }

 private:
  CellList cells_;
};

// One styled span of an open row. Positions and sizes are in caption draw-area units.
class KELCAPTIONING_API CaptioningRenderableOpenSpan : public kelcore::CountedObject {
 public:
  ~CaptioningRenderableOpenSpan() override;

  const kelcore::UTF16String& GetText() const noexcept { return text_; }
  TextSpanAttributes GetTextSpanAttributes() const { return attributes_; }
  // Left edge relative to the row's horizontal start.
  int GetHorizontalStart() const noexcept { return horizontalStart_; }
  // Top relative to the row's vertical start.
  int GetVerticalStart() const noexcept { return verticalStart_; }
  int GetTextWidth() const noexcept { return textWidth_; }
  // The em size of the text (`emSize` true) or the height of the span's rectangle (false).
  int GetTextHeight(bool emSize) const noexcept { return emSize ? emSize_ : rectHeight_; }
  // The span's rectangle in draw-area units, for a row that starts at (rowHorizontalStart,
  // rowVerticalStart).
  kelcore::RectT<int> GetBounds(int rowHorizontalStart, int rowVerticalStart) const noexcept;

  void SetText(const kelcore::UTF16String& text) { text_ = text; }
  void SetTextSpanAttributes(const TextSpanAttributes& a) { attributes_ = a; }
  void SetHorizontalStart(int v) noexcept { horizontalStart_ = v; }
  void SetVerticalStart(int v) noexcept { verticalStart_ = v; }
  void SetTextWidth(int v) noexcept { textWidth_ = v; }
  void SetTextHeight(int emSize, int rectHeight) noexcept {
    emSize_ = emSize;
    rectHeight_ = rectHeight;
  }

 private:
  kelcore::UTF16String text_;
  TextSpanAttributes attributes_;
  int horizontalStart_ = 0;
  int verticalStart_ = 0;
  int textWidth_ = 0;
  int emSize_ = 0;
  int rectHeight_ = 0;
};

// One free row of an open-caption window. Values in caption draw-area units.
class KELCAPTIONING_API CaptioningRenderableOpenRow : public kelcore::CountedObject {
 public:
  ~CaptioningRenderableOpenRow() override;

  void GetOpenSpans(OpenSpanMap& spans) const { spans = spans_; }
  int GetHorizontalStart() const noexcept { return horizontalStart_; }
  int GetVerticalStart() const noexcept { return verticalStart_; }
  int GetLineHeight() const noexcept { return lineHeight_; }
  // Inset between the row's edges and its text, the same on both sides.
  int GetHorizontalTextOffset() const noexcept { return textOffset_; }
  // Width including both insets.
  int GetRowWidth() const noexcept { return rowWidth_; }

  void SetOpenSpan(int key, CaptioningRenderableOpenSpanPtr span) { spans_[key] = std::move(span); }
  void SetHorizontalStart(int v) noexcept { horizontalStart_ = v; }
  void SetVerticalStart(int v) noexcept { verticalStart_ = v; }
  void SetLineHeight(int v) noexcept { lineHeight_ = v; }
  void SetHorizontalTextOffset(int v) noexcept { textOffset_ = v; }
  void SetRowWidth(int v) noexcept { rowWidth_ = v; }

 private:
  OpenSpanMap spans_;
  int horizontalStart_ = 0;
  int verticalStart_ = 0;
  int lineHeight_ = 0;
  int textOffset_ = 0;
  int rowWidth_ = 0;
};

// One caption window: a grid of cell rows, or open rows, with a fill colour and a placement.
class KELCAPTIONING_API CaptioningRenderableModelWindow : public kelcore::CountedObject {
 public:
  // The corner, edge midpoint or centre of the window that sits at its anchor point.
  using AnchorID = kelcaptioning::AnchorID;
  using enum kelcaptioning::AnchorID;

  ~CaptioningRenderableModelWindow() override;

  bool GetVisible() const noexcept { return visible_; }
  const CaptioningColor& GetFillColor() const noexcept { return fill_; }
  // Fraction of the frame's width and height that the captions area keeps, centred.
  float GetCaptionsAreaRatio() const noexcept { return areaRatio_; }
  AnchorID GetAnchorID() const noexcept { return anchor_; }
  int GetRowCount() const noexcept { return rowCount_; }
  int GetColumnCount() const noexcept { return columnCount_; }
  RowList GetRows() const { return rows_; }
  void GetOpenRows(OpenRowMap& rows) const { rows = openRows_; }
  // Size of the caption draw area (model units of the open rows).
  kelcore::PointT<int> GetCaptionDrawAreaSize() const noexcept { return drawAreaSize_; }

  void SetVisible(bool v) noexcept { visible_ = v; }
  void SetFillColor(const CaptioningColor& c) noexcept { fill_ = c; }
  void SetCaptionsAreaRatio(float r) noexcept { areaRatio_ = r; }
  void SetAnchorID(AnchorID a) noexcept { anchor_ = a; }
  void SetRowCount(int v) noexcept { rowCount_ = v; }
  void SetColumnCount(int v) noexcept { columnCount_ = v; }
  void SetRows(RowList rows) { rows_ = std::move(rows); }
  void AppendRow(CaptioningRenderableModelRowPtr row) { rows_.push_back(std::move(row)); }
  void SetOpenRow(std::uint64_t key, CaptioningRenderableOpenRowPtr row) { openRows_[key] = std::move(row); }
  void SetCaptionDrawAreaSize(kelcore::PointT<int> size) noexcept { drawAreaSize_ = size; }

 private:
  bool visible_ = true;
  CaptioningColor fill_ = kCaptioningColor_Transparent;
  float areaRatio_ = kDefaultCaptionAreaRatio;
  AnchorID anchor_ = kAnchor_TopLeft;
  int rowCount_ = 0;
  int columnCount_ = 0;
  RowList rows_;
  OpenRowMap openRows_;
  kelcore::PointT<int> drawAreaSize_{};
};

// The whole render-ready model of one moment.
class KELCAPTIONING_API CaptioningRenderableModel : public kelcore::CountedObject {
 public:
  // A model of `format` whose grid size is the format's (GetCaptionRows / GetCaptionColumns).
  explicit CaptioningRenderableModel(StreamFormat format = kStreamFormat_CEA608_CC1);
  ~CaptioningRenderableModel() override;

  // Window numbers in drawing order; later windows paint over earlier ones. A number may name no
  // window.
  void GetWindowRenderOrder(std::vector<int>& order) const { order = renderOrder_; }
  // The window of that number, or null.
  CaptioningRenderableModelWindowPtr GetWindow(int windowNumber) const;
  StreamFormat GetStreamFormat() const noexcept { return format_; }
  int GetMaxRows() const noexcept { return maxRows_; }
  int GetMaxColumns() const noexcept { return maxColumns_; }

  // Replaces the window of that number (a null window removes it). The render order is separate:
  // SetWindow does not add to it.
  void SetWindow(int windowNumber, CaptioningRenderableModelWindowPtr window);
  void SetWindowRenderOrder(std::vector<int> order) { renderOrder_ = std::move(order); }
  // Sets the window and appends its number to the render order.
  void AddWindow(int windowNumber, CaptioningRenderableModelWindowPtr window);
  void SetStreamFormat(StreamFormat format) noexcept { format_ = format; }
  void SetMaxRows(int v) noexcept { maxRows_ = v; }
  void SetMaxColumns(int v) noexcept { maxColumns_ = v; }

 private:
  using WindowMap = std::map<int, CaptioningRenderableModelWindowPtr, std::less<int>,
                             kelcore::STLAllocator<std::pair<const int, CaptioningRenderableModelWindowPtr>>>;
  StreamFormat format_;
  int maxRows_;
  int maxColumns_;
  std::vector<int> renderOrder_;
  WindowMap windows_;
};

using CaptioningRenderableModelPtr = boost::intrusive_ptr<CaptioningRenderableModel>;

}  // namespace kelcaptioning

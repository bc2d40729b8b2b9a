#include "kelcaptioning/RenderableFromCaption.h"

#include <algorithm>

#include "kelcaptioning/Formats.h"
#include "Fractions.h"

namespace kelcaptioning {

namespace {

// A float of the caption (a font size, a margin) in whole draw-area units: half rounds up.
int WholeUnits(float v) { return ClampToInt(static_cast<double>(v + 0.5f)); }

TextAttributes CellAttributes(const TextSpanAttributes& span) {
  TextAttributes cell;
  cell.SetForegroundColor(span.GetForegroundColor());
  cell.SetBackgroundColor(span.GetBackgroundColor());
  cell.SetTextEdge(span.GetTextEdge());
  cell.SetUnderlined(span.IsUnderlined());
  cell.SetItalic(span.GetFontStyle() == kFontStyle_Italic || span.GetFontStyle() == kFontStyle_BoldItalic);
  return cell;
}

void AddGridParagraph(const CaptionTextParagraph& paragraph, int rows, int columns, RowList& grid) {
  const int row = FractionOfSize(paragraph.GetCaptionPosition().GetY(), rows);
  int column = FractionOfSize(paragraph.GetCaptionPosition().GetX(), columns);
  if (row < 0 || row >= rows) return;
  CaptioningRenderableModelRowPtr& target = grid[static_cast<std::size_t>(row)];
  if (!target) target = CaptioningRenderableModelRowPtr(new CaptioningRenderableModelRow());
  CellList cells = target->GetCells();
  for (const CaptionTextSpanPtr& span : paragraph.GetCaptionTextSpans()) {
    if (!span) continue;
    const TextAttributes attributes = CellAttributes(span->GetTextSpanStyleAttributes());
    for (char16_t unit : span->GetSpanText()) {
      if (column >= columns) break;
      if (column >= 0) {
        if (cells.size() <= static_cast<std::size_t>(column)) cells.resize(static_cast<std::size_t>(column) + 1);
        cells[static_cast<std::size_t>(column)] =
            CaptioningRenderableModelCellPtr(new CaptioningRenderableModelCell(unit, attributes));
      }
      ++column;
    }
  }
  target->SetCells(cells);
}

CaptioningRenderableOpenRowPtr OpenRow(const CaptionTextParagraph& paragraph, int areaWidth, int areaHeight) {
  CaptioningRenderableOpenRowPtr row(new CaptioningRenderableOpenRow());
  row->SetHorizontalStart(FractionOfSize(paragraph.GetCaptionPosition().GetX(), areaWidth));
  row->SetVerticalStart(FractionOfSize(paragraph.GetCaptionPosition().GetY(), areaHeight));
  row->SetLineHeight(paragraph.GetParagraphLineHeight());
  float largest = 0.0f;
  int key = 0;
  for (const CaptionTextSpanPtr& span : paragraph.GetCaptionTextSpans()) {
    if (!span) continue;
    const TextSpanAttributes attributes = span->GetTextSpanStyleAttributes();
    largest = std::max(largest, attributes.GetFontSize());
    CaptioningRenderableOpenSpanPtr open(new CaptioningRenderableOpenSpan());
    open->SetText(span->GetSpanText());
    open->SetTextSpanAttributes(attributes);
    open->SetTextHeight(WholeUnits(attributes.GetFontSize()), paragraph.GetParagraphLineHeight());
    row->SetOpenSpan(key++, open);
  }
  // The side margin the size refresh adds: an eighth of the largest size on each side.
  row->SetHorizontalTextOffset(WholeUnits(largest * 0.125f));
  return row;
}

}  // namespace

CaptioningRenderableModelPtr MakeRenderableModel(StreamFormat format, const std::vector<const Caption*>& captions,
                                                 int areaWidth, int areaHeight, float areaRatio) {
  if (!IsOpenCaptions(format)) {
    const int rows = GetCaptionRows(format), columns = GetCaptionColumns(format);
    RowList grid(static_cast<std::size_t>(std::max(rows, 0)));
    for (const Caption* caption : captions) {
      if (!caption) continue;
      for (const CaptionTextParagraphPtr& paragraph : caption->GetCaptionTextParagraphs()) {
        if (paragraph) AddGridParagraph(*paragraph, rows, columns, grid);
      }
    }
    return MakeGridModel(format, std::move(grid), areaRatio);
  }
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(format));
  CaptioningRenderableModelWindowPtr window(new CaptioningRenderableModelWindow());
  window->SetFillColor(kCaptioningColor_Transparent);
  window->SetCaptionsAreaRatio(areaRatio);
  window->SetCaptionDrawAreaSize({areaWidth, areaHeight});
  std::uint64_t key = 0;
  for (const Caption* caption : captions) {
    if (!caption) continue;
    for (const CaptionTextParagraphPtr& paragraph : caption->GetCaptionTextParagraphs()) {
      if (paragraph) window->SetOpenRow(key++, OpenRow(*paragraph, areaWidth, areaHeight));
    }
  }
  model->AddWindow(0, window);
  return model;
}

CaptioningRenderableModelPtr MakeGridModel(StreamFormat format, RowList rows, float areaRatio) {
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(format));
  CaptioningRenderableModelWindowPtr window(new CaptioningRenderableModelWindow());
  window->SetFillColor(kCaptioningColor_Transparent);
  window->SetCaptionsAreaRatio(areaRatio);
  window->SetAnchorID(CaptioningRenderableModelWindow::kAnchor_TopLeft);
  window->SetRowCount(model->GetMaxRows());
  window->SetColumnCount(model->GetMaxColumns());
  window->SetRows(std::move(rows));
  model->AddWindow(0, window);
  return model;
}

CaptioningRenderableModelPtr MakeRenderableModel(StreamFormat format, const Caption& caption, int areaWidth,
                                                 int areaHeight, float areaRatio) {
  return MakeRenderableModel(format, std::vector<const Caption*>{&caption}, areaWidth, areaHeight, areaRatio);
}

std::vector<const Caption*> CaptionsShowingAt(const CaptionVector& captions, kelmediatypes::TickTime time) {
  std::vector<const Caption*> showing;
  for (const CaptionPtr& caption : captions) {
    if (caption && caption->GetBeginTime() <= time && time < caption->GetEndTime()) showing.push_back(caption.get());
  }
  return showing;
}

CaptioningRenderableModelPtr MakeRenderableModelAt(const CaptionList& list, kelmediatypes::TickTime time,
                                                   int areaWidth, int areaHeight, float areaRatio) {
  const CaptionVector captions = list.GetCaptions();
  return MakeRenderableModel(list.GetStreamFormat(), CaptionsShowingAt(captions, time), areaWidth, areaHeight,
                             areaRatio);
}

}  // namespace kelcaptioning

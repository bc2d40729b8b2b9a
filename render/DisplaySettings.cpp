#include "kelcaptioningui/CaptionDisplaySettings.h"

#include <set>
#include <vector>

#include "grid/CellFont.h"
#include "kelcaptioning/Formats.h"
#include "kelcore/String.h"
#include "open/OpenRowResizing.h"
#include "render/ModelCopy.h"

namespace kelcaptioningui {

namespace {

using namespace kelcaptioning;

// `textScale` is the size setting, 0 for none.
void RestyleCells(const CaptioningRenderableModelWindow& window, const CaptionDisplaySettings& settings,
                  float textScale) {
  for (const CaptioningRenderableModelRowPtr& row : window.GetRows()) {
    if (!row) continue;
    for (const CaptioningRenderableModelCellPtr& cell : row->GetCells()) {
      if (!cell) continue;
      TextAttributes a = cell->GetTextAttributes();
      a.SetForegroundColor(settings.text.Over(a.GetForegroundColor()));
      a.SetBackgroundColor(settings.background.Over(a.GetBackgroundColor()));
      if (settings.fontFamily) a.SetGenericFontFamilyID(*settings.fontFamily);
      if (textScale > 0.0f) a.SetTextSize(NearestTextSize(textScale));
      if (settings.edge) a.SetTextEdge(*settings.edge);
      cell->SetTextAttributes(a);
    }
  }
}

void RestyleSpans(const CaptioningRenderableModelWindow& window, const CaptionDisplaySettings& settings) {
  const kelcore::UTF16String face =
      settings.fontFamily ? kelcore::string::AsciiToUTF16(CellFaceName(*settings.fontFamily)) : kelcore::UTF16String();
  OpenRowMap rows;
  window.GetOpenRows(rows);
  OpenSpanMap spans;
  for (const auto& [rowKey, row] : rows) {
    if (!row) continue;
    row->GetOpenSpans(spans);
    for (const auto& [spanKey, span] : spans) {
      if (!span) continue;
      TextSpanAttributes a = span->GetTextSpanAttributes();
      a.SetForegroundColor(settings.text.Over(a.GetForegroundColor()));
      a.SetBackgroundColor(settings.background.Over(a.GetBackgroundColor()));
      if (settings.fontFamily) a.SetFontName(face);
      if (settings.edge) a.SetTextEdge(*settings.edge);
      if (settings.edgeColor) a.SetForegroundEdgeColor(*settings.edgeColor);
      span->SetTextSpanAttributes(a);
    }
  }
}

void ApplyToOpenWindow(const CaptioningRenderableModelWindowPtr& window, const CaptionDisplaySettings& settings,
                       float textScale, kelui::inkpad::Inkpad* inkpad) {
  const float scale = textScale > 0.0f ? textScale : kCaptionTextStandard;
  const bool resized = scale != kCaptionTextStandard || settings.fontFamily.has_value();
  OpenRowPlaces before;
  if (resized) before = MeasureOpenRowPlaces(window, inkpad);
  RestyleSpans(*window, settings);
  if (scale != kCaptionTextStandard) ScaleOpenRowText(window, scale);
  if (resized) PlaceResizedOpenRows(window, before, inkpad);
}

}  // namespace

CaptioningRenderableModelPtr ApplyCaptionDisplaySettings(const CaptioningRenderableModelPtr& model,
                                                         const CaptionDisplaySettings& settings,
                                                         kelui::inkpad::Inkpad* inkpad) {
  if (!model) return nullptr;
  const CaptioningRenderableModelPtr copy = CopyModel(*model);
  // A ratio of 0 or less, or not a number, would make text vanish: such a size is not applied.
  const float textScale = settings.textSize && *settings.textSize > 0.0f ? *settings.textSize : 0.0f;
  const bool open = IsOpenCaptions(copy->GetStreamFormat());
  std::vector<int> order;
  copy->GetWindowRenderOrder(order);
  std::set<int> done;  // a number may stand twice in the order
  for (const int number : order) {
    const CaptioningRenderableModelWindowPtr window = copy->GetWindow(number);
    if (!window || !done.insert(number).second) continue;
    window->SetFillColor(settings.window.Over(window->GetFillColor()));
    if (open) {
      ApplyToOpenWindow(window, settings, textScale, inkpad);
    } else {
      RestyleCells(*window, settings, textScale);
    }
  }
  return copy;
}

}  // namespace kelcaptioningui

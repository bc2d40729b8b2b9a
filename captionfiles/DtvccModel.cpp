#include "captionfiles/DtvccModel.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kelcaptionfiles {

using namespace kelcaptioning;

CaptioningColor ModelColorOf(const DtvccColor& color) {
  const float alpha = color.opacity == DtvccOpacity::Transparent   ? kAlphaValue_Transparent
                      : color.opacity == DtvccOpacity::Translucent ? 0.5f
                                                                   : kAlphaValue_Opaque;
  return {static_cast<float>(color.red) / 3.0f, static_cast<float>(color.green) / 3.0f,
          static_cast<float>(color.blue) / 3.0f, alpha};
}

TextAttributes ModelAttributesOf(const DtvccPen& pen, const DtvccColor& fill) {
  TextAttributes a;
  a.SetForegroundColor(ModelColorOf(pen.foreground));
  a.SetBackgroundColor(ModelColorOf(pen.background.opacity == DtvccOpacity::Transparent ? fill : pen.background));
  a.SetTextSize(static_cast<TextSize>(pen.size));
  // The pen counts offsets from subscript up, the model from superscript down.
  a.SetTextOffset(static_cast<TextOffset>(2 - pen.offset));
  a.SetGenericFontFamilyID(static_cast<GenericFontFamilyID>(pen.fontStyle));
  a.SetTextEdge(static_cast<TextEdge>(pen.edgeType));
  a.SetItalic(pen.italics);
  a.SetUnderlined(pen.underline);
  return a;
}

namespace {

// A model colour as the nearest digital-TV colour.
DtvccColor DtvccColorOf(const CaptioningColor& color) {
  const auto level = [](float value) { return static_cast<std::uint8_t>(std::clamp(std::lround(value * 3.0f), 0L, 3L)); };
  const DtvccOpacity opacity = color.Alpha() <= kAlphaValue_Transparent ? DtvccOpacity::Transparent
                               : color.Alpha() < 0.75f                  ? DtvccOpacity::Translucent
                                                                        : DtvccOpacity::Solid;
  return {level(color.Red()), level(color.Green()), level(color.Blue()), opacity};
}

DtvccPen PenOf(const TextAttributes& a) {
  DtvccPen pen;
  pen.foreground = DtvccColorOf(a.GetForegroundColor());
  pen.background = DtvccColorOf(a.GetBackgroundColor());
  pen.size = static_cast<std::uint8_t>(std::clamp<int>(a.GetTextSize(), DtvccPen::kSmall, DtvccPen::kLarge));
  pen.offset = static_cast<std::uint8_t>(2 - std::clamp<int>(a.GetTextOffset(), 0, 2));
  pen.fontStyle = static_cast<std::uint8_t>(std::clamp<int>(a.GetGenericFontFamilyID(), 0, 7));
  pen.edgeType = static_cast<std::uint8_t>(std::clamp<int>(a.GetTextEdge(), DtvccPen::kNoEdge, DtvccPen::kRightDropShadow));
  pen.italics = a.IsItalic();
  pen.underline = a.IsUnderlined();
  return pen;
}

// An empty cell of a filled window: a space with nothing set but the fill behind it.
bool IsFillCell(const CaptioningRenderableModelCell& cell) {
  TextAttributes fill;
  fill.SetBackgroundColor(cell.GetTextAttributes().GetBackgroundColor());
  return cell.GetCharacter() == U' ' && cell.GetTextAttributes() == fill;
}

std::optional<DtvccShownWindow> ShownWindowOf(int id, const CaptioningRenderableModelWindow& window, int gridColumns) {
  const RowList rows = window.GetRows();
  const int rowCount = std::min(static_cast<int>(rows.size()), DtvccDecoder::kGridRows);
  const auto cellsOf = [&rows](int r) { return rows[static_cast<std::size_t>(r)] ? rows[static_cast<std::size_t>(r)]->GetCells() : CellList{}; };
  int top = rowCount, left = gridColumns, right = std::min(window.GetColumnCount(), gridColumns);
  for (int r = 0; r < rowCount; ++r) {
    const CellList cells = cellsOf(r);
    const auto first = std::find_if(cells.begin(), cells.end(), [](const auto& cell) { return cell != nullptr; });
    if (first == cells.end()) continue;
    top = std::min(top, r);
    left = std::min(left, static_cast<int>(first - cells.begin()));
    right = std::max(right, std::min(static_cast<int>(cells.size()), gridColumns));
  }
  if (top == rowCount || left >= right) return std::nullopt;
  DtvccShownWindow shown{id, std::clamp<int>(window.GetAnchorID(), 0, 8), top, left, rowCount - top, right - left,
                         DtvccColorOf(window.GetFillColor()), {}};
  // Only a window whose every cell is there can be filled; elsewhere a fill cell is a space.
  bool covered = true;
  for (int r = top; r < rowCount && covered; ++r) {
    const CellList cells = cellsOf(r);
    covered = static_cast<int>(cells.size()) >= right &&
              std::all_of(cells.begin() + left, cells.begin() + right, [](const auto& cell) { return cell != nullptr; });
  }
  shown.text.assign(static_cast<std::size_t>(shown.rows), std::vector<DtvccCell>(static_cast<std::size_t>(shown.columns)));
  for (int r = 0; r < shown.rows; ++r) {
    const CellList cells = cellsOf(top + r);
    for (int c = 0; c < shown.columns && left + c < static_cast<int>(cells.size()); ++c) {
      const CaptioningRenderableModelCellPtr& cell = cells[static_cast<std::size_t>(left + c)];
      if (!cell) continue;
      if (covered && IsFillCell(*cell)) {
        shown.fill = DtvccColorOf(cell->GetTextAttributes().GetBackgroundColor());
      } else {
        shown.text[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = {cell->GetCharacter(),
                                                                                PenOf(cell->GetTextAttributes())};
      }
    }
  }
  return shown;
}

}  // namespace

DtvccScreen ScreenOfModel(const CaptioningRenderableModel& model, int gridColumns) {
  std::vector<int> order;
  model.GetWindowRenderOrder(order);
  DtvccScreen screen;
  for (int id : order) {
    const CaptioningRenderableModelWindowPtr window = model.GetWindow(id);
    if (id < 0 || id > 7 || !window || !window->GetVisible()) continue;
    if (std::optional<DtvccShownWindow> shown = ShownWindowOf(id, *window, gridColumns)) screen.push_back(std::move(*shown));
  }
  return screen;
}

DtvccModelMaker::DtvccModelMaker(int gridColumns) : gridColumns_(gridColumns) {}

CaptioningRenderableModelPtr DtvccModelMaker::Make(const DtvccScreen& screen) {
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(kStreamFormat_CEA708));
  model->SetMaxColumns(gridColumns_);
  std::vector<MadeRow> made;
  for (const DtvccShownWindow& shown : screen) {
    CaptioningRenderableModelWindowPtr window(new CaptioningRenderableModelWindow());
    window->SetAnchorID(static_cast<AnchorID>(shown.anchorPoint));
    window->SetFillColor(kCaptioningColor_Transparent);
    window->SetRowCount(0);
    window->SetColumnCount(shown.left + shown.columns);
    RowList rows(static_cast<std::size_t>(shown.top + shown.rows));
    for (int r = 0; r < shown.rows; ++r) {
      MadeRow row{shown.left, shown.fill, shown.text[static_cast<std::size_t>(r)], nullptr};
      row.row = RowOf(row);
      rows[static_cast<std::size_t>(shown.top + r)] = row.row;
      if (row.row) made.push_back(std::move(row));
    }
    window->SetRows(std::move(rows));
    model->AddWindow(shown.id, window);
  }
  previous_ = std::move(made);
  return model;
}

CaptioningRenderableModelRowPtr DtvccModelMaker::RowOf(const MadeRow& wanted) const {
  for (const MadeRow& before : previous_) {
    if (before.left == wanted.left && before.fill == wanted.fill && before.text == wanted.text) return before.row;
  }
  const bool filled = wanted.fill.opacity != DtvccOpacity::Transparent;
  if (!filled && std::all_of(wanted.text.begin(), wanted.text.end(), [](const DtvccCell& c) { return c.Empty(); })) {
    return nullptr;
  }
  TextAttributes fillCell;
  fillCell.SetBackgroundColor(ModelColorOf(wanted.fill));
  CellList cells(static_cast<std::size_t>(wanted.left) + wanted.text.size());
  for (std::size_t c = 0; c < wanted.text.size(); ++c) {
    const DtvccCell& cell = wanted.text[c];
    CaptioningRenderableModelCellPtr& made = cells[static_cast<std::size_t>(wanted.left) + c];
    if (!cell.Empty()) {
      made = new CaptioningRenderableModelCell(cell.character, ModelAttributesOf(cell.pen, wanted.fill));
    } else if (filled) {
      made = new CaptioningRenderableModelCell(U' ', fillCell);
    }
  }
  CaptioningRenderableModelRowPtr row(new CaptioningRenderableModelRow());
  row->SetCells(std::move(cells));
  return row;
}

}  // namespace kelcaptionfiles

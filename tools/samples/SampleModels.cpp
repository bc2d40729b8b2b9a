#include "samples/SampleModels.h"

#include <string_view>

#include "kelcore/String.h"

namespace kelcaption {

using namespace kelcaptioning;

namespace {

CaptioningRenderableModelRowPtr MakeRow(std::u32string_view text, const TextAttributes& attributes) {
  CaptioningRenderableModelRowPtr row(new CaptioningRenderableModelRow());
  for (char32_t c : text)
    row->AppendCell(CaptioningRenderableModelCellPtr(new CaptioningRenderableModelCell(c, attributes)));
  return row;
}

CaptioningRenderableModelWindowPtr MakeGridWindow(CaptioningRenderableModelWindow::AnchorID anchor, int rowCount,
                                                  int columnCount, const CaptioningColor& fill) {
  CaptioningRenderableModelWindowPtr window(new CaptioningRenderableModelWindow());
  window->SetAnchorID(anchor);
  window->SetRowCount(rowCount);
  window->SetColumnCount(columnCount);
  window->SetFillColor(fill);
  return window;
}

// A row of `text` padded with cells of `padding` to `columns`.
CaptioningRenderableModelRowPtr PaddedRow(std::u32string_view text, const TextAttributes& attributes, int columns,
                                          const TextAttributes& padding) {
  CaptioningRenderableModelRowPtr row = MakeRow(text, attributes);
  for (int c = static_cast<int>(text.size()); c < columns; ++c) {
    row->AppendCell(CaptioningRenderableModelCellPtr(new CaptioningRenderableModelCell(U' ', padding)));
  }
  return row;
}

TextAttributes Invisible() {
  TextAttributes a;
  a.SetForegroundColor(kCaptioningColor_Transparent);
  a.SetBackgroundColor(kCaptioningColor_Transparent);
  return a;
}

TextAttributes Colours(const CaptioningColor& foreground, const CaptioningColor& background) {
  TextAttributes a;
  a.SetForegroundColor(foreground);
  a.SetBackgroundColor(background);
  return a;
}

}  // namespace

CaptioningRenderableModelPtr MakeGridShowcase() {
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(kStreamFormat_CEA608_CC1));
  CaptioningRenderableModelWindowPtr window =
      MakeGridWindow(CaptioningRenderableModelWindow::kAnchor_TopLeft, 15, 32, CaptioningColor(0.3f, 0.3f, 0.3f, 0.6f));
  const TextAttributes none = Invisible();
  const CaptioningColor black = kCaptioningColor_Black;

  // Row 0: the symbol and the font families.
  CaptioningRenderableModelRowPtr families(new CaptioningRenderableModelRow());
  const TextAttributes symbol = Colours(CaptioningColor(1, 1, 1), black);
  families->AppendCell(CaptioningRenderableModelCellPtr(new CaptioningRenderableModelCell(U'\u263A', symbol)));
  const std::u32string_view names[] = {U" Aa", U" Cc", U" Tt", U" Ll", U" Aa", U" Ss", U" Sc"};
  for (int family = 1; family <= 7; ++family) {
    TextAttributes a = Colours(CaptioningColor(1, 1, 1), black);
    a.SetGenericFontFamilyID(static_cast<GenericFontFamilyID>(family));
    for (char32_t c : names[family - 1]) {
      families->AppendCell(CaptioningRenderableModelCellPtr(new CaptioningRenderableModelCell(c, a)));
    }
  }
  window->AppendRow(families);

  window->AppendRow(PaddedRow(U"White on opaque black, 32 cols.", Colours(CaptioningColor(1, 1, 1), black), 32, none));
  window->AppendRow(PaddedRow(U"Red on see-through blue",
                              Colours(CaptioningColor(1, 0.2f, 0.2f), CaptioningColor(0, 0, 1, 0.5f)), 32, none));
  TextAttributes italic = Colours(CaptioningColor(1, 1, 0), black);
  italic.SetItalic(true);
  window->AppendRow(PaddedRow(U"Italic yellow text", italic, 32, none));
  TextAttributes underlined = Colours(CaptioningColor(0, 1, 1), black);
  underlined.SetUnderlined(true);
  window->AppendRow(PaddedRow(U"Underlined cyan, spaces too", underlined, 32, none));
  for (int size = 0; size < 3; ++size) {
    TextAttributes a = Colours(CaptioningColor(1, 1, 1), black);
    a.SetTextSize(static_cast<TextSize>(size));
    const std::u32string_view text[] = {U"Small text size", U"Standard text size", U"Large text size"};
    window->AppendRow(PaddedRow(text[size], a, 32, none));
  }

  // Row 8: super- and subscript.
  CaptioningRenderableModelRowPtr offsets(new CaptioningRenderableModelRow());
  const std::pair<char32_t, int> marked[] = {{U'x', 1}, {U'2', 0}, {U' ', 1}, {U'+', 1}, {U' ', 1}, {U'H', 1},
                                             {U'2', 2}, {U'O', 1}, {U' ', 1}, {U'e', 1}, {U'n', 0}, {U'd', 2}};
  for (const auto& [c, offset] : marked) {
    TextAttributes a = Colours(CaptioningColor(1, 1, 1), black);
    a.SetTextOffset(static_cast<TextOffset>(offset));
    offsets->AppendCell(CaptioningRenderableModelCellPtr(new CaptioningRenderableModelCell(c, a)));
  }
  window->AppendRow(offsets);

  // Rows 9 to 13: the edge styles, blue text so that white and black copies both show.
  for (int edge = 1; edge <= 5; ++edge) {
    TextAttributes a = Colours(CaptioningColor(0.2f, 0.4f, 1), CaptioningColor(0.5f, 0.5f, 0.5f));
    a.SetTextEdge(static_cast<TextEdge>(edge));
    const std::u32string_view text[] = {U"Edge 1 raised", U"Edge 2 depressed", U"Edge 3 uniform", U"Edge 4 left shadow",
                                        U"Edge 5 right shadow"};
    window->AppendRow(PaddedRow(text[edge - 1], a, 32, none));
  }

  // Row 13 again, from column 20: cells two rows tall over row 14.
  CaptioningRenderableModelRowPtr tall = window->GetRows().back();
  TextAttributes twoRows = Colours(CaptioningColor(1, 0.6f, 0), CaptioningColor(0.1f, 0.1f, 0.4f));
  twoRows.SetRowsUsed(2);
  CellList cells = tall->GetCells();
  const std::u32string_view big = U"TALL";
  for (std::size_t i = 0; i < big.size(); ++i) {
    cells[22 + i] = CaptioningRenderableModelCellPtr(new CaptioningRenderableModelCell(big[i], twoRows));
  }
  tall->SetCells(cells);
  window->AppendRow(PaddedRow(U"Row 14 under the tall cells", Colours(CaptioningColor(1, 1, 1), black), 22, none));
  model->AddWindow(0, window);
  return model;
}

CaptioningRenderableModelPtr MakeTypicalGridFrame() {
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(kStreamFormat_CEA608_CC1));
  CaptioningRenderableModelWindowPtr window =
      MakeGridWindow(CaptioningRenderableModelWindow::kAnchor_BottomCenter, 4, 32, kCaptioningColor_Transparent);
  const TextAttributes plain = Colours(CaptioningColor(1, 1, 1), kCaptioningColor_Black);
  window->AppendRow(MakeRow(U"THE QUICK BROWN FOX JUMPS OVER ", plain));
  window->AppendRow(MakeRow(U"THE LAZY DOG WHILE THE CAPTION ", plain));
  window->AppendRow(MakeRow(U"ENCODER KEEPS UP WITH THE VOICE", plain));
  window->AppendRow(MakeRow(U">> AND THE FOURTH ROW ENDS HERE.", plain));
  model->AddWindow(0, window);
  return model;
}

CaptioningRenderableModelPtr MakeFullEdgedGrid() {
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(kStreamFormat_CEA608_CC1));
  CaptioningRenderableModelWindowPtr window =
      MakeGridWindow(CaptioningRenderableModelWindow::kAnchor_TopLeft, 15, 32, kCaptioningColor_Transparent);
  TextAttributes edged = Colours(CaptioningColor(1, 1, 1), kCaptioningColor_Black);
  edged.SetTextEdge(kTextEdge_Uniform);
  for (int r = 0; r < 15; ++r) window->AppendRow(MakeRow(U"0123456789ABCDEFGHIJKLMNOPQRSTUV", edged));
  model->AddWindow(0, window);
  return model;
}

CaptioningRenderableModelPtr MakeOpenModel(const std::vector<SampleLine>& lines, kelcore::PointT<int> drawArea,
                                           float areaRatio) {
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(kStreamFormat_OpenCaptions));
  CaptioningRenderableModelWindowPtr window(new CaptioningRenderableModelWindow());
  window->SetCaptionsAreaRatio(areaRatio);
  window->SetCaptionDrawAreaSize(drawArea);
  window->SetFillColor(kCaptioningColor_Transparent);
  std::uint64_t rowKey = 0;
  for (const SampleLine& line : lines) {
    CaptioningRenderableOpenRowPtr row(new CaptioningRenderableOpenRow());
    row->SetHorizontalStart(line.x);
    row->SetVerticalStart(line.y);
    row->SetLineHeight(line.lineHeight);
    row->SetHorizontalTextOffset(line.textOffset);
    int spanKey = 0;
    for (const SampleSpan& sample : line.spans) {
      CaptioningRenderableOpenSpanPtr span(new CaptioningRenderableOpenSpan());
      span->SetText(kelcore::string::UTF8ToUTF16(sample.utf8));
      span->SetTextSpanAttributes(sample.attributes);
      span->SetTextHeight(sample.emSize, line.lineHeight);
      row->SetOpenSpan(spanKey++, span);
    }
    window->SetOpenRow(rowKey++, row);
  }
  model->AddWindow(0, window);
  return model;
}

TextSpanAttributes SpanStyle(const CaptioningColor& foreground, const CaptioningColor& background, TextEdge edge,
                             float edgeWidth, const char* face, FontStyle style) {
  TextSpanAttributes a;
  a.SetForegroundColor(foreground);
  a.SetBackgroundColor(background);
  a.SetForegroundEdgeColor(kCaptioningColor_Black);
  a.SetTextEdge(edge);
  a.SetTextEdgeWidth(edgeWidth);
  a.SetFontName(kelcore::string::AsciiToUTF16(face));
  a.SetFontStyle(style);
  return a;
}

CaptioningRenderableModelPtr MakeSubtitleSample() {
  const TextSpanAttributes outlined =
      SpanStyle(kCaptioningColor_White, kCaptioningColor_Transparent, kTextEdge_Uniform, 4.0f);
  return MakeOpenModel({{{{"Every frame of this clip carries its text", outlined}}, 380, 860},
                        {{{"drawn with an outline, burnt into pixels.", outlined}}, 380, 940}},
                       {1920, 1080}, 0.9f);
}

CaptioningRenderableModelPtr MakeGridSample() {
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(kStreamFormat_CEA608_CC1));

  TextAttributes plain;
  // Grid windows sit at the caption area's top-left corner; a pop-on caption at the bottom is the
  // last rows of a window as tall as the grid.
  CaptioningRenderableModelWindowPtr popOn =
      MakeGridWindow(CaptioningRenderableModelWindow::kAnchor_TopLeft, 15, 32, kCaptioningColor_Transparent);
  for (int r = 0; r < 13; ++r) popOn->AppendRow(nullptr);
  popOn->AppendRow(MakeRow(U"      \u263A KELCAPTION SAMPLE", plain));
  TextAttributes italic = plain;
  italic.SetItalic(true);
  italic.SetForegroundColor(CaptioningColor(1.0f, 1.0f, 0.0f));
  popOn->AppendRow(MakeRow(U"      line-21 pop-on caption", italic));
  model->AddWindow(0, popOn);

  CaptioningRenderableModelWindowPtr rollUp =
      MakeGridWindow(CaptioningRenderableModelWindow::kAnchor_TopLeft, 3, 32, CaptioningColor(0.0f, 0.0f, 0.5f, 0.75f));
  rollUp->AppendRow(MakeRow(U">> ROLL-UP CAPTIONS SCROLL", plain));
  rollUp->AppendRow(nullptr);  // an empty line keeps its place
  rollUp->AppendRow(MakeRow(U"UPWARDS, LINE BY LINE.", plain));
  model->AddWindow(1, rollUp);
  return model;
}

}  // namespace kelcaption

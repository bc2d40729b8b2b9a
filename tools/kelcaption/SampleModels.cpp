#include "kelcaption/SampleModels.h"

#include <string_view>

namespace kelcaption {

using namespace kelcaptioning;

namespace {

CaptioningRenderableModelRowPtr MakeRow(std::u32string_view text, const TextAttributes& attributes) {
  CaptioningRenderableModelRowPtr row(new CaptioningRenderableModelRow());
  for (char32_t c : text) row->AppendCell(CaptioningRenderableModelCellPtr(new CaptioningRenderableModelCell(c, attributes)));
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

}  // namespace

CaptioningRenderableModelPtr MakeGridSample() {
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(kStreamFormat_CEA608_CC1));

  TextAttributes plain;
  CaptioningRenderableModelWindowPtr popOn =
      MakeGridWindow(CaptioningRenderableModelWindow::kAnchor_BottomCenter, 2, 24, kCaptioningColor_Transparent);
  popOn->AppendRow(MakeRow(U"  \u263A KELCAPTION SAMPLE  ", plain));
  TextAttributes italic = plain;
  italic.SetItalic(true);
  italic.SetForegroundColor(CaptioningColor(1.0f, 1.0f, 0.0f));
  popOn->AppendRow(MakeRow(U"  line-21 pop-on caption ", italic));
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

#include <gtest/gtest.h>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/DebugDatabase.h"
#include "render/CaptionDrawing.h"
#include "support/ModelBuilders.h"
#include "support/RecordingSurface.h"

namespace {

using kelcaptioning::CaptioningColor;
using kelcaptioning::kCaptioningColor_Transparent;
using kelcaptioningui::CaptionRectList;
using kelcaptioningui::DrawCaption;
using kelcaptioningui::GetCaptionRects;
using kelcaptioningui::kDebugWindowColors;
using kelcore::RectT;
using kelui::inkpad::Color;
using kelui::inkpad::Inkpad;
using kel_test::GridWindow;
using kel_test::Model;
using kel_test::RecordingSurface;

constexpr RectT<float> kHD{0, 0, 1920, 1080};
const CaptioningColor kRed{1, 0, 0, 1};
const CaptioningColor kBlue{0, 0, 1, 0.5f};

Color ToColor(const CaptioningColor& c) { return {c.Red(), c.Green(), c.Blue(), c.Alpha()}; }

// Sets "DebugCaptionWindows" for one test and takes it away again.
class DebugWindowsEntry {
 public:
  explicit DebugWindowsEntry(const char* text) { Db().SetEntry("DebugCaptionWindows", text); }
  ~DebugWindowsEntry() { Db().RemoveEntry("DebugCaptionWindows"); }

 private:
  static kelcore::utility::DebugDatabase& Db() { return kelcore::utility::DebugDatabase::Instance(); }
};

std::vector<std::string> Ops(const RecordingSurface& surface) {
  std::vector<std::string> ops;
  for (const auto& call : surface.calls) ops.push_back(call.op);
  return ops;
}

TEST(WindowPass, WindowsAreFilledInRenderOrderAndMissingOnesSkipped) {
  auto model = Model();
  model->SetWindow(3, GridWindow(10, 2, 0, kRed));
  model->SetWindow(1, GridWindow(32, 15, 0, kBlue));
  auto hidden = GridWindow(5, 1, 0, kRed);
  hidden->SetVisible(false);
  model->SetWindow(2, hidden);
  model->SetWindowRenderOrder({3, 7, 2, 1, -4});

  RecordingSurface surface;
  Inkpad inkpad(nullptr, &surface);
  DrawCaption(model, &inkpad, kHD);

  const auto fills = surface.Fills();
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].color, ToColor(kRed));
  EXPECT_EQ(fills[0].rect, (RectT<float>{240, 135, 450, 108}));
  EXPECT_EQ(fills[1].color, ToColor(kBlue));
  EXPECT_EQ(fills[1].rect, (RectT<float>{240, 135, 1440, 810}));

  // Each window switches the OS surface to source copy inside a save/restore, then fills.
  const std::vector<std::string> perWindow = {"SaveState", "GetOutputGraphics", "RestoreState", "FillRect"};
  std::vector<std::string> expected = perWindow;
  expected.insert(expected.end(), perWindow.begin(), perWindow.end());
  EXPECT_EQ(Ops(surface), expected);
  EXPECT_EQ(fills[0].compositing, Gdiplus::CompositingModeSourceCopy);

  CaptionRectList rects;
  GetCaptionRects(model, nullptr, kHD, rects);
  EXPECT_EQ(rects, (CaptionRectList{fills[0].rect, fills[1].rect}));
}

TEST(WindowPass, EmptyOrderAndNullInputsDrawAndListNothing) {
  RecordingSurface surface;
  Inkpad inkpad(nullptr, &surface);
  CaptionRectList rects;

  auto empty = Model();
  empty->SetWindow(0, GridWindow(10, 2));  // known, but not in the order
  DrawCaption(empty, &inkpad, kHD);
  GetCaptionRects(empty, &inkpad, kHD, rects);

  auto model = Model();
  model->AddWindow(0, GridWindow(10, 2));
  DrawCaption(model, nullptr, kHD);
  Inkpad noSurface(nullptr, nullptr);
  DrawCaption(model, &noSurface, kHD);
  DrawCaption(nullptr, &inkpad, kHD);
  GetCaptionRects(nullptr, &inkpad, kHD, rects);

  EXPECT_TRUE(surface.calls.empty());
  EXPECT_TRUE(rects.empty());
}

TEST(WindowPass, NullRowsAndCellsAreSkipped) {
  auto window = GridWindow(4, 3);
  window->AppendRow(nullptr);
  kelcaptioning::CaptioningRenderableModelRowPtr row(new kelcaptioning::CaptioningRenderableModelRow());
  row->AppendCell(nullptr);
  row->AppendCell(kelcaptioning::CaptioningRenderableModelCellPtr(new kelcaptioning::CaptioningRenderableModelCell()));
  window->AppendRow(row);
  auto model = Model();
  model->AddWindow(0, window);

  RecordingSurface surface;
  Inkpad inkpad(nullptr, &surface);
  DrawCaption(model, &inkpad, kHD);
  CaptionRectList rects;
  GetCaptionRects(model, &inkpad, kHD, rects);
  // The window fill and the one cell's black background; the window and the one real row.
  EXPECT_EQ(surface.Fills().size(), 2u);
  ASSERT_EQ(rects.size(), 2u);
}

TEST(WindowPass, TransparentFillIsPaintedButNotListed) {
  auto model = Model();
  model->AddWindow(0, GridWindow(10, 2, 0, kCaptioningColor_Transparent));
  // Not exactly zero, but invisible on an 8-bit target.
  model->AddWindow(1, GridWindow(10, 2, 0, CaptioningColor(1, 1, 1, 0.001f)));

  RecordingSurface surface;
  Inkpad inkpad(nullptr, &surface);
  DrawCaption(model, &inkpad, kHD);
  const auto fills = surface.Fills();
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].color, (Color{0, 0, 0, 0}));

  CaptionRectList rects;
  GetCaptionRects(model, nullptr, kHD, rects);
  EXPECT_TRUE(rects.empty());
}

TEST(WindowPass, DebugTintsReplaceTheFillsOfWindowsZeroToSeven) {
  auto model = Model();
  for (int n : {0, 7, 8, -1}) model->AddWindow(n, GridWindow(10, 2, 0, kCaptioningColor_Transparent));
  model->SetWindow(5, GridWindow(10, 2, 0, kRed));
  model->SetWindowRenderOrder({0, 7, 8, -1, 5});

  {
    DebugWindowsEntry on("true");
    RecordingSurface surface;
    Inkpad inkpad(nullptr, &surface);
    DrawCaption(model, &inkpad, kHD);
    const auto fills = surface.Fills();
    ASSERT_EQ(fills.size(), 5u);
    EXPECT_EQ(fills[0].color, kDebugWindowColors[0]);
    EXPECT_EQ(fills[1].color, kDebugWindowColors[7]);
    EXPECT_EQ(fills[2].color, (Color{0, 0, 0, 0}));
    EXPECT_EQ(fills[3].color, (Color{0, 0, 0, 0}));
    EXPECT_EQ(fills[4].color, kDebugWindowColors[5]);
    EXPECT_EQ(kDebugWindowColors[7], (Color{1.0f, 0.0f, 191.0f / 255.0f, 0.5f}));

    // Listed whatever their number or fill.
    CaptionRectList rects;
    GetCaptionRects(model, nullptr, kHD, rects);
    EXPECT_EQ(rects.size(), 5u);
  }
  {
    DebugWindowsEntry capitalised("True");
    RecordingSurface surface;
    Inkpad inkpad(nullptr, &surface);
    DrawCaption(model, &inkpad, kHD);
    EXPECT_EQ(surface.Fills()[0].color, (Color{0, 0, 0, 0}));
    CaptionRectList rects;
    GetCaptionRects(model, nullptr, kHD, rects);
    EXPECT_EQ(rects.size(), 1u);  // only the red window
  }
}

TEST(WindowPass, RectsAreAppendedNeverCleared) {
  auto model = Model();
  model->AddWindow(0, GridWindow(10, 2, 0, kRed));
  CaptionRectList rects{{1, 2, 3, 4}};
  GetCaptionRects(model, nullptr, kHD, rects);
  GetCaptionRects(model, nullptr, kHD, rects);
  const RectT<float> window{240, 135, 450, 108};
  EXPECT_EQ(rects, (CaptionRectList{{1, 2, 3, 4}, window, window}));
}

TEST(WindowPass, FailingGdiplusStatusIsKeptAndDrawingGoesOn) {
  auto model = Model();
  model->AddWindow(0, GridWindow(10, 2, 0, kRed));
  RecordingSurface surface(/*brokenGraphics=*/true);
  Inkpad inkpad(nullptr, &surface);
  DrawCaption(model, &inkpad, kHD);
  EXPECT_EQ(surface.Fills().size(), 1u);
  EXPECT_EQ(surface.graphics.GetLastStatus(), Gdiplus::InvalidParameter);
}

TEST(WindowPass, PlainSurfacesAreFilledWithoutGdiplus) {
  auto model = Model();
  model->AddWindow(0, GridWindow(10, 2, 0, kRed));
  kel_test::PlainRecordingSurface surface;
  Inkpad inkpad(nullptr, &surface);
  DrawCaption(model, &inkpad, kHD);
  ASSERT_EQ(surface.calls.size(), 1u);
  EXPECT_EQ(surface.calls[0].op, "FillRect");
}

TEST(WindowPass, OpenCaptionWindowsAreFilledWithTheCaptionsArea) {
  auto model = Model(kelcaptioning::kStreamFormat_OpenCaptions);
  model->AddWindow(0, GridWindow(0, 0, 0, kRed, 0.8f));
  RecordingSurface surface;
  Inkpad inkpad(nullptr, &surface);
  DrawCaption(model, &inkpad, kHD);
  ASSERT_EQ(surface.Fills().size(), 1u);
  EXPECT_EQ(surface.Fills()[0].rect, (RectT<float>{192, 108, 1536, 864}));
}

}  // namespace

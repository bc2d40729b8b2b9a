#include <gtest/gtest.h>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/DebugDatabase.h"
#include "render/CaptionDrawing.h"
#include "support/ModelBuilders.h"
#include "support/RecordingSupplier.h"
#include "support/RecordingSurface.h"

namespace {

using kelcaptioning::CaptioningColor, kelcaptioning::kCaptioningColor_Transparent, kelcaptioningui::CaptionRectList;
using kelcore::RectT, kelui::inkpad::Color, kelui::inkpad::Inkpad, kel_test::GridWindow, kel_test::Model;
using kel_test::RecordingSurface;

constexpr RectT<float> kHD{0, 0, 1920, 1080};
const CaptioningColor kRed{1, 0, 0, 1};
const Color kClear{0, 0, 0, 0};

void Draw(const kelcaptioning::CaptioningRenderableModelPtr& model, kelui::inkpad::SurfaceInterface& surface) {
  Inkpad inkpad(nullptr, &surface);
  kelcaptioningui::DrawCaption(model, &inkpad, kHD);
}

CaptionRectList Rects(const kelcaptioning::CaptioningRenderableModelPtr& model, CaptionRectList rects = {}) {
  kelcaptioningui::GetCaptionRects(model, nullptr, kHD, rects);
  return rects;
}

TEST(WindowPass, WindowsAreFilledInRenderOrderAndMissingOnesSkipped) {
  const CaptioningColor blue{0, 0, 1, 0.5f};
  auto model = Model();
  model->SetWindow(3, GridWindow(10, 2, 0, kRed));
  model->SetWindow(1, GridWindow(32, 15, 0, blue));
  auto hidden = GridWindow(5, 1, 0, kRed);
  hidden->SetVisible(false);
  model->SetWindow(2, hidden);
  model->SetWindowRenderOrder({3, 7, 2, 1, -4});
  RecordingSurface surface;
  Draw(model, surface);

  const auto fills = surface.Fills();
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].rect, (RectT<float>{240, 135, 450, 108}));
  EXPECT_EQ(fills[1].rect, (RectT<float>{240, 135, 1440, 810}));
  // Each window switches the OS surface to source copy inside a save/restore, then fills.
  std::vector<std::string> ops;
  for (const auto& call : surface.calls) ops.push_back(call.op);
  EXPECT_EQ(ops, (std::vector<std::string>{"SaveState", "GetOutputGraphics", "RestoreState", "FillRect", "SaveState",
                                           "GetOutputGraphics", "RestoreState", "FillRect"}));
  EXPECT_EQ(fills[0].compositing, Gdiplus::CompositingModeSourceCopy);
  // Appended to what the list holds, never cleared.
  EXPECT_EQ(Rects(model, {{1, 2, 3, 4}}), (CaptionRectList{{1, 2, 3, 4}, fills[0].rect, fills[1].rect}));
}

TEST(WindowPass, EmptyOrderDrawsAndListsNothing) {
  RecordingSurface surface;
  auto empty = Model();
  empty->SetWindow(0, GridWindow(10, 2));  // known, but not in the order
  Draw(empty, surface);
  EXPECT_TRUE(surface.calls.empty());
  EXPECT_TRUE(Rects(empty).empty());
}

TEST(WindowPass, NullRowsAndCellsAreSkipped) {
  auto window = GridWindow(4, 3);
  window->AppendRow(nullptr);
  window->AppendRow(kel_test::Row({nullptr, kelcaptioning::CaptioningRenderableModelCellPtr(
                                                new kelcaptioning::CaptioningRenderableModelCell())}));
  auto model = Model();
  model->AddWindow(0, window);
  RecordingSurface surface;
  Draw(model, surface);
  // The window fill and the one cell's black background; the window and the one real row.
  EXPECT_EQ(surface.Fills().size(), 2u);
  EXPECT_EQ(Rects(model).size(), 2u);
}

TEST(WindowPass, TransparentFillIsPaintedButNotListed) {
  auto model = Model();
  model->AddWindow(0, GridWindow(10, 2, 0, kCaptioningColor_Transparent));
  // Not exactly zero, but invisible on an 8-bit target.
  model->AddWindow(1, GridWindow(10, 2, 0, CaptioningColor(1, 1, 1, 0.001f)));
  RecordingSurface surface;
  Draw(model, surface);
  const auto fills = surface.Fills();
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].color, kClear);
  EXPECT_TRUE(Rects(model).empty());
}

TEST(WindowPass, DebugTintsReplaceTheFillsOfWindowsZeroToSeven) {
  auto model = Model();
  for (int n = -1; n <= 8; ++n) model->AddWindow(n, GridWindow(10, 2, 0, kCaptioningColor_Transparent));
  model->SetWindow(5, GridWindow(10, 2, 0, kRed));
  model->SetWindowRenderOrder({0, 1, 2, 3, 4, 5, 6, 7, 8, -1});
  auto& db = kelcore::utility::DebugDatabase::Instance();
  db.SetEntry("DebugCaptionWindows", "true");
  RecordingSurface surface;
  Draw(model, surface);
  const auto rects = Rects(model);
  db.RemoveEntry("DebugCaptionWindows");

  const auto fills = surface.Fills();
  ASSERT_EQ(fills.size(), 10u);
  // Half-transparent tints given in 8-bit levels; windows past 7 keep their own fill.
  const float levels[8][3] = {{255, 0, 0},   {127, 255, 0}, {0, 255, 255}, {127, 0, 255},
                              {255, 191, 0}, {0, 255, 64},  {0, 64, 255},  {255, 0, 191}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(fills[i].color, (Color{levels[i][0] / 255, levels[i][1] / 255, levels[i][2] / 255, 0.5f})) << i;
  }
  EXPECT_EQ(fills[8].color, kClear);
  EXPECT_EQ(fills[9].color, kClear);
  EXPECT_EQ(rects.size(), 10u);  // listed whatever their number or fill
}

// A row's place counts the empty entries before it: a row after two empty ones lands two cell
// heights below the first row's place.
TEST(WindowPass, RowsArePlacedByTheirIndexEmptyEntriesCounted) {
  const auto baselineOf = [](int emptyRowsBefore) {
    auto window = GridWindow(4, 3);
    for (int i = 0; i < emptyRowsBefore; ++i) window->AppendRow(nullptr);
    window->AppendRow(kel_test::TextRow(U"A"));
    auto model = Model();
    model->AddWindow(0, window);
    kel_test::RecordingSupplier supplier;
    RecordingSurface surface;
    Inkpad inkpad(&supplier, &surface);
    kelcaptioningui::DrawCaption(model, &inkpad, kHD);
    const auto texts = surface.Calls("DrawStringInRect");
    return texts.empty() ? -1.0f : texts.back().rect.y;
  };
  const float first = baselineOf(0), second = baselineOf(1), third = baselineOf(2);
  EXPECT_GT(second - first, 10.0f);
  EXPECT_FLOAT_EQ(third - first, 2 * (second - first));
}

// The rectangle of a window's rows meets the rows' cells exactly, as GetCaptionRects lists them.
TEST(WindowPass, RowsRectCoversTheRowsCells) {
  using kelcaptioningui::GetCaptionRowsRect;
  auto model = Model();
  auto window = GridWindow(32, 15, 0, kRed);  // {240, 135, 1440, 810}, cells 45 x 54
  kelcaptioning::RowList rows(15);
  rows[12] = kel_test::TextRow(U"One");
  rows[14] = kel_test::TextRow(U"Three");
  window->SetRows(rows);
  model->AddWindow(2, window);
  const RectT<float> rect = GetCaptionRowsRect(model, 2, 12, 3, kHD);
  EXPECT_EQ(rect, (RectT<float>{240, 135 + 12 * 54, 1440, 3 * 54}));
  const CaptionRectList listed = Rects(model);  // the window, then rows 12 and 14
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[1].y, rect.y);
  EXPECT_EQ(listed[2].y + listed[2].height, rect.y + rect.height);
  // A window placed elsewhere moves its rows with it.
  EXPECT_EQ(GetCaptionRowsRect(model, 2, 0, 1, {100, 50, 1920, 1080}).y, 185.0f);

  // Nothing for rows not all in the window, no rows, a hidden or absent window, open captions.
  const RectT<float> none{};
  EXPECT_EQ(GetCaptionRowsRect(model, 2, 14, 2, kHD), none);
  EXPECT_EQ(GetCaptionRowsRect(model, 2, -1, 2, kHD), none);
  EXPECT_EQ(GetCaptionRowsRect(model, 2, 3, 0, kHD), none);
  EXPECT_EQ(GetCaptionRowsRect(model, 2, 3, 0x7FFFFFFF, kHD), none);
  EXPECT_EQ(GetCaptionRowsRect(model, 1, 0, 1, kHD), none);
  EXPECT_EQ(GetCaptionRowsRect(nullptr, 0, 0, 1, kHD), none);
  window->SetVisible(false);
  EXPECT_EQ(GetCaptionRowsRect(model, 2, 0, 1, kHD), none);
  auto open = Model(kelcaptioning::kStreamFormat_OpenCaptions);
  open->AddWindow(0, GridWindow(32, 15));
  EXPECT_EQ(GetCaptionRowsRect(open, 0, 0, 1, kHD), none);
}

TEST(WindowPass, SurfacesWithoutWorkingGdiplusAreStillFilled) {
  auto model = Model();
  model->AddWindow(0, GridWindow(10, 2, 0, kRed));
  RecordingSurface broken(/*brokenGraphics=*/true);
  Draw(model, broken);
  EXPECT_EQ(broken.Fills().size(), 1u);
}

}  // namespace

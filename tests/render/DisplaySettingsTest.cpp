#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/CellFont.h"
#include "kelcaptioningui/CaptionDisplaySettings.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "open/OpenWindow.h"
#include "samples/SampleModels.h"
#include "support/ModelBuilders.h"
#include "support/PixelBuffer.h"

// The viewer's display settings applied to render-ready models: what the new model holds, that
// the host's model is left alone, where resized subtitles go, and how both kinds look.

namespace {

using namespace kelcaptioning;
using kelcaptioningui::ApplyCaptionDisplaySettings;
using kelcaptioningui::CaptionDisplaySettings;

const CaptioningColor kShade(0, 0, 0, 0.6f), kYellow(1, 1, 0);

OpenRowMap OpenRowsOf(const CaptioningRenderableModelPtr& model) {
  OpenRowMap rows;
  model->GetWindow(0)->GetOpenRows(rows);
  return rows;
}

CaptioningRenderableOpenSpanPtr FirstSpan(const CaptioningRenderableOpenRowPtr& row) {
  OpenSpanMap spans;
  row->GetOpenSpans(spans);
  return spans.begin()->second;
}

TEST(DisplaySettings, GridCellsAndTheWindowTakeTheSettingsInANewModel) {
  TextAttributes own;
  own.SetForegroundColor({1, 0, 0, 1});
  own.SetBackgroundColor({0, 0, 0, 1});
  own.SetGenericFontFamilyID(kGenericFontFamily_MonospacedSerif);
  own.SetItalic(true);
  const CaptioningRenderableModelPtr host = kel_test::Model();
  const CaptioningRenderableModelWindowPtr window = kel_test::GridWindow(32, 15, 0, kCaptioningColor_Black);
  window->AppendRow(nullptr);
  window->AppendRow(kel_test::Row({kel_test::Cell(U'H', own), nullptr}));
  host->AddWindow(3, window);

  CaptionDisplaySettings settings;
  settings.fontFamily = kGenericFontFamily_Casual;
  settings.textSize = kelcaptioningui::kCaptionTextLarge;
  settings.text.color = kYellow;
  settings.background.opacity = 0.5f;
  settings.window = {CaptioningColor(0, 0, 1), 0.25f};
  settings.edge = kTextEdge_Uniform;
  settings.edgeColor = CaptioningColor(1, 0, 0);  // grid edges keep the decoder's colours
  const CaptioningRenderableModelPtr shown = ApplyCaptionDisplaySettings(host, settings, nullptr);

  ASSERT_TRUE(shown);
  ASSERT_NE(shown, host);
  std::vector<int> order;
  shown->GetWindowRenderOrder(order);
  EXPECT_EQ(order, std::vector<int>{3});
  const CaptioningRenderableModelWindowPtr shownWindow = shown->GetWindow(3);
  ASSERT_NE(shownWindow, window);
  EXPECT_EQ(shownWindow->GetFillColor(), CaptioningColor(0, 0, 1, 0.25f));
  const RowList rows = shownWindow->GetRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_FALSE(rows[0]);
  ASSERT_NE(rows[1], window->GetRows()[1]);
  const CellList cells = rows[1]->GetCells();
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_FALSE(cells[1]);
  ASSERT_NE(cells[0], window->GetRows()[1]->GetCells()[0]);
  EXPECT_EQ(cells[0]->GetCharacter(), U'H');
  TextAttributes expected = own;
  expected.SetForegroundColor({1, 1, 0, 1});
  expected.SetBackgroundColor({0, 0, 0, 0.5f});
  expected.SetGenericFontFamilyID(kGenericFontFamily_Casual);
  expected.SetTextSize(kTextSize_Large);
  expected.SetTextEdge(kTextEdge_Uniform);
  EXPECT_EQ(cells[0]->GetTextAttributes(), expected);

  // The host's model is as it was.
  EXPECT_EQ(window->GetFillColor(), kCaptioningColor_Black);
  EXPECT_EQ(window->GetRows()[1]->GetCells()[0]->GetTextAttributes(), own);
  EXPECT_EQ(host->GetWindow(3), window);

  EXPECT_FALSE(ApplyCaptionDisplaySettings(nullptr, settings, nullptr));
}

TEST(DisplaySettings, SizesAndColoursCombineWithWhatTheCaptionSays) {
  using kelcaptioningui::NearestTextSize;
  EXPECT_EQ(NearestTextSize(kelcaptioningui::kCaptionTextSmall), kTextSize_Small);
  EXPECT_EQ(NearestTextSize(0.95f), kTextSize_Standard);
  EXPECT_EQ(NearestTextSize(kelcaptioningui::kCaptionTextLarge), kTextSize_Large);
  EXPECT_EQ(NearestTextSize(3.0f), kTextSize_Large);
  EXPECT_EQ(NearestTextSize(0.1f), kTextSize_Small);

  const CaptioningColor own(0.2f, 0.4f, 0.6f, 0.8f);
  EXPECT_EQ(kelcaptioningui::CaptionColorSetting{}.Over(own), own);
  EXPECT_EQ((kelcaptioningui::CaptionColorSetting{kYellow, std::nullopt}.Over(own)), CaptioningColor(1, 1, 0, 0.8f));
  EXPECT_EQ((kelcaptioningui::CaptionColorSetting{std::nullopt, 0.1f}.Over(own)), CaptioningColor(0.2f, 0.4f, 0.6f, 0.1f));
}

TEST(DisplaySettings, SpansTakeFacesColoursEdgesAndScaledLengths) {
  TextSpanAttributes own = kelcaption::SpanStyle(kCaptioningColor_White, kShade, kTextEdge_Uniform, 4.0f);
  own.SetFontSize(60.0f);
  own.SetUnderlined(true);
  const CaptioningRenderableModelPtr host = kelcaption::MakeOpenModel({{{{"Hello", own, 60}}, 300, 200, 80, 12}});
  const CaptioningRenderableOpenRowPtr hostRow = OpenRowsOf(host).begin()->second;

  CaptionDisplaySettings settings;
  settings.fontFamily = kGenericFontFamily_ProportionalSerif;
  settings.textSize = 1.5f;
  settings.text.opacity = 0.5f;
  settings.background.color = CaptioningColor(0, 0, 1);
  settings.edge = kTextEdge_RightDropShadow;
  settings.edgeColor = CaptioningColor(1, 0, 0, 0.5f);
  const CaptioningRenderableModelPtr shown = ApplyCaptionDisplaySettings(host, settings, nullptr);

  const CaptioningRenderableOpenRowPtr row = OpenRowsOf(shown).begin()->second;
  ASSERT_NE(row, hostRow);
  EXPECT_EQ(row->GetLineHeight(), 120);
  EXPECT_EQ(row->GetHorizontalTextOffset(), 18);
  EXPECT_EQ(row->GetHorizontalStart(), 300);  // nothing measured the widths
  const CaptioningRenderableOpenSpanPtr span = FirstSpan(row);
  ASSERT_NE(span, FirstSpan(hostRow));
  EXPECT_EQ(span->GetTextHeight(true), 90);
  EXPECT_EQ(span->GetTextHeight(false), 120);
  TextSpanAttributes expected = own;
  expected.SetFontName(kelcore::string::AsciiToUTF16("Times New Roman"));
  expected.SetFontSize(90.0f);
  expected.SetTextEdgeWidth(6.0f);
  expected.SetForegroundColor({1, 1, 1, 0.5f});
  expected.SetBackgroundColor({0, 0, 1, 0.6f});
  expected.SetTextEdge(kTextEdge_RightDropShadow);
  expected.SetForegroundEdgeColor({1, 0, 0, 0.5f});
  EXPECT_EQ(span->GetTextSpanAttributes(), expected);

  // The host's row and span are untouched.
  EXPECT_EQ(hostRow->GetLineHeight(), 80);
  EXPECT_EQ(FirstSpan(hostRow)->GetTextHeight(true), 60);
  EXPECT_EQ(FirstSpan(hostRow)->GetTextSpanAttributes(), own);

  // A size of 0 or less would make the text vanish; it is not applied.
  settings.textSize = 0.0f;
  EXPECT_EQ(FirstSpan(OpenRowsOf(ApplyCaptionDisplaySettings(host, settings, nullptr)).begin()->second)
                ->GetTextHeight(true),
            60);
  settings.textSize = 1.5f;

  // A window named twice in the render order is still restyled once.
  host->SetWindowRenderOrder({0, 0});
  EXPECT_EQ(FirstSpan(OpenRowsOf(ApplyCaptionDisplaySettings(host, settings, nullptr)).begin()->second)
                ->GetTextHeight(true),
            90);
}

// Rows measured as drawn: a two-row caption centred at the bottom, and a line at the top left.
CaptioningRenderableModelPtr PlacedSubtitles(kelui::inkpad::Inkpad& inkpad) {
  const TextSpanAttributes plain = kelcaption::SpanStyle(kCaptioningColor_White, kShade);
  const CaptioningRenderableModelPtr model = kelcaption::MakeOpenModel(
      {{{{"The first line of the caption", plain, 60}}, 0, 900, 80, 12},
       {{{"and its second", plain, 60}}, 0, 980, 80, 12},
       {{{"Top left", plain, 60}}, 40, 40, 80, 12}});
  kelcaptioningui::MeasureOpenRows(model->GetWindow(0), &inkpad);
  for (const auto& [key, row] : OpenRowsOf(model)) {
    if (row->GetVerticalStart() > 500) row->SetHorizontalStart((1920 - row->GetRowWidth()) / 2);
  }
  return model;
}

TEST(DisplaySettings, ResizedSubtitlesKeepTheEdgeOrCentreTheyStoodBy) {
  kel_test::PixelBuffer measuring(16, 16);
  kelui::inkpad::Inkpad inkpad(measuring.supplier(), measuring.surface());
  const CaptioningRenderableModelPtr host = PlacedSubtitles(inkpad);
  CaptionDisplaySettings settings;
  settings.textSize = 1.5f;
  const OpenRowMap rows = OpenRowsOf(ApplyCaptionDisplaySettings(host, settings, &inkpad));
  const auto first = rows.at(0), second = rows.at(1), top = rows.at(2);
  // The caption grows upwards from the bottom it stood on, its rows still touching and centred.
  EXPECT_EQ(first->GetVerticalStart(), 820);
  EXPECT_EQ(second->GetVerticalStart(), 940);
  for (const auto& row : {first, second}) EXPECT_NEAR(row->GetHorizontalStart() + row->GetRowWidth() / 2.0, 960, 1.0);
  EXPECT_GT(first->GetRowWidth(), OpenRowsOf(host).at(0)->GetRowWidth() * 1.4);
  EXPECT_EQ(top->GetHorizontalStart(), 40);
  EXPECT_EQ(top->GetVerticalStart(), 40);

  // Text too large for the area is held inside it.
  settings.textSize = 10.0f;
  for (const auto& [key, row] : OpenRowsOf(ApplyCaptionDisplaySettings(host, settings, &inkpad))) {
    EXPECT_GE(row->GetHorizontalStart(), 0) << key;
    EXPECT_GE(row->GetVerticalStart(), 0) << key;
    EXPECT_LE(row->GetVerticalStart() + row->GetLineHeight(), 1080) << key;
  }

  // Another face alone keeps a centred row centred.
  settings = {};
  settings.fontFamily = kGenericFontFamily_MonospacedSerif;
  const auto mono = OpenRowsOf(ApplyCaptionDisplaySettings(host, settings, &inkpad)).at(1);
  EXPECT_NE(mono->GetRowWidth(), OpenRowsOf(host).at(1)->GetRowWidth());
  EXPECT_NEAR(mono->GetHorizontalStart() + mono->GetRowWidth() / 2.0, 960, 1.0);
  EXPECT_EQ(mono->GetVerticalStart(), 980);
}

// Every setting at once on a grid caption and on subtitles, drawn over a frame of `frameColor`
// and compared with reviewed images.
std::string DrawnLikeGolden(const CaptioningRenderableModelPtr& model, const CaptionDisplaySettings& settings,
                            const kelui::inkpad::Color& frameColor, const std::string& golden) {
  kel_test::PixelBuffer frame(960, 540);
  frame.surface()->FillRect(frameColor, {0, 0, 960, 540});
  kelui::inkpad::Inkpad inkpad(frame.supplier(), frame.surface());
  kelcaptioningui::DrawCaption(ApplyCaptionDisplaySettings(model, settings, &inkpad), &inkpad, {0, 0, 960, 540});
  return frame.CompareWithGolden(golden);
}

TEST(DisplaySettingsGolden, GridCaption) {
  CaptionDisplaySettings settings;
  settings.fontFamily = kGenericFontFamily_Cursive;
  settings.textSize = kelcaptioningui::kCaptionTextLarge;
  settings.text = {kYellow, 1.0f};
  settings.background = {CaptioningColor(0, 0, 0.5f), 1.0f};
  settings.window = {CaptioningColor(0.25f, 0.25f, 0.25f), 1.0f};
  settings.edge = kTextEdge_Uniform;
  EXPECT_EQ(DrawnLikeGolden(kelcaption::MakeGridSample(), settings, {0.15f, 0.35f, 0.2f, 1}, "display_settings_grid"), "");
}

TEST(DisplaySettingsGolden, Subtitles) {
  CaptionDisplaySettings settings;
  settings.fontFamily = kGenericFontFamily_ProportionalSerif;
  settings.textSize = 1.25f;
  settings.text = {CaptioningColor(0.4f, 1, 1), 1.0f};
  settings.background = {CaptioningColor(0, 0, 0), 1.0f};
  settings.window = {CaptioningColor(0.2f, 0.25f, 0.3f), 1.0f};
  settings.edge = kTextEdge_Uniform;
  settings.edgeColor = CaptioningColor(0.8f, 0, 0);
  EXPECT_EQ(DrawnLikeGolden(kelcaption::MakeSubtitleSample(), settings, {0.55f, 0.5f, 0.6f, 1}, "display_settings_open"),
            "");
}

}  // namespace

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "dialog/RunnerUnderTest.h"
#include "dialog/SidecarDialogFixture.h"
#include "kelcaptioning/ExportFormats.h"
#include "kelcaptioningui/CaptionSidecarSettingsDialog.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/Error.h"
#include "kelcore/Localizer.h"
#include "kelsol/ScriptedRunner.h"

namespace {

using namespace kelcaptioning;
using kelmediatypes::TimeDisplay;
using kelsol::ScriptedRunner;
using kelui::ui::UI_Dialog;

// Line-21 captions offer SCC, MCC, timed text, SRT and WebVTT, in that order.
constexpr std::size_t kSccItem = 0, kTtmlItem = 2, kSrtItem = 3;

class SidecarDialog : public kel_test::SidecarDialogFixture {
 protected:
  static bool Run(kelcaptioningui::CaptionSidecarSettingsDialog& dialog, const std::shared_ptr<ScriptedRunner>& runner) {
    kelsol::SetModalRunner(kel_test::RunnerUnderTest(runner));
    return dialog.RunModal();
  }
};

auto& Popup(UI_Dialog& d, const char* id) { return dynamic_cast<kelui::ui::UI_Popup&>(*d.Find(id)); }
auto& Box(UI_Dialog& d) { return dynamic_cast<kelui::ui::UI_Checkbox&>(*d.Find("IncludeSRTStylingID")); }

TEST_F(SidecarDialog, OkWithSrtKeepsTheTickAndFormatsHideTheBox) {
  auto dialog = Dialog(kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, true, "Episode 4");
  bool startsTicked = true, srtFrameRateDisabled = false, hiddenForScc = false, tickKept = false;
  std::u16string title;
  auto runner = std::make_shared<ScriptedRunner>();
  runner->Inspect([&](UI_Dialog& d) {
          title.assign(d.GetTitle().begin(), d.GetTitle().end());
          startsTicked = Box(d).IsChecked();  // the constructor's true does not tick it
          srtFrameRateDisabled = Popup(d, "TimeDisplayPopupID").IsDisabled();  // SRT: milliseconds only
        })
      .Toggle("IncludeSRTStylingID")
      .Select("FileFormatPopupID", kSccItem)
      .Inspect([&](UI_Dialog& d) { hiddenForScc = !Box(d).IsVisible(); })
      .Select("FileFormatPopupID", kSrtItem)
      .Inspect([&](UI_Dialog& d) { tickKept = Box(d).IsVisible() && Box(d).IsChecked(); })
      .Press("okButton");
  EXPECT_TRUE(Run(dialog, runner));
  EXPECT_EQ(title, u"Caption Sidecar Settings For 'Episode 4'");
  EXPECT_EQ(std::vector<bool>({startsTicked, srtFrameRateDisabled, hiddenForScc, tickKept}),
            std::vector<bool>({false, true, true, true}));
  EXPECT_EQ(dialog.GetFileFormat(), kCaptioningExportFormat_SRT);
  EXPECT_TRUE(dialog.GetIncludeSRTStyling());
}

TEST_F(SidecarDialog, OkWithoutSrtReportsNoStylingAndTakesTheNewFormatsFirstDisplay) {
  auto dialog = Dialog(kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, true);
  auto runner = std::make_shared<ScriptedRunner>();
  runner->Toggle("IncludeSRTStylingID").Select("FileFormatPopupID", kSccItem).Press("okButton");
  EXPECT_TRUE(Run(dialog, runner));
  EXPECT_EQ(dialog.GetFileFormat(), kCaptioningExportFormat_SCC);
  EXPECT_FALSE(dialog.GetIncludeSRTStyling());
  // SCC has no millisecond display: the frame-rate popup shows SCC's first display, 29.97 drop frame.
  EXPECT_EQ(dialog.GetTimeDisplay(), kelmediatypes::kTimeDisplay_2997DropTimecode);
}

// After any format change the frame-rate popup shows a display that the format offers, and OK
// returns the one it shows.
TEST_F(SidecarDialog, EveryFormatChangeShowsAndReturnsADisplayTheFormatOffers) {
  const std::pair<CaptioningExportFormat, TimeDisplay> starts[] = {
      {kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds},
      {kCaptioningExportFormat_SCC, kelmediatypes::kTimeDisplay_2997NonDropTimecode},
      {kCaptioningExportFormat_MCC, kelmediatypes::kTimeDisplay_60Timecode}};
  for (const auto& [format, display] : starts) {
    for (std::size_t item = 0; item < 5; ++item) {
      auto dialog = Dialog(format, display, false);
      std::u16string shown;
      auto runner = std::make_shared<ScriptedRunner>();
      runner->Select("FileFormatPopupID", item)
          .Inspect([&](UI_Dialog& d) {
            const auto& popup = Popup(d, "TimeDisplayPopupID");
            for (std::size_t i = 0; i < popup.GetItemCount(); ++i) {
              if (popup.GetItemValue(i) == popup.GetValue()) shown.assign(popup.GetItemText(i).begin(), popup.GetItemText(i).end());
            }
          })
          .Press("okButton");
      ASSERT_TRUE(Run(dialog, runner));
      TimeDisplaySet offered;
      ASSERT_TRUE(GetSupportedTimeDisplaysForFormat(dialog.GetFileFormat(), offered));
      EXPECT_TRUE(offered.count(dialog.GetTimeDisplay())) << "format item " << item;
      const auto description = kelmediatypes::TimeDisplayDescription(dialog.GetTimeDisplay());
      EXPECT_EQ(shown, std::u16string(description.begin(), description.end())) << "format item " << item;
    }
  }
}

// The frame-rate popup's choice is taken as it is made; Cancel after an earlier OK on the same
// dialog reports the cancel.
TEST_F(SidecarDialog, TheChosenDisplayIsTakenAndALaterCancelCounts) {
  auto dialog = Dialog(kCaptioningExportFormat_SCC, kelmediatypes::kTimeDisplay_2997DropTimecode, false);
  auto ok = std::make_shared<ScriptedRunner>();
  ok->Select("TimeDisplayPopupID", 1).Press("okButton");
  EXPECT_TRUE(Run(dialog, ok));
  EXPECT_EQ(dialog.GetTimeDisplay(), kelmediatypes::kTimeDisplay_2997NonDropTimecode);
  auto cancel = std::make_shared<ScriptedRunner>();
  cancel->Press("cancelButton");
  EXPECT_FALSE(Run(dialog, cancel));
}

TEST_F(SidecarDialog, CancelKeepsTheLiveFormatButNotTheStylingAndNoLayoutShowsNothing) {
  auto dialog = Dialog(kCaptioningExportFormat_SCC, kelmediatypes::kTimeDisplay_2997DropTimecode, true);
  auto runner = std::make_shared<ScriptedRunner>();
  runner->Select("FileFormatPopupID", kTtmlItem).Press("cancelButton");
  EXPECT_FALSE(Run(dialog, runner));
  EXPECT_EQ(dialog.GetFileFormat(), kCaptioningExportFormat_TTML);
  EXPECT_EQ(dialog.GetTimeDisplay(), kelmediatypes::kTimeDisplay_2997DropTimecode);  // timed text has it too
  EXPECT_TRUE(dialog.GetIncludeSRTStyling());

  kelcaptioningui::Terminate();  // without its layout the dialog shows nothing
  auto unshown = Dialog(kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, false);
  auto ok = std::make_shared<ScriptedRunner>();
  ok->Press("okButton");
  EXPECT_FALSE(Run(unshown, ok));
}

// The title keys are spelled "kelcapitoningui", as translations know them.
TEST_F(SidecarDialog, TitlesAreLookedUpUnderTheirOwnSpelling) {
  auto& localizer = kelcore::string::Localizer::Get();
  localizer.SetTranslation("$$$/kelcapitoningui/CaptionSettingsDialog/CaptionSidecarSettings",
                           kelcore::string::UTF8ToUTF16("Réglages"));
  localizer.SetTranslation("$$$/kelcapitoningui/CaptionSidecarSettingsOther",
                           kelcore::string::UTF8ToUTF16("Réglages de « @0 »"));
  std::u16string plain, named;
  for (const auto& [subject, title] : {std::pair<const char*, std::u16string*>{"", &plain}, {"Clip", &named}}) {
    auto dialog = Dialog(kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, false, subject);
    auto runner = std::make_shared<ScriptedRunner>();
    runner->Inspect([title = title](UI_Dialog& d) { title->assign(d.GetTitle().begin(), d.GetTitle().end()); });
    Run(dialog, runner);
  }
  localizer.ClearTranslations();
  EXPECT_EQ(plain, u"Réglages");
  EXPECT_EQ(named, u"Réglages de « Clip »");
}

TEST_F(SidecarDialog, AControlOfTheWrongKindIsAnInvalidTypeConversion) {
  auto dialog = Dialog(kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, false);
  std::istringstream wrong(
      "layout d { view kel_dialog(name: 'x', identifier: 'd') { column() {"
      " kel_checkbox(identifier: 'TimeDisplayPopupID', name: 'n'); kel_ok_cancel_row(); } } }");
  try {
    dialog.ParseSolScript(wrong, false);
    FAIL() << "expected an error";
  } catch (const kelcore::utility::Error& e) {
    EXPECT_EQ(e.Key(), "$$$/kelcore/utility/Error/InvalidTypeConversion=Invalid type conversion.");
  }
}

}  // namespace

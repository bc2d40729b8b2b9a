#include <gtest/gtest.h>

#include <sstream>

#include "kelcaptioningui/CaptionSidecarSettingsDialog.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/Error.h"
#include "kelsol/ScriptedRunner.h"
#include "kelsol/TerminalRunner.h"

namespace {

using namespace kelcaptioning;
using kelmediatypes::TimeDisplay;
using kelsol::ScriptedRunner;
using kelui::ui::UI_Checkbox;
using kelui::ui::UI_Dialog;
using kelui::ui::UI_Popup;

// Line-21 captions offer SCC, MCC, timed text, SRT and WebVTT, in that order.
constexpr std::size_t kSccItem = 0, kTtmlItem = 2, kSrtItem = 3;

class SidecarDialog : public ::testing::Test {
 protected:
  void SetUp() override { kelcaptioningui::Initialize(); }
  void TearDown() override {
    kelsol::SetModalRunner(nullptr);
    kelcaptioningui::Terminate();
  }

  static kelcaptioningui::CaptionSidecarSettingsDialog Dialog(CaptioningExportFormat format, TimeDisplay display,
                                                              bool styling, const char* subject = "") {
    return kelcaptioningui::CaptionSidecarSettingsDialog(nullptr, nullptr, format, display, styling,
                                                         StreamFormatSet{kStreamFormat_CEA608_CC1},
                                                         kelcore::string::UTF8ToUTF16(subject));
  }

  static bool Run(kelcaptioningui::CaptionSidecarSettingsDialog& dialog, const std::shared_ptr<ScriptedRunner>& runner) {
    kelsol::SetModalRunner(runner);
    return dialog.RunModal();
  }
};

UI_Popup& Popup(UI_Dialog& d, const char* id) { return dynamic_cast<UI_Popup&>(*d.Find(id)); }
UI_Checkbox& Box(UI_Dialog& d) { return dynamic_cast<UI_Checkbox&>(*d.Find("IncludeSRTStylingID")); }

TEST_F(SidecarDialog, OkWithSrtKeepsTheTickAndFormatsHideTheBox) {
  auto dialog = Dialog(kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, true);
  bool startsTicked = true, srtFrameRateDisabled = false, hiddenForScc = false, tickKept = false;
  std::u16string title;  // with a subject: see the terminal test
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
  EXPECT_EQ(title, u"Caption Sidecar Settings");
  EXPECT_FALSE(startsTicked);
  EXPECT_TRUE(srtFrameRateDisabled);
  EXPECT_TRUE(hiddenForScc);
  EXPECT_TRUE(tickKept);
  EXPECT_EQ(dialog.GetFileFormat(), kCaptioningExportFormat_SRT);
  EXPECT_TRUE(dialog.GetIncludeSRTStyling());
  EXPECT_EQ(runner->SkippedActions(), 0);
}

TEST_F(SidecarDialog, OkWithoutSrtReportsNoStylingAndKeepsAnUnsupportedDisplay) {
  auto dialog = Dialog(kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, true);
  bool sccFrameRateEnabled = false;
  auto runner = std::make_shared<ScriptedRunner>();
  runner->Toggle("IncludeSRTStylingID")
      .Select("FileFormatPopupID", kSccItem)
      .Inspect([&](UI_Dialog& d) { sccFrameRateEnabled = !Popup(d, "TimeDisplayPopupID").IsDisabled(); })
      .Toggle("IncludeSRTStylingID")  // hidden now: skipped
      .Press("okButton");
  EXPECT_TRUE(Run(dialog, runner));
  EXPECT_EQ(dialog.GetFileFormat(), kCaptioningExportFormat_SCC);
  EXPECT_FALSE(dialog.GetIncludeSRTStyling());
  EXPECT_TRUE(sccFrameRateEnabled);
  // SCC has no millisecond display: the popup selects nothing and the choice stays as it was.
  EXPECT_EQ(dialog.GetTimeDisplay(), kelmediatypes::kTimeDisplay_Milliseconds);
  EXPECT_EQ(runner->SkippedActions(), 1);
}

TEST_F(SidecarDialog, CancelKeepsTheLiveFormatButNotTheStyling) {
  auto dialog = Dialog(kCaptioningExportFormat_SCC, kelmediatypes::kTimeDisplay_2997DropTimecode, true);
  auto runner = std::make_shared<ScriptedRunner>();
  runner->Select("FileFormatPopupID", kTtmlItem).Press("cancelButton");
  EXPECT_FALSE(Run(dialog, runner));
  EXPECT_EQ(dialog.GetFileFormat(), kCaptioningExportFormat_TTML);
  EXPECT_EQ(dialog.GetTimeDisplay(), kelmediatypes::kTimeDisplay_2997DropTimecode);  // timed text has it too
  EXPECT_TRUE(dialog.GetIncludeSRTStyling());
}

TEST_F(SidecarDialog, OtherWaysOfClosingLeaveTheFlagAndMissingLayoutsShowNothing) {
  auto dialog = Dialog(kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, false);
  auto close = std::make_shared<ScriptedRunner>();
  close->Close();
  EXPECT_FALSE(Run(dialog, close));  // fresh: cancelled
  auto ok = std::make_shared<ScriptedRunner>();
  ok->Press("okButton");
  EXPECT_TRUE(Run(dialog, ok));
  EXPECT_TRUE(Run(dialog, close));  // not reset between runs
  kelsol::SetModalRunner(nullptr);
  EXPECT_TRUE(dialog.RunModal());  // the headless default closes at once

  kelcaptioningui::Terminate();
  auto unshown = Dialog(kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, false);
  bool shown = false;
  auto look = std::make_shared<ScriptedRunner>();
  look->Inspect([&](UI_Dialog&) { shown = true; }).Press("okButton");
  EXPECT_FALSE(Run(unshown, look));
  EXPECT_FALSE(shown);
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
    EXPECT_EQ(e.Level(), 1);
    EXPECT_EQ(e.Key(), "$$$/kelcore/utility/Error/InvalidTypeConversion=Invalid type conversion.");
    EXPECT_STREQ(e.what(), "Invalid type conversion.");
  }
  std::istringstream broken("layout d { view kel_dialog(name: 'x') { kel_slider(); } }");
  EXPECT_THROW(dialog.ParseSolScript(broken, false), kelsol::LayoutScriptError);
}

TEST_F(SidecarDialog, TerminalChoicesComeBackThroughTheGetters) {
  auto dialog = Dialog(kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, false, "Episode 4");
  // Format popup, its first item (SCC); frame-rate popup, its second item; a wrong number; OK.
  std::istringstream keys("1\n1\n2\n2\n9\n3\n");
  std::ostringstream screen;
  kelsol::SetModalRunner(std::make_shared<kelsol::TerminalRunner>(keys, screen));
  EXPECT_TRUE(dialog.RunModal());
  EXPECT_EQ(dialog.GetFileFormat(), kCaptioningExportFormat_SCC);
  EXPECT_EQ(dialog.GetTimeDisplay(), kelmediatypes::kTimeDisplay_2997NonDropTimecode);
  const std::string shown = screen.str();
  EXPECT_NE(shown.find("== Caption Sidecar Settings For 'Episode 4' =="), std::string::npos);
  EXPECT_NE(shown.find("2) Frame Rate: [Milliseconds] (unavailable)"), std::string::npos);
  EXPECT_NE(shown.find("3) [ ] Include SRT Styling"), std::string::npos);
  EXPECT_NE(shown.find("There is no control 9."), std::string::npos);

  std::istringstream quit("q\n");
  kelsol::SetModalRunner(std::make_shared<kelsol::TerminalRunner>(quit, screen));
  auto fresh = Dialog(kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, false);
  EXPECT_FALSE(fresh.RunModal());
  std::istringstream nothing("");
  kelsol::SetModalRunner(std::make_shared<kelsol::TerminalRunner>(nothing, screen));
  EXPECT_FALSE(fresh.RunModal());  // the end of the input closes it too
}

}  // namespace

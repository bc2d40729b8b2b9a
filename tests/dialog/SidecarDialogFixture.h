#pragma once

#include <gtest/gtest.h>

#include "kelcaptioning/ExportFormats.h"
#include "kelcaptioningui/CaptionSidecarSettingsDialog.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/String.h"

namespace kel_test {

// The module initialised for each test, and no runner left installed after it.
class SidecarDialogFixture : public ::testing::Test {
 protected:
  void SetUp() override { kelcaptioningui::Initialize(); }
  void TearDown() override {
    kelsol::SetModalRunner(nullptr);
    kelcaptioningui::Terminate();
  }

  // A dialog for line-21 captions, which offer SCC, MCC, timed text, SRT and WebVTT, in that order.
  static kelcaptioningui::CaptionSidecarSettingsDialog Dialog(kelcaptioning::CaptioningExportFormat format,
                                                              kelmediatypes::TimeDisplay display, bool styling,
                                                              const char* subject = "") {
    return kelcaptioningui::CaptionSidecarSettingsDialog(nullptr, nullptr, format, display, styling,
                                                         kelcaptioning::StreamFormatSet{kelcaptioning::kStreamFormat_CEA608_CC1},
                                                         kelcore::string::UTF8ToUTF16(subject));
  }
};

}  // namespace kel_test

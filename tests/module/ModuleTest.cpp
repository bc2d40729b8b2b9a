#include <gtest/gtest.h>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "module/Module.h"

namespace {

using kelcore::string::AsciiToUTF16;

std::vector<std::uint8_t> DialogLayout() {
  std::vector<std::uint8_t> bytes{1, 2, 3};
  kelcaptioningui::GetResourceManager()->GetBinary(kelcaptioningui::kDialogResourceName, AsciiToUTF16("sol"), &bytes);
  return bytes;
}

TEST(Module, LifecycleKeepsAtMostOneManager) {
  EXPECT_EQ(kelcaptioningui::GetResourceManager(), nullptr);  // loaded: empty
  kelcaptioningui::Terminate();                                // no effect
  kelcaptioningui::Initialize();
  ASSERT_NE(kelcaptioningui::GetResourceManager(), nullptr);
  // A second Initialize replaces the manager; the first is deleted (LeakSanitizer would see it
  // otherwise) and the new one works.
  kelcaptioningui::Initialize();
  ASSERT_NE(kelcaptioningui::GetResourceManager(), nullptr);
  EXPECT_EQ(DialogLayout().size(), 724u);
  kelcaptioningui::Terminate();
  EXPECT_EQ(kelcaptioningui::GetResourceManager(), nullptr);
  kelcaptioningui::Terminate();
  EXPECT_EQ(kelcaptioningui::GetResourceManager(), nullptr);
  // Left initialised: unloading the module deletes the manager once.
  kelcaptioningui::Initialize();
}

TEST(Module, DialogLayoutIsTheCompiledInScript) {
  kelcaptioningui::Initialize();
  const std::vector<std::uint8_t> bytes = DialogLayout();
  // The exact size and the opening catch a script whose line ends were converted; its parse
  // is pinned by the layout-script suite.
  ASSERT_EQ(bytes.size(), 724u);
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_EQ(text.rfind("layout my_dialog\r\n{\r\n\tview kel_dialog", 0), 0u);
  EXPECT_NE(text.find("\t\t\tkel_checkbox (identifier:'IncludeSRTStylingID', "
                      "name:'$$$/kelcaptioningui/CaptionSettingsDialog/IncludeSRTStyling=Include SRT Styling');"),
            std::string::npos);

  // Names and types match without regard to case; unknown ones find nothing.
  auto* manager = kelcaptioningui::GetResourceManager();
  EXPECT_TRUE(manager->HasBinary(AsciiToUTF16("CAPTIONSIDECARSETTINGSDIALOG"), AsciiToUTF16("SOL")));
  std::vector<std::uint8_t> none{9};
  EXPECT_FALSE(manager->GetBinary(AsciiToUTF16("CaptionSidecarSettingsDialogX"), AsciiToUTF16("sol"), &none));
  EXPECT_TRUE(none.empty());
  EXPECT_FALSE(manager->HasBinary(kelcaptioningui::kDialogResourceName, AsciiToUTF16("png")));
  EXPECT_EQ(manager->GetResourceDataNames(AsciiToUTF16("Sol")).size(), 1u);
  kelui::utility::OS_ResourceManager nowhere(nullptr);
  EXPECT_FALSE(nowhere.HasBinary(kelcaptioningui::kDialogResourceName, AsciiToUTF16("sol")));
  kelcaptioningui::Terminate();
}

}  // namespace

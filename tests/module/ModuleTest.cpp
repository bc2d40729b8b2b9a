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
  EXPECT_EQ(DialogLayout().size(), 724u);
  kelcaptioningui::Terminate();
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
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()).rfind("layout my_dialog\r\n{\r\n\tview kel_dialog", 0), 0u);
  kelcaptioningui::Terminate();
}

}  // namespace

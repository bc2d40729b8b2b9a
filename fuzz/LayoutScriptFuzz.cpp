// Feeds arbitrary bytes to the layout-script parser and the control builder: they must either
// build a dialog or throw LayoutScriptError, never crash, hang or throw anything else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "kelsol/LayoutScript.h"
#include "kelsol/UI_Sol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const kelsol::LayoutScript script =
        kelsol::ParseLayoutScript(std::string_view(reinterpret_cast<const char*>(data), size));
    // Scripts that parse go on to the control builder, which has its own checks.
    const kelui::ui::UI_DialogPtr dialog = kelsol::BuildDialog(script);
    (void)dialog;
  } catch (const kelsol::LayoutScriptError&) {
  }
  return 0;
}

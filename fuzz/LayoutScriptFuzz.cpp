// Feeds arbitrary bytes to the layout-script parser: it must either build a tree or throw
// LayoutScriptError, never crash, hang or throw anything else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "kelsol/LayoutScript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const kelsol::LayoutScript script =
        kelsol::ParseLayoutScript(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)script;
  } catch (const kelsol::LayoutScriptError&) {
  }
  return 0;
}

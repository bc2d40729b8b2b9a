// Feeds arbitrary bytes to the WebVTT reader: it must either make a caption list or throw
// ReadError; free cues of a list it makes are placed, and the list goes through placement and
// the timeline.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ReaderPipeline.h"
#include "readers/WebVttReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> unsupported;
  kelcaptioning::CaptionListPtr list;
  try {
    list = kelcaption::ReadWebVtt(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.vtt", {},
                                  unsupported);
  } catch (const kelcaption::ReadError&) {
    return 0;
  }
  if (!list) __builtin_trap();
  for (const kelcaptioning::CaptionPtr& caption : list->GetCaptions()) kelcaption::PlaceFreeCues(*caption, 1536, 864);
  kel_fuzz::PlaceAndCut(*list);
  return 0;
}

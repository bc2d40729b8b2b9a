// Feeds arbitrary bytes to the WebVTT reader: it must either make a caption list or throw
// ReadError; a list it makes goes through placement (free cues included) and the timeline.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ReaderPipeline.h"
#include "captionfiles/WebVttReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelcaptionfiles::ReadResult result;
  try {
    result = kelcaptionfiles::ReadWebVtt(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.vtt");
  } catch (const kelcaptionfiles::ReadError&) {
    return 0;
  }
  if (!result.List()) __builtin_trap();
  kel_fuzz::PlaceAndCut(result);
  return 0;
}

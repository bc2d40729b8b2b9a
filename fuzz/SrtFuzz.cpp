// Feeds arbitrary bytes to the SubRip reader: it must either make a caption list or throw
// ReadError; a list it makes must go through placement and the timeline.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ReaderPipeline.h"
#include "captionfiles/SrtReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelcaptionfiles::ReadResult result;
  try {
    result = kelcaptionfiles::ReadSrt(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.srt");
  } catch (const kelcaptionfiles::ReadError&) {
    return 0;
  }
  if (!result.List()) __builtin_trap();  // a reader that does not throw returns a list
  kel_fuzz::PlaceAndCut(result);
  return 0;
}

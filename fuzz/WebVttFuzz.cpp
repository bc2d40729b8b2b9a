// Feeds arbitrary bytes to the WebVTT reader: it must make a caption list (or throw ReadError),
// which goes through placement (free cues included) and the timeline. The same bytes as one bad
// block between two good cues must leave both good cues read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ReaderPipeline.h"
#include "captionfiles/WebVttReader.h"

namespace {

void GoodCuesAroundABadOne(std::string_view bad) {
  const std::string file = "WEBVTT\n\nfirst\n00:01.000 --> 00:02.000 align:start\nfirst <b>good</b> &amp; cue\n\n" +
                           std::string(bad) + "\n\n01:00:00.000 --> 01:00:01.500 line:10%\nlast good\ncue\n";
  const kelcaptionfiles::ReadResult result = kelcaptionfiles::ReadWebVtt(file, "around.vtt");
  if (!kel_fuzz::HasCaption(*result.List(), u"first good & cue", 1000, 2000) ||
      !kel_fuzz::HasCaption(*result.List(), u"last good|cue", 3'600'000, 3'601'500)) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kelcaptionfiles::ReadResult result;
  try {
    result = kelcaptionfiles::ReadWebVtt(bytes, "fuzz.vtt");
  } catch (const kelcaptionfiles::ReadError&) {
    return 0;
  }
  if (!result.List()) __builtin_trap();
  kel_fuzz::PlaceAndCut(result);
  GoodCuesAroundABadOne(bytes);
  return 0;
}

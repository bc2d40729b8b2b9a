// Feeds arbitrary bytes to the SubRip reader, decoded as the caption files library decodes text:
// it must make a caption list (or throw ReadError), which must go through placement and the
// timeline. The same bytes as one bad cue (its number, then the bytes for its time line and text)
// between two good ones must leave both good cues read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ReaderPipeline.h"
#include "captionfiles/SrtReader.h"
#include "captionfiles/TextDecoding.h"

namespace {

void GoodCuesAroundABadOne(std::string_view bad) {
  const std::string file = "1\n00:00:01,000 --> 00:00:02,000\nfirst <i>good</i> cue\n\n5\n" + std::string(bad) +
                           "\n\n9\n01:00:00,000 --> 01:00:01,500\nlast good\ncue\n";
  const kelcaptionfiles::ReadResult result = kelcaptionfiles::ReadSrt(file, "around.srt");
  if (!kel_fuzz::HasCaption(*result.List(), u"first good cue", 1000, 2000) ||
      !kel_fuzz::HasCaption(*result.List(), u"last good|cue", 3'600'000, 3'601'500)) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kelcaptionfiles::ReadResult result;
  try {
    result = kelcaptionfiles::ReadSrt(kelcaptionfiles::DecodeText(bytes).utf8, "fuzz.srt");
  } catch (const kelcaptionfiles::ReadError&) {
    return 0;
  }
  if (!result.List()) __builtin_trap();  // a reader that does not throw returns a list
  kel_fuzz::PlaceAndCut(result);
  GoodCuesAroundABadOne(bytes);
  return 0;
}

// Feeds arbitrary bytes to the JSON caption document reader: it must either make a caption list
// or throw ReadError. A list it makes is written back, and that document must read again and
// write the same text: nothing that was read may be lost or changed on the way.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "ReaderPipeline.h"
#include "kelcaptionfiles/CaptionDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelcaptionfiles::ReadResult result;
  try {
    result = kelcaptionfiles::ReadCaptionDocument(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.json");
  } catch (const kelcaptionfiles::ReadError&) {
    return 0;
  }
  if (!result.List()) __builtin_trap();
  const std::string written = kelcaptionfiles::WriteCaptionDocument(*result.List());
  std::string again;
  try {
    again = kelcaptionfiles::WriteCaptionDocument(*kelcaptionfiles::ReadCaptionDocument(written, "written.json").List());
  } catch (const kelcaptionfiles::ReadError& e) {
    std::fprintf(stderr, "a written document does not read back: %s\n%s", e.what(), written.c_str());
    __builtin_trap();
  }
  if (again != written) {
    std::fprintf(stderr, "a written document reads back differently:\n%s\n---\n%s", written.c_str(), again.c_str());
    __builtin_trap();
  }
  kel_fuzz::PlaceAndCut(result);
  return 0;
}

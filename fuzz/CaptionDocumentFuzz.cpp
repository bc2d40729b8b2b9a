// Feeds arbitrary bytes to the JSON caption document reader: it must either make a caption list
// or throw ReadError. A list it makes is written back, and that document must read again and
// write the same text: nothing that was read may be lost or changed on the way. Bytes that are one
// JSON value, as a bad caption between two good ones, must leave both good captions read.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "ReaderPipeline.h"
#include "kelcaptionfiles/CaptionDocument.h"

namespace {

void GoodCaptionsAroundABadOne(std::string_view bad) {
  // Only one JSON value stands in one caption's place; other bytes would change the document.
  // The JSON parser takes a NUL for the end of its input, so a value may end at one: such bytes
  // are no value in the middle of a document.
  if (bad.find('\0') != std::string_view::npos || !nlohmann::json::accept(bad)) return;
  const std::string document =
      R"({"format": "OPEN", "captions": [{"begin": "00:00:01.000", "end": "00:00:02.000", "paragraphs": [{"spans": [{"text": "first"}]}]}, )" +
      std::string(bad) +
      R"(, {"begin": 914457600000000, "end": "01:00:01.500", "paragraphs": [{"spans": [{"text": "last"}]}]}]})";
  const kelcaptionfiles::ReadResult read = kelcaptionfiles::ReadCaptionDocument(document, "around.json");
  // The last caption begins at a tick count: one hour.
  if (!read.List() || !kel_fuzz::HasCaption(*read.List(), u"first", 1000, 2000) ||
      !kel_fuzz::HasCaption(*read.List(), u"last", 3'600'000, 3'601'500)) {
    __builtin_trap();
  }
}

}  // namespace

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
  GoodCaptionsAroundABadOne(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}

// Feeds arbitrary bytes to the timed-text (TTML) reader: it must make a caption list (or throw
// ReadError), which goes through placement (region boxes included) and the timeline. The same
// bytes, escaped, as the times, style, region and text of one paragraph between two good ones
// must leave both good paragraphs read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ReaderPipeline.h"
#include "captionfiles/TtmlReader.h"
#include "kelcaptionfiles/ReadError.h"

namespace {

// The bytes as XML attribute text: markup escaped, bytes outside printable ASCII as '?'.
std::string Escaped(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    if (c == '<') out += "&lt;";
    else if (c == '&') out += "&amp;";
    else if (c == '"') out += "&quot;";
    else out += c >= ' ' && c <= '~' ? c : '?';
  }
  return out;
}

void GoodParagraphsAroundABadOne(std::string_view bytes) {
  const std::string bad = Escaped(bytes.substr(0, 512));
  const std::string file =
      "<tt xmlns=\"http://www.w3.org/ns/ttml\" xmlns:tts=\"http://www.w3.org/ns/ttml#styling\"><head><styling>"
      "<style xml:id=\"s\" style=\"" + bad + "\" tts:color=\"" + bad + "\"/></styling></head><body><div>"
      "<p begin=\"1s\" end=\"2s\">first <span tts:fontWeight=\"bold\">good</span> &amp; paragraph</p>"
      "<p begin=\"" + bad + "\" end=\"" + bad + "\" dur=\"" + bad + "\" style=\"" + bad + " s\" region=\"" + bad +
      "\" tts:extent=\"" + bad + "\" tts:fontSize=\"" + bad + "\">" + bad + "<br/><span begin=\"" + bad + "\">" + bad + "</span></p>"
      "<p begin=\"01:00:00.000\" dur=\"1500ms\">last good<br/>paragraph</p></div></body></tt>";
  const kelcaptionfiles::ReadResult result = kelcaptionfiles::ReadTtml(file, "around.ttml");
  if (!kel_fuzz::HasCaption(*result.List(), u"first good & paragraph", 1000, 2000) ||
      !kel_fuzz::HasCaption(*result.List(), u"last good|paragraph", 3'600'000, 3'601'500)) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  GoodParagraphsAroundABadOne(bytes);
  kelcaptionfiles::ReadResult result;
  try {
    result = kelcaptionfiles::ReadTtml(bytes, "fuzz.ttml");
  } catch (const kelcaptionfiles::ReadError&) {
    return 0;
  }
  if (!result.List()) __builtin_trap();
  kel_fuzz::PlaceAndCut(result);
  return 0;
}

// Prints what the WebVTT parser makes of a file as JSON, named as a browser's text track names
// it (VTTCue, VTTRegion): scripts/webvtt-suite runs a folder of WebVTT parsing tests through it.
#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "captionfiles/ReadProblems.h"
#include "captionfiles/TextLines.h"
#include "captionfiles/WebVttParser.h"

namespace {

using nlohmann::json;
using namespace kelcaptionfiles::webvtt;

json Number(const std::optional<double>& value) { return value ? json(*value) : json("auto"); }

json CueJson(const Cue& cue) {
  static const char* kDirections[] = {"", "rl", "lr"};
  static const char* kLineAligns[] = {"start", "center", "end"};
  static const char* kPositionAligns[] = {"auto", "line-left", "center", "line-right"};
  static const char* kAligns[] = {"start", "center", "end", "left", "right"};
  return {{"id", cue.id},
          {"startTime", static_cast<double>(cue.start.milliseconds) / 1000.0},
          {"endTime", static_cast<double>(cue.end.milliseconds) / 1000.0},
          {"text", cue.text},
          {"region", cue.region >= 0 ? json(cue.region) : json(nullptr)},
          {"vertical", kDirections[static_cast<int>(cue.direction)]},
          {"snapToLines", cue.snapToLines},
          {"line", Number(cue.line)},
          {"lineAlign", kLineAligns[static_cast<int>(cue.lineAlign)]},
          {"position", Number(cue.position)},
          {"positionAlign", kPositionAligns[static_cast<int>(cue.positionAlign)]},
          {"size", cue.size},
          {"align", kAligns[static_cast<int>(cue.align)]},
          {"pauseOnExit", false}};
}

json RegionJson(const Region& region) {
  return {{"id", region.id},
          {"width", region.width},
          {"lines", region.lines},
          {"regionAnchorX", region.anchorX},
          {"regionAnchorY", region.anchorY},
          {"viewportAnchorX", region.viewportAnchorX},
          {"viewportAnchorY", region.viewportAnchorY},
          {"scroll", region.scrollUp ? "up" : ""}};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: webvtt_cue_dump FILE.vtt\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  kelcaptionfiles::FileNotes notes;
  const std::string name = argv[1];
  kelcaptionfiles::ReadProblems problems(name, false, notes);
  const std::string text = kelcaptionfiles::ReadableUtf8(bytes.str(), problems);
  const File file = ParseFile(text, problems);
  json cues = json::array(), regions = json::array(), sheets = json::array();
  for (const Cue& cue : file.cues) cues.push_back(CueJson(cue));
  for (const Region& region : file.regions) regions.push_back(RegionJson(region));
  for (const StyleSheet& sheet : file.styleSheets) sheets.push_back(sheet.text);
  std::cout << json{{"loaded", file.signature}, {"cues", cues}, {"regions", regions}, {"styleSheets", sheets}}.dump(
                   -1, ' ', false, json::error_handler_t::replace)
            << "\n";
  return 0;
}

#include "kelcaption/CaptionFiles.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "kelcaptioning/Formats.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "readers/CaptionDocument.h"
#include "readers/EbuStlReader.h"
#include "readers/ModelDocument.h"
#include "readers/SccReader.h"
#include "readers/SrtReader.h"
#include "readers/WebVttReader.h"

namespace kelcaption {

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  return text.str();
}

std::string LowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

void Warn(const std::string& path, const std::vector<std::string>& notes) {
  for (const std::string& what : notes) std::fprintf(stderr, "kelcaption: %s: not applied: %s\n", path.c_str(), what.c_str());
}

// Measures and places the captions of a list read from text, then cuts it into states.
CaptionTimeline TimelineOfList(kelcaptioning::CaptionList& list, int width, int height, Frame& measuring) {
  const kelcaptioning::StreamFormat format = list.GetStreamFormat();
  const int areaWidth = kelcaptioning::DefaultCaptionAreaSize(width);
  const int areaHeight = kelcaptioning::DefaultCaptionAreaSize(height);
  if (!kelcaptioning::IsOpenCaptions(format)) {
    // Grid captions measure in characters and rows and are placed on the format's grid.
    const kelcaptioning::CaptioningMetadata metadata = list.GetMetadata();
    for (const kelcaptioning::CaptionPtr& caption : list.GetCaptions()) {
      caption->UpdateLineWidthAndHeightFromText(format, metadata.GetMaxCharactersInRow(), metadata.GetMaxNumberOfRow());
      caption->UpdatePositionsFromAnchorID(0, 0, format);
    }
  } else {
    for (kelcaptioning::CaptionPtr caption : list.GetCaptions()) {
      kelcaptioningui::RefreshCaptionSizeInfo(caption, &measuring.Inkpad(), false, 0, 0);
      caption->UpdatePositionsFromAnchorID(areaWidth, areaHeight, format);
      PlaceFreeCues(*caption, areaWidth, areaHeight);
    }
  }
  return TimelineOf(list, areaWidth, areaHeight, kelcaptioning::kDefaultCaptionAreaRatio);
}

}  // namespace

CaptionTimeline LoadCaptionFile(const std::string& path, int width, int height, Frame& measuring,
                                const CaptionFileOptions& options) {
  const std::string extension = LowerExtension(path);
  SubtitleStyle style;
  style.fontSize = std::floor(static_cast<float>(kelcaptioning::DefaultCaptionAreaSize(height)) / 15.0f / 1.5f);
  kelcaptioning::CaptionListPtr list;
  if (extension == ".json") {
    const std::string text = ReadFile(path);
    if (std::optional<CaptionTimeline> states = ReadModelDocument(text, path)) return std::move(*states);
    list = ReadCaptionDocument(text, path);
  } else if (extension == ".srt") {
    list = ReadSrt(ReadFile(path), path, style);
  } else if (extension == ".vtt") {
    std::vector<std::string> unsupported;
    list = ReadWebVtt(ReadFile(path), path, style, unsupported);
    Warn(path, unsupported);
  } else if (extension == ".scc") {
    SccCaptions scc = ReadScc(ReadFile(path), path, options.channel);
    Warn(path, scc.notes);
    return std::move(scc.timeline);
  } else if (extension == ".stl") {
    EbuStlSubtitles stl = ReadEbuStl(ReadFile(path), path, style);
    Warn(path, stl.notes);
    if (!stl.openCaptions) return std::move(stl.teletext);
    list = stl.openCaptions;
  } else {
    throw std::runtime_error(path + ": caption files are read as SubRip (.srt), WebVTT (.vtt), Scenarist (.scc), EBU STL "
                                    "(.stl) or caption documents (.json)");
  }
  return TimelineOfList(*list, width, height, measuring);
}

}  // namespace kelcaption

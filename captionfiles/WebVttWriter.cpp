#include "captionfiles/WebVttWriter.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "captionfiles/ExportText.h"
#include "captionfiles/ExportTimes.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

constexpr std::array<const char*, 8> kClassNames = {"white", "lime", "cyan", "red", "yellow", "magenta", "blue", "black"};
constexpr std::array<CaptioningColor, 8> kClassColors = {
    CaptioningColor{1, 1, 1}, CaptioningColor{0, 1, 0}, CaptioningColor{0, 1, 1}, CaptioningColor{1, 0, 0},
    CaptioningColor{1, 1, 0}, CaptioningColor{1, 0, 1}, CaptioningColor{0, 0, 1}, CaptioningColor{0, 0, 0}};

std::string Percent(double fraction) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g%%", std::clamp(fraction, 0.0, 1.0) * 100);
  return text;
}

const char* ShareName(double share, const char* start, const char* end) {
  return share <= 0.0 ? start : share >= 1.0 ? end : "center";
}

// The cue settings that put the cue where it stands.
std::string Settings(const ExportCue& cue) {
  std::string settings;
  const auto add = [&settings](const std::string& setting) { settings += " " + setting; };
  const ParagraphStyleAttributes::TextAlignmentType alignment =
      cue.lines.empty() ? ParagraphStyleAttributes::kTextAlignment_Center : cue.lines.front().alignment;
  if (cue.gridRows > 0) {
    // Grid lines: the first line's row down and its column across, left-aligned as the grid shows it.
    const ExportLine& first = cue.lines.front();
    add("line:" + Percent(static_cast<double>(first.row) / cue.gridRows));
    add("position:" + Percent(static_cast<double>(first.column) / std::max(cue.gridColumns, 1)));
    add("align:left");
    return settings;
  }
  if (cue.box) {
    const CueBox& box = *cue.box;
    if (box.line) add("line:" + std::to_string(*box.line));
    if (box.y) add("line:" + Percent(*box.y) + "," + ShareName(box.alignY, "start", "end"));
    // Where the alignment alone puts a cue needs no position: one would make it a free cue.
    const double share = alignment == ParagraphStyleAttributes::kTextAlignment_Left    ? 0.0
                         : alignment == ParagraphStyleAttributes::kTextAlignment_Right ? 1.0
                                                                                        : 0.5;
    if (box.x && (*box.x != share || box.alignX != share)) {
      add("position:" + Percent(*box.x) + "," + ShareName(box.alignX, "line-left", "line-right"));
    }
    if (box.width && *box.width < 1.0) add("size:" + Percent(*box.width));
  } else if (cue.anchor == kAnchor_Free && cue.position) {
    add("line:" + Percent(boost::rational_cast<double>(cue.position->GetY())));
    add("position:" + Percent(boost::rational_cast<double>(cue.position->GetX())));
  } else if (cue.anchor / 3 == 0) {
    add("line:0");
  } else if (cue.anchor / 3 == 1) {
    add("line:50%,center");
  }
  if (alignment != ParagraphStyleAttributes::kTextAlignment_Center) add(std::string("align:") + AlignmentName(alignment));
  return settings;
}

std::string StyledText(const ExportRun& run, FileNotes& notes) {
  std::string open, close;
  std::string classes;
  bool exact = true;
  if (run.style.color != kCaptioningColor_White) {
    classes += std::string(".") + kClassNames[NearestColor(run.style.color, kClassColors, exact)];
    if (!exact) notes.Count("colours other than WebVTT's eight colour classes (the nearest written)", {});
  }
  if (run.style.background) {
    classes += std::string(".bg_") + kClassNames[NearestColor(*run.style.background, kClassColors, exact)];
    if (!exact) notes.Count("colours other than WebVTT's eight colour classes (the nearest written)", {});
  }
  if (!classes.empty()) open += "<c" + classes + ">", close = "</c>" + close;
  if (run.style.bold) open += "<b>", close = "</b>" + close;
  if (run.style.italic) open += "<i>", close = "</i>" + close;
  if (run.style.underline) open += "<u>", close = "</u>" + close;
  return open + EscapedMarkup(run.text) + close;
}

}  // namespace

std::string WriteWebVtt(const ExportCues& cues, FileNotes& notes) {
  std::string out = "WEBVTT\n\n";
  for (const ExportCue& cue : cues.cues) {
    out += ClockTimeText(cue.begin, '.') + " --> " + ClockTimeText(cue.end, '.') + Settings(cue) + "\n";
    for (const ExportLine& line : cue.lines) {
      for (const ExportRun& run : line.runs) out += StyledText(run, notes);
      out += "\n";
    }
    out += "\n";
  }
  return out;
}

}  // namespace kelcaptionfiles

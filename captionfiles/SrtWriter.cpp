#include "captionfiles/SrtWriter.h"

#include "captionfiles/ExportText.h"
#include "captionfiles/ExportTimes.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

// {\an1} to {\an9}: numbered as on a keypad, bottom row first.
int KeypadNumber(AnchorID anchor) {
  const int id = static_cast<int>(anchor);
  if (id < 0 || id > 8) return 2;
  return (2 - id / 3) * 3 + id % 3 + 1;
}

std::string StyledText(const ExportRun& run) {
  std::string text = Utf8Of(run.text), open, close;
  const ExportStyle& style = run.style;
  if (style.color != kCaptioningColor_White) {
    open += "<font color=\"" + HexColorText(style.color) + "\">";
    close = "</font>" + close;
  }
  if (style.bold) open += "<b>", close = "</b>" + close;
  if (style.italic) open += "<i>", close = "</i>" + close;
  if (style.underline) open += "<u>", close = "</u>" + close;
  return open + text + close;
}

}  // namespace

std::string WriteSrt(const ExportCues& cues, bool styling, FileNotes& notes) {
  std::string out;
  int number = 0;
  for (const ExportCue& cue : cues.cues) {
    out += std::to_string(++number) + "\n" + ClockTimeText(cue.begin, ',') + " --> " + ClockTimeText(cue.end, ',') +
           "\n";
    const AnchorID anchor = SubtitleAnchor(cue);
    if (cue.box || cue.position) notes.Count("cues placed by position (written at their anchor)", {});
    if (styling && anchor != kAnchor_BottomCenter && anchor != kAnchor_Free) {
      out += "{\\an" + std::to_string(KeypadNumber(anchor)) + "}";
    }
    for (const ExportLine& line : cue.lines) {
      for (const ExportRun& run : line.runs) {
        out += styling ? StyledText(run) : Utf8Of(run.text);
        if (run.style.background) {
          notes.Count("text backgrounds (SubRip has none)", {});
        }
      }
      out += "\n";
    }
    out += "\n";
  }
  return out;
}

}  // namespace kelcaptionfiles

#include "captionfiles/SrtReader.h"

#include "captionfiles/CueText.h"

#include <cctype>
#include <optional>
#include <vector>

#include "kelcore/String.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

using namespace cues;

bool IsCueNumber(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(s[i])) && s[i] != ' ' && s[i] != '\t') return false;
  }
  return true;
}

bool LooksLikeTiming(std::string_view s) { return s.find("-->") != std::string_view::npos; }

}  // namespace

ReadResult ReadSrt(std::string_view text, const std::string& fileName, const SubtitleStyle& style) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const std::vector<Line> lines = SplitLines(text);
  CheckUtf8(lines, fileName);
  CaptionListPtr list(new CaptionList());
  list->SetStreamFormat(kStreamFormat_OpenCaptions);
  std::size_t i = 0;
  while (i < lines.size()) {
    if (IsBlank(lines[i].text)) {
      ++i;
      continue;
    }
    const Line* timing = &lines[i];
    if (IsCueNumber(lines[i].text)) {
      if (i + 1 >= lines.size() || !LooksLikeTiming(lines[i + 1].text)) {
        throw ReadError(fileName, lines[i].number + 1, 1, "expected a time line (00:00:01,000 --> 00:00:02,000)");
      }
      timing = &lines[++i];
    } else if (!LooksLikeTiming(lines[i].text)) {
      throw ReadError(fileName, lines[i].number, 1, "expected a cue number or a time line");
    }
    const CueTiming times = ParseCueTiming(fileName, *timing, TimeSyntax::kSubRip);
    ++i;
    CaptionPtr caption(new Caption());
    // Text runs to the next blank line, or to a cue that follows without one.
    while (i < lines.size() && !IsBlank(lines[i].text) && !LooksLikeTiming(lines[i].text) &&
           !(IsCueNumber(lines[i].text) && i + 1 < lines.size() && LooksLikeTiming(lines[i + 1].text))) {
      caption->AppendCaptionTextParagraph(ParagraphOf(lines[i].text, style));
      ++i;
    }
    if (caption->GetNumParagraphs() == 0) throw ReadError(fileName, timing->number + 1, 1, "the cue has no text");
    caption->SetBeginTime(times.begin);
    caption->SetEndTime(times.end);
    list->InsertCaption(caption);
  }
  return {list, {}};
}

}  // namespace kelcaptionfiles

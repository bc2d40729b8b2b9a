#include "captionfiles/SrtReader.h"

#include <cctype>
#include <vector>

#include "captionfiles/ReadProblems.h"
#include "captionfiles/SrtText.h"
#include "captionfiles/SrtTiming.h"
#include "captionfiles/TextLines.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

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

// Where a cue starts: its time line, or its number right before one. A line that stands alone
// before a time line is taken for a cue number even when it is none; text right above a time
// line is the cue number only when it is a number.
bool StartsCue(const std::vector<Line>& lines, std::size_t i) {
  if (LooksLikeTiming(lines[i].text)) return true;
  if (i + 1 >= lines.size() || !LooksLikeTiming(lines[i + 1].text) || IsBlank(lines[i].text)) return false;
  return IsCueNumber(lines[i].text) || i == 0 || IsBlank(lines[i - 1].text);
}

}  // namespace

ReadResult ReadSrt(std::string_view bytes, const std::string& fileName, const ReadOptions& options) {
  FileNotes notes;
  CueBoxes boxes;
  ReadProblems problems(fileName, options.strict, notes);
  const std::string text = ReadableUtf8(bytes, problems);
  const std::vector<Line> lines = SplitLines(text);
  CaptionListPtr list(new CaptionList());
  list->SetStreamFormat(kStreamFormat_OpenCaptions);
  std::size_t i = 0;
  while (i < lines.size()) {
    if (IsBlank(lines[i].text)) {
      ++i;
      continue;
    }
    if (!StartsCue(lines, i)) {
      problems.Report(FilePlace::At(lines[i].number, 1), "expected a cue number or a time line",
                      "lines outside any cue (skipped)");
      ++i;
      continue;
    }
    if (!LooksLikeTiming(lines[i].text)) {
      if (!IsCueNumber(lines[i].text)) {
        problems.Report(FilePlace::At(lines[i].number, 1), "expected a cue number",
                        "cue numbers that are not numbers (passed over)");
      }
      ++i;
    }
    const Line& timingLine = lines[i++];
    const std::optional<SrtTiming> timing = ReadSrtTiming(timingLine, problems);
    // The text runs to the next cue, or to a cue number after a blank line (a cue whose time
    // line is missing); blank lines at its end are not text.
    std::vector<Line> textLines;
    for (; i < lines.size() && !StartsCue(lines, i); ++i) {
      if (IsCueNumber(lines[i].text) && IsBlank(lines[i - 1].text)) break;
      if (!IsBlank(lines[i].text)) textLines.push_back(lines[i]);
    }
    if (!timing) continue;
    if (timing->rest < timingLine.text.size() && !IsBlank(timingLine.text.substr(timing->rest))) {
      notes.Count("text after the end time, such as X1:Y1 coordinates (not shown)",
                  FilePlace::At(timingLine.number, static_cast<int>(timing->rest) + 1));
    }
    const auto [caption, box] = ReadSrtCueText(textLines, options.style, problems);
    if (!caption) {
      problems.Report(FilePlace::At(timingLine.number + 1, 1), "the cue has no text", "cues without text (nothing to show)",
                      NoteKind::kNotShown);
      continue;
    }
    caption->SetBeginTime(timing->begin);
    caption->SetEndTime(timing->end);
    if (list->InsertCaption(caption) && box) boxes[caption.get()] = *box;
  }
  return {list, std::move(notes), std::move(boxes)};
}

}  // namespace kelcaptionfiles

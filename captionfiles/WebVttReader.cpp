#include "captionfiles/WebVttReader.h"

#include <algorithm>
#include <cstdlib>

#include "captionfiles/CueText.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;
using namespace cues;

namespace {

struct CueSettings {
  ParagraphStyleAttributes::TextAlignmentType alignment = ParagraphStyleAttributes::kTextAlignment_Center;
  double position = -1;  // fraction, or < 0 when not given
  double line = -1;
};

// "N%" as a fraction; negative when it is not a percentage from 0 to 100.
double Percentage(std::string_view value) {
  if (value.empty() || value.back() != '%') return -1;
  const std::string number(value.substr(0, value.size() - 1));
  char* end = nullptr;
  const double v = std::strtod(number.c_str(), &end);
  if (number.empty() || *end != '\0' || v < 0 || v > 100) return -1;
  return v / 100.0;
}

CueSettings ParseSettings(std::string_view text, const FilePlace& textStart, FileNotes& notes) {
  CueSettings settings;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t end = i;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
    const std::string_view token = text.substr(i, end - i);
    const FilePlace at = FilePlace::At(textStart.line, textStart.column + static_cast<int>(i));
    const auto note = [&](const std::string& what) { notes.Count(what, at); };
    i = end;
    if (token.empty()) continue;
    const std::size_t colon = token.find(':');
    const std::string name(token.substr(0, colon));
    std::string_view value = colon == std::string_view::npos ? std::string_view() : token.substr(colon + 1);
    if (name == "align") {
      if (value == "start" || value == "left")
        settings.alignment = ParagraphStyleAttributes::kTextAlignment_Left;
      else if (value == "end" || value == "right")
        settings.alignment = ParagraphStyleAttributes::kTextAlignment_Right;
      else if (value == "center" || value == "middle")
        settings.alignment = ParagraphStyleAttributes::kTextAlignment_Center;
      else
        note("cue setting align:" + std::string(value));
    } else if (name == "position") {
      const std::size_t comma = value.find(',');
      if (comma != std::string_view::npos) {
        note("position alignment (" + std::string(value.substr(comma + 1)) + ")");
        value = value.substr(0, comma);
      }
      settings.position = Percentage(value);
      if (settings.position < 0) note("cue setting position:" + std::string(value));
    } else if (name == "line") {
      const std::size_t comma = value.find(',');
      if (comma != std::string_view::npos) value = value.substr(0, comma);
      settings.line = Percentage(value);
      if (settings.line < 0) note("line numbers (line:" + std::string(value) + ")");
    } else {
      note("cue setting " + name);
    }
  }
  return settings;
}

}  // namespace

ReadResult ReadWebVtt(std::string_view text, const std::string& fileName, const SubtitleStyle& style) {
  FileNotes notes;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const std::vector<Line> lines = SplitLines(text);
  CheckUtf8(lines, fileName);
  const std::string_view first = lines.empty() ? std::string_view() : lines[0].text;
  if (first.substr(0, 6) != "WEBVTT" || (first.size() > 6 && first[6] != ' ' && first[6] != '\t')) {
    throw ReadError(fileName, 1, 1, "a WebVTT file starts with the line WEBVTT");
  }
  CaptionListPtr list(new CaptionList());
  list->SetStreamFormat(kStreamFormat_OpenCaptions);
  std::size_t i = 1;
  while (i < lines.size() && !IsBlank(lines[i].text)) ++i;  // the header
  while (i < lines.size()) {
    if (IsBlank(lines[i].text)) {
      ++i;
      continue;
    }
    const std::string_view head = lines[i].text;
    const bool note = head.substr(0, 4) == "NOTE", styleBlock = head.substr(0, 5) == "STYLE",
               region = head.substr(0, 6) == "REGION";
    if ((note || styleBlock || region) && head.find("-->") == std::string_view::npos) {
      if (styleBlock) notes.Count("STYLE blocks", FilePlace::At(lines[i].number, 1));
      if (region) notes.Count("REGION blocks", FilePlace::At(lines[i].number, 1));
      while (i < lines.size() && !IsBlank(lines[i].text)) ++i;
      continue;
    }
    if (head.find("-->") == std::string_view::npos) ++i;  // a cue identifier
    if (i >= lines.size() || lines[i].text.find("-->") == std::string_view::npos) {
      throw ReadError(fileName, i < lines.size() ? lines[i].number : lines.back().number + 1, 1,
                      "expected a cue time line (00:01.000 --> 00:02.000)");
    }
    const Line& timingLine = lines[i];
    const CueTiming times = ParseCueTiming(fileName, timingLine, TimeSyntax::kWebVtt);
    const CueSettings settings = ParseSettings(
        timingLine.text.substr(times.rest), FilePlace::At(timingLine.number, static_cast<int>(times.rest) + 1), notes);
    ++i;
    CaptionPtr caption(new Caption());
    while (i < lines.size() && !IsBlank(lines[i].text)) {
      CaptionTextParagraphPtr paragraph = ParagraphOf(lines[i].text, style, &notes, FilePlace::At(lines[i].number, 1));
      ParagraphStyleAttributes paragraphStyle = paragraph->GetParagraphStyleAttributes();
      paragraphStyle.SetTextAlignment(settings.alignment);
      const bool free = settings.line >= 0 || settings.position >= 0;
      if (free) {
        paragraphStyle.SetAnchorID(ParagraphStyleAttributes::kAnchor_Free);
        const int per = 10000;
        paragraph->SetCaptionPosition(Position(
            boost::rational<int>(static_cast<int>((settings.position >= 0 ? settings.position : 0.5) * per), per),
            boost::rational<int>(static_cast<int>((settings.line >= 0 ? settings.line : 1.0) * per), per)));
      } else if (settings.alignment == ParagraphStyleAttributes::kTextAlignment_Left) {
        paragraphStyle.SetAnchorID(ParagraphStyleAttributes::kAnchor_BottomLeft);
      } else if (settings.alignment == ParagraphStyleAttributes::kTextAlignment_Right) {
        paragraphStyle.SetAnchorID(ParagraphStyleAttributes::kAnchor_BottomRight);
      }
      paragraph->SetParagraphStyleAttributes(paragraphStyle);
      caption->AppendCaptionTextParagraph(paragraph);
      ++i;
    }
    if (caption->GetNumParagraphs() == 0) throw ReadError(fileName, timingLine.number + 1, 1, "the cue has no text");
    caption->SetBeginTime(times.begin);
    caption->SetEndTime(times.end);
    list->InsertCaption(caption);
  }
  return {list, std::move(notes)};
}

}  // namespace kelcaptionfiles

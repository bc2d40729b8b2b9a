#include "captionfiles/TextLines.h"

#include "captionfiles/Utf8.h"

namespace kelcaptionfiles {

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  int number = 1;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
      lines.push_back({text.substr(start, i - start), number++});
      if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  return lines;
}

bool IsBlank(std::string_view s) {
  for (char c : s) {
    if (c != ' ' && c != '\t') return false;
  }
  return true;
}

FilePlace PlaceOf(std::string_view text, std::size_t offset) {
  int line = 1;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (text[i] == '\n' || text[i] == '\r') {
      ++line;
      lineStart = i + 1;
    }
  }
  return FilePlace::At(line, static_cast<int>(offset - lineStart) + 1);
}

FilePlace PlaceIn(const Line& line, std::string_view part) {
  return FilePlace::At(line.number, static_cast<int>(part.data() - line.text.data()) + 1);
}

std::string ReadableUtf8(std::string_view text, ReadProblems& problems) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  RepairedUtf8 repaired = RepairUtf8(text);
  if (repaired.invalid > 0) {
    problems.Report(PlaceOf(text, repaired.first), "invalid UTF-8", "invalid UTF-8 (read as U+FFFD)",
                    NoteKind::kProblem, static_cast<long>(repaired.invalid));
  }
  return std::move(repaired.text);
}

}  // namespace kelcaptionfiles

#include "captionfiles/WebVttParser.h"

#include <algorithm>
#include <cstdlib>

#include "captionfiles/ClockTime.h"

namespace kelcaptionfiles::webvtt {

namespace {

bool IsAsciiWhitespace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Splits on runs of ASCII whitespace; each part with where it starts.
std::vector<std::pair<std::string_view, std::size_t>> SplitOnWhitespace(std::string_view text) {
  std::vector<std::pair<std::string_view, std::size_t>> parts;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsAsciiWhitespace(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !IsAsciiWhitespace(text[i])) ++i;
    if (i > start) parts.emplace_back(text.substr(start, i - start), start);
  }
  return parts;
}

// "Parse a percentage string": digits, optionally '.' and digits, then '%', from 0 to 100.
std::optional<double> Percentage(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsDigit(text[i])) ++i;
  if (i == 0) return std::nullopt;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fraction = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == fraction) return std::nullopt;
  }
  if (i + 1 != text.size() || text[i] != '%') return std::nullopt;
  const double value = std::strtod(std::string(text.substr(0, i)).c_str(), nullptr);
  if (value < 0 || value > 100) return std::nullopt;
  return value;
}

// A "name:value" setting, split at its first ':'; nothing when there is no ':' or it stands
// first or last.
std::optional<std::pair<std::string_view, std::string_view>> Setting(std::string_view token) {
  const std::size_t colon = token.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon + 1 == token.size()) return std::nullopt;
  return std::make_pair(token.substr(0, colon), token.substr(colon + 1));
}

// Splits "a,b" at its first ','; b is nothing without one.
std::pair<std::string_view, std::optional<std::string_view>> AtComma(std::string_view value) {
  const std::size_t comma = value.find(',');
  if (comma == std::string_view::npos) return {value, std::nullopt};
  return {value.substr(0, comma), value.substr(comma + 1)};
}

// The line setting's number form: digits, at most one '.' between digits, a '-' only first.
std::optional<double> LineNumber(std::string_view text) {
  if (text.find_first_not_of("-.0123456789") != std::string_view::npos) return std::nullopt;
  if (text.find('-', 1) != std::string_view::npos) return std::nullopt;
  const std::size_t point = text.find('.');
  if (point != std::string_view::npos) {
    if (text.find('.', point + 1) != std::string_view::npos) return std::nullopt;
    if (point == 0 || point + 1 >= text.size() || !IsDigit(text[point - 1]) || !IsDigit(text[point + 1]))
      return std::nullopt;
  }
  // "-0" is the line 0.
  return std::strtod(std::string(text).c_str(), nullptr) + 0.0;
}

void ParseCueSettings(std::string_view input, std::size_t offset, const std::vector<Region>& regions, Cue& cue) {
  for (const auto& [token, start] : SplitOnWhitespace(input)) {
    const auto setting = Setting(token);
    if (!setting) continue;
    const auto [name, value] = *setting;
    const int column = static_cast<int>(offset + start) + 1;
    bool applied = true;
    if (name == "region") {
      cue.region = -1;
      for (std::size_t r = regions.size(); r-- > 0;) {
        if (regions[r].id == value) {
          cue.region = static_cast<int>(r);
          break;
        }
      }
    } else if (name == "vertical") {
      if (value == "rl") cue.direction = Direction::kRightToLeft;
      else if (value == "lr") cue.direction = Direction::kLeftToRight;
      else applied = false;
    } else if (name == "line") {
      const auto [linePosition, lineAlign] = AtComma(value);
      std::optional<double> number;
      if (linePosition.find_first_of("0123456789") == std::string_view::npos) {
        applied = false;
      } else if (linePosition.back() == '%') {
        number = Percentage(linePosition);
      } else {
        number = LineNumber(linePosition);
      }
      if (!number) {
        applied = false;
      } else {
        cue.line = *number;
        cue.snapToLines = linePosition.back() != '%';
        if (lineAlign == "start") cue.lineAlign = LineAlign::kStart;
        else if (lineAlign == "center") cue.lineAlign = LineAlign::kCenter;
        else if (lineAlign == "end") cue.lineAlign = LineAlign::kEnd;
      }
    } else if (name == "position") {
      const auto [columnPosition, positionAlign] = AtComma(value);
      const std::optional<double> number = Percentage(columnPosition);
      if (!number) {
        applied = false;
      } else {
        cue.position = *number;
        if (positionAlign == "line-left") cue.positionAlign = PositionAlign::kLineLeft;
        else if (positionAlign == "center") cue.positionAlign = PositionAlign::kCenter;
        else if (positionAlign == "line-right") cue.positionAlign = PositionAlign::kLineRight;
      }
    } else if (name == "size") {
      const std::optional<double> number = Percentage(value);
      if (number) cue.size = *number;
      else applied = false;
    } else if (name == "align") {
      if (value == "start") cue.align = TextAlign::kStart;
      else if (value == "center") cue.align = TextAlign::kCenter;
      else if (value == "end") cue.align = TextAlign::kEnd;
      else if (value == "left") cue.align = TextAlign::kLeft;
      else if (value == "right") cue.align = TextAlign::kRight;
      else applied = false;
    } else {
      applied = false;
    }
    std::string key = applied ? "" : "?";
    key += name;
    cue.settingColumns[key] = column;
  }
}

void ParseRegionSettings(std::string_view input, Region& region) {
  for (const auto& [token, start] : SplitOnWhitespace(input)) {
    const auto setting = Setting(token);
    if (!setting) continue;
    const auto [name, value] = *setting;
    if (name == "id") {
      region.id = std::string(value);
    } else if (name == "width") {
      if (const auto width = Percentage(value)) region.width = *width;
    } else if (name == "lines") {
      if (value.find_first_not_of("0123456789") != std::string_view::npos) continue;
      region.lines = std::strtod(std::string(value).c_str(), nullptr);
    } else if (name == "regionanchor" || name == "viewportanchor") {
      const auto [x, y] = AtComma(value);
      if (!y) continue;
      const auto px = Percentage(x), py = Percentage(*y);
      if (!px || !py) continue;
      (name == "regionanchor" ? region.anchorX : region.viewportAnchorX) = *px;
      (name == "regionanchor" ? region.anchorY : region.viewportAnchorY) = *py;
    } else if (name == "scroll") {
      if (value == "up") region.scrollUp = true;
    }
  }
}

class Parser {
 public:
  Parser(std::string_view input, ReadProblems& problems, const std::function<void(const File&)>& afterBlock)
      : input_(input), problems_(problems), afterBlock_(afterBlock) {}

  File Run() {
    // The signature: "WEBVTT" alone or before a space, a tab or a line break.
    if (input_.substr(0, 6) != "WEBVTT" || (input_.size() > 6 && input_[6] != ' ' && input_[6] != '\t' &&
                                            input_[6] != '\n')) {
      problems_.Report(FilePlace::At(1, 1), "a WebVTT file starts with the line WEBVTT",
                       "not a WebVTT file: it does not start with the line WEBVTT (nothing read)");
      return {};
    }
    file_.signature = true;
    CollectLine();
    if (AtEnd()) return std::move(file_);
    Advance();  // the line feed
    if (AtEnd()) return std::move(file_);
    if (input_[position_] != '\n') {
      CollectBlock(true);
    } else {
      Advance();
    }
    SkipLineFeeds();
    while (!AtEnd()) {
      CollectBlock(false);
      SkipLineFeeds();
    }
    return std::move(file_);
  }

 private:
  bool AtEnd() const { return position_ >= input_.size(); }
  void Advance() {
    if (input_[position_] == '\n') ++line_;
    ++position_;
  }
  std::string_view CollectLine() {
    const std::size_t start = position_;
    while (!AtEnd() && input_[position_] != '\n') ++position_;
    return input_.substr(start, position_ - start);
  }
  void SkipLineFeeds() {
    while (!AtEnd() && input_[position_] == '\n') Advance();
  }

  static bool StartsWithWord(std::string_view buffer, std::string_view word) {
    if (buffer.substr(0, word.size()) != word) return false;
    return std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(word.size()), buffer.end(), IsAsciiWhitespace);
  }

  // "Collect a WebVTT block".
  void CollectBlock(bool inHeader) {
    int lineCount = 0;
    std::size_t previousPosition = position_;
    int previousLine = line_;
    const int blockLine = line_;
    std::string buffer;
    bool seenArrow = false;
    std::optional<Cue> cue;
    std::optional<StyleSheet> styleSheet;
    std::optional<Region> region;
    bool droppedTiming = false;
    while (true) {
      const int lineNumber = line_;
      const std::string_view line = CollectLine();
      ++lineCount;
      const bool seenEof = AtEnd();
      if (!seenEof) Advance();
      if (line.find("-->") != std::string_view::npos) {
        if (!inHeader && (lineCount == 1 || (lineCount == 2 && !seenArrow))) {
          seenArrow = true;
          previousPosition = position_;
          previousLine = line_;
          cue.emplace();
          cue->id = buffer;
          cue->timingLine = lineNumber;
          cue->textLine = lineNumber + 1;
          if (!CueTimingsAndSettings(line, lineNumber, *cue)) {
            cue.reset();
            droppedTiming = true;
          } else {
            buffer.clear();
            seenCue_ = true;
          }
        } else {
          position_ = previousPosition;
          line_ = previousLine;
          break;
        }
      } else if (line.empty()) {
        break;
      } else {
        if (!inHeader && lineCount == 2) {
          if (!seenCue_ && StartsWithWord(buffer, "STYLE")) {
            styleSheet.emplace();
            styleSheet->line = blockLine;
            buffer.clear();
          } else if (!seenCue_ && StartsWithWord(buffer, "REGION")) {
            region.emplace();
            region->line = blockLine;
            buffer.clear();
          }
        }
        if (!buffer.empty()) buffer.push_back('\n');
        buffer.append(line);
        previousPosition = position_;
        previousLine = line_;
      }
      if (seenEof) break;
    }
    if (cue) {
      cue->text = std::move(buffer);
      file_.cues.push_back(std::move(*cue));
    } else if (styleSheet) {
      styleSheet->text = std::move(buffer);
      file_.styleSheets.push_back(std::move(*styleSheet));
    } else if (region) {
      ParseRegionSettings(buffer, *region);
      file_.regions.push_back(std::move(*region));
    }
    if (cue || styleSheet || region) {
      if (afterBlock_) afterBlock_(file_);
    } else if (!inHeader && !droppedTiming && !IsComment(buffer)) {
      problems_.Report(FilePlace::At(blockLine, 1), "expected a cue time line (00:01.000 --> 00:02.000)",
                       "blocks that are not cues, comments, styles or regions (skipped)");
    }
  }

  static bool IsComment(std::string_view buffer) {
    return buffer.substr(0, 4) == "NOTE" &&
           (buffer.size() == 4 || buffer[4] == ' ' || buffer[4] == '\t' || buffer[4] == '\n');
  }

  // "Collect WebVTT cue timings and settings"; reports what makes them fail.
  bool CueTimingsAndSettings(std::string_view line, int lineNumber, Cue& cue) {
    std::size_t at = 0;
    std::string problem;
    std::size_t problemAt = 0;
    const auto fail = [&] {
      problems_.Report(FilePlace::At(lineNumber, static_cast<int>(problemAt) + 1), problem,
                       "cues whose time line cannot be read (skipped)");
      return false;
    };
    while (at < line.size() && IsAsciiWhitespace(line[at])) ++at;
    const auto start = ParseTimestamp(line, at, &problem, &problemAt);
    if (!start) return fail();
    while (at < line.size() && IsAsciiWhitespace(line[at])) ++at;
    if (line.substr(at, 3) != "-->") {
      problem = "expected \"-->\" between the two time codes";
      problemAt = at;
      return fail();
    }
    at += 3;
    while (at < line.size() && IsAsciiWhitespace(line[at])) ++at;
    const auto end = ParseTimestamp(line, at, &problem, &problemAt);
    if (!end) return fail();
    cue.start = *start;
    cue.end = *end;
    ParseCueSettings(line.substr(at), at, file_.regions, cue);
    return true;
  }

  std::string_view input_;
  ReadProblems& problems_;
  const std::function<void(const File&)>& afterBlock_;
  File file_;
  std::size_t position_ = 0;
  int line_ = 1;
  bool seenCue_ = false;
};

}  // namespace

std::optional<Timestamp> ParseTimestamp(std::string_view text, std::size_t& at, std::string* problem,
                                        std::size_t* problemAt) {
  const auto fail = [&](std::size_t where, const char* what) -> std::optional<Timestamp> {
    if (problem) *problem = what;
    if (problemAt) *problemAt = where;
    return std::nullopt;
  };
  // A run of digits: its value (capped, so that a long run stays too large) and its length.
  const auto digits = [&](std::uint64_t& value) {
    const std::size_t start = at;
    value = 0;
    while (at < text.size() && IsDigit(text[at])) {
      value = value > 100'000'000'000ull ? value : value * 10 + static_cast<std::uint64_t>(text[at] - '0');
      ++at;
    }
    return at - start;
  };
  std::uint64_t values[4] = {0, 0, 0, 0};
  std::size_t groupAt[3] = {at, 0, 0};
  if (at >= text.size() || !IsDigit(text[at])) return fail(at, "expected a time code");
  const std::size_t firstDigits = digits(values[0]);
  const bool hours = firstDigits != 2 || values[0] > 59;
  if (at >= text.size() || text[at] != ':') return fail(at, "expected ':' in the time code");
  groupAt[1] = ++at;
  if (digits(values[1]) != 2) return fail(groupAt[1], "expected two digits of minutes or seconds");
  std::size_t minutesAt = groupAt[1], secondsAt = 0;
  if (hours || (at < text.size() && text[at] == ':')) {
    if (at >= text.size() || text[at] != ':') return fail(at, "expected ':' after the minutes");
    groupAt[2] = ++at;
    if (digits(values[2]) != 2) return fail(groupAt[2], "expected two digits of seconds");
    secondsAt = groupAt[2];
  } else {
    values[2] = values[1], values[1] = values[0], values[0] = 0;
    minutesAt = groupAt[0], secondsAt = groupAt[1];
  }
  if (at >= text.size() || text[at] != '.') return fail(at, "expected '.' before the milliseconds");
  ++at;
  const std::size_t millisAt = at;
  if (digits(values[3]) != 3) return fail(millisAt, "expected three digits of milliseconds");
  if (values[1] > 59) return fail(minutesAt, "the minutes must be below 60");
  if (values[2] > 59) return fail(secondsAt, "the seconds must be below 60");
  const auto time = ClockTime(values[0], values[1], values[2], values[3]);
  if (!time) return fail(groupAt[0], "the time is too large");
  return Timestamp{((values[0] * 60 + values[1]) * 60 + values[2]) * 1000 + values[3], *time};
}

File ParseFile(std::string_view text, ReadProblems& problems, const std::function<void(const File&)>& afterBlock) {
  // NULs become U+FFFD and every line break a line feed, before anything else.
  std::string input;
  input.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\0') {
      input += "\xEF\xBF\xBD";
    } else if (text[i] == '\r') {
      input.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      input.push_back(text[i]);
    }
  }
  return Parser(input, problems, afterBlock).Run();
}

}  // namespace kelcaptionfiles::webvtt

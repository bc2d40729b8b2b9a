#include "captionfiles/CueText.h"

#include "kelcaptionfiles/HexColor.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>

#include "kelcore/String.h"

namespace kelcaptionfiles::cues {

using namespace kelcaptioning;

std::size_t FirstInvalidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t extra = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3, cp = c & 0x07;
    } else {
      return i;
    }
    for (std::size_t k = 1; k <= extra; ++k) {
      if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return i;
      cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    const bool overlong = (extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return i;
    i += extra + 1;
  }
  return std::string_view::npos;
}

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

void CheckUtf8(const std::vector<Line>& lines, const std::string& file) {
  for (const Line& line : lines) {
    const std::size_t bad = FirstInvalidUtf8(line.text);
    if (bad != std::string_view::npos) throw ReadError(file, line.number, static_cast<int>(bad) + 1, "invalid UTF-8");
  }
}

namespace {

class TimingParser {
 public:
  TimingParser(const std::string& file, const Line& line, TimeSyntax syntax)
      : file_(file), line_(line), syntax_(syntax) {}

  CueTiming Parse() {
    const auto begin = Time();
    Spaces();
    if (line_.text.substr(pos_, 3) != "-->") Fail("expected \"-->\" between the two time codes");
    pos_ += 3;
    Spaces();
    const std::size_t endColumn = pos_;
    const auto end = Time();
    // What follows the end time (SubRip position hints, WebVTT cue settings) is the caller's.
    if (end < begin) FailAt(endColumn, "the cue ends before it begins");
    return {begin, end, pos_};
  }

 private:
  [[noreturn]] void FailAt(std::size_t column, const std::string& problem) const {
    throw ReadError(file_, line_.number, static_cast<int>(column) + 1, problem);
  }
  [[noreturn]] void Fail(const std::string& problem) const { FailAt(pos_, problem); }

  void Spaces() {
    while (pos_ < line_.text.size() && (line_.text[pos_] == ' ' || line_.text[pos_] == '\t')) ++pos_;
  }

  long long Digits(int minimum, int maximum, long long below, const char* what) {
    const std::size_t start = pos_;
    long long value = 0;
    while (pos_ < line_.text.size() && std::isdigit(static_cast<unsigned char>(line_.text[pos_])) &&
           pos_ - start < static_cast<std::size_t>(maximum)) {
      value = value * 10 + (line_.text[pos_] - '0');
      ++pos_;
    }
    if (pos_ - start < static_cast<std::size_t>(minimum)) FailAt(start, std::string("expected the ") + what);
    if (value >= below) FailAt(start, std::string("the ") + what + " must be below " + std::to_string(below));
    return value;
  }

  void Expect(char c, const char* what) {
    if (pos_ >= line_.text.size() || line_.text[pos_] != c) Fail(std::string("expected ") + what);
    ++pos_;
  }

  // WebVTT may leave the hours out: two groups before the point are minutes and seconds.
  bool HoursGiven() const {
    std::size_t colons = 0;
    for (std::size_t i = pos_; i < line_.text.size() && line_.text[i] != ' ' && line_.text[i] != '-'; ++i) {
      colons += line_.text[i] == ':';
    }
    return syntax_ == TimeSyntax::kSubRip || colons >= 2;
  }

  kelmediatypes::TickTime Time() {
    Spaces();
    long long hours = 0;
    if (HoursGiven()) {
      hours = Digits(1, 3, 1000, "hours");
      Expect(':', "':' after the hours");
    }
    const long long minutes = Digits(2, 2, 60, "minutes");
    Expect(':', "':' after the minutes");
    const long long seconds = Digits(2, 2, 60, "seconds");
    const bool point = pos_ < line_.text.size() && line_.text[pos_] == '.';
    const bool comma = pos_ < line_.text.size() && line_.text[pos_] == ',';
    if (syntax_ == TimeSyntax::kWebVtt ? !point : !(point || comma)) {
      Fail(syntax_ == TimeSyntax::kWebVtt ? "expected '.' before the milliseconds"
                                          : "expected ',' before the milliseconds");
    }
    ++pos_;
    const long long millis = Digits(3, 3, 1000, "milliseconds");
    const long long totalMillis = ((hours * 60 + minutes) * 60 + seconds) * 1000 + millis;
    return kelmediatypes::TickTime(totalMillis * (kelmediatypes::TickTime::kTicksPerSecond / 1000));
  }

  const std::string& file_;
  const Line& line_;
  TimeSyntax syntax_;
  std::size_t pos_ = 0;
};

}  // namespace

CueTiming ParseCueTiming(const std::string& file, const Line& line, TimeSyntax syntax) {
  return TimingParser(file, line, syntax).Parse();
}

namespace {

// Inline styling of one cue line: a stack of open tags.
struct Style {
  bool italic = false, bold = false, underline = false;
  std::optional<CaptioningColor> color;
  std::string face;
  float size = 0.0f;
};

std::optional<CaptioningColor> ParseColor(std::string value) {
  for (char& c : value) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  static const std::pair<const char*, CaptioningColor> kNamed[] = {
      {"white", {1, 1, 1}},   {"black", {0, 0, 0}},        {"red", {1, 0, 0}},    {"green", {0, 0.5f, 0}},
      {"lime", {0, 1, 0}},    {"blue", {0, 0, 1}},         {"yellow", {1, 1, 0}}, {"cyan", {0, 1, 1}},
      {"magenta", {1, 0, 1}}, {"gray", {0.5f, 0.5f, 0.5f}}};
  for (const auto& [name, color] : kNamed) {
    if (value == name) return color;
  }
  return ParseHexColor(value, false);
}

// The value of `name="..."` (or unquoted) inside a tag's text.
std::string AttributeOf(std::string_view tag, const char* name) {
  std::string lower(tag);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::size_t at = lower.find(std::string(name) + "=");
  if (at == std::string::npos) return {};
  std::size_t i = at + std::string(name).size() + 1;
  const char quote = i < tag.size() && (tag[i] == '"' || tag[i] == '\'') ? tag[i++] : 0;
  std::string value;
  while (i < tag.size() && (quote ? tag[i] != quote : tag[i] != ' ' && tag[i] != '>')) value.push_back(tag[i++]);
  return value;
}

TextSpanAttributes Attributes(const SubtitleStyle& base, const Style& style) {
  TextSpanAttributes a;
  a.SetForegroundColor(style.color.value_or(base.foreground));
  a.SetBackgroundColor(base.background);
  a.SetForegroundEdgeColor(kCaptioningColor_Black);
  a.SetTextEdge(base.edge);
  a.SetTextEdgeWidth(base.edgeWidth);
  a.SetFontName(kelcore::string::UTF8ToUTF16(style.face.empty() ? base.fontName : style.face));
  a.SetFontSize(style.size > 0 ? style.size : base.fontSize);
  a.SetUnderlined(style.underline);
  a.SetFontStyle(style.bold ? (style.italic ? kFontStyle_BoldItalic : kFontStyle_Bold)
                            : (style.italic ? kFontStyle_Italic : kFontStyle_Regular));
  return a;
}

}  // namespace

CaptionTextParagraphPtr ParagraphOf(std::string_view line, const SubtitleStyle& base, FileNotes* notes,
                                    const FilePlace& lineStart) {
  CaptionTextParagraphPtr paragraph(new CaptionTextParagraph());
  ParagraphStyleAttributes paragraphStyle;
  paragraphStyle.SetAnchorID(ParagraphStyleAttributes::kAnchor_BottomCenter);
  paragraph->SetParagraphStyleAttributes(paragraphStyle);
  std::vector<Style> stack{Style{}};
  std::string run;
  const auto flush = [&] {
    if (run.empty()) return;
    CaptionTextSpanPtr span(new CaptionTextSpan());
    span->SetCaptionText(kelcore::string::UTF8ToUTF16(run));
    span->SetTextSpanStyleAttributes(Attributes(base, stack.back()));
    paragraph->AppendCaptionTextSpan(span);
    run.clear();
  };
  for (std::size_t i = 0; i < line.size();) {
    // ASS override blocks such as {\an8} carry nothing this reader places; they are not text.
    if (line[i] == '{' && i + 1 < line.size() && line[i + 1] == '\\') {
      const std::size_t close = line.find('}', i);
      if (close != std::string_view::npos) {
        i = close + 1;
        continue;
      }
    }
    if (line[i] == '<') {
      const std::size_t close = line.find('>', i);
      if (close != std::string_view::npos) {
        std::string_view tag = line.substr(i + 1, close - i - 1);
        const bool closing = !tag.empty() && tag[0] == '/';
        if (closing) tag.remove_prefix(1);
        std::string name;
        for (char c : tag) {
          if (!std::isalpha(static_cast<unsigned char>(c))) break;
          name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        }
        const bool timestamp = !tag.empty() && std::isdigit(static_cast<unsigned char>(tag[0]));
        if (timestamp || name == "c" || name == "v" || name == "lang") {
          // Classes, voices, languages and karaoke time stamps leave the style as it is.
          flush();
          if (!timestamp) {
            if (closing) {
              if (stack.size() > 1) stack.pop_back();
            } else {
              stack.push_back(stack.back());
            }
          }
          i = close + 1;
          continue;
        }
        if (name == "ruby" || name == "rt") {
          if (notes) {
            notes->Count("<" + name + "> (shown as plain text)",
                         FilePlace::At(lineStart.line, lineStart.column + static_cast<int>(i)));
          }
          i = close + 1;
          continue;
        }
        if (name == "i" || name == "b" || name == "u" || name == "font") {
          flush();
          if (closing) {
            if (stack.size() > 1) stack.pop_back();
          } else {
            Style next = stack.back();
            if (name == "i") next.italic = true;
            if (name == "b") next.bold = true;
            if (name == "u") next.underline = true;
            if (name == "font") {
              if (auto color = ParseColor(AttributeOf(tag, "color"))) next.color = color;
              const std::string face = AttributeOf(tag, "face");
              if (!face.empty()) next.face = face;
              const std::string size = AttributeOf(tag, "size");
              if (!size.empty()) next.size = std::strtof(size.c_str(), nullptr);
            }
            stack.push_back(next);
          }
          i = close + 1;
          continue;
        }
      }
    }
    run.push_back(line[i]);
    ++i;
  }
  flush();
  return paragraph;
}

}  // namespace kelcaptionfiles::cues

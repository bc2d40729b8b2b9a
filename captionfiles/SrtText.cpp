#include "captionfiles/SrtText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "captionfiles/ColorNames.h"
#include "captionfiles/SubtitleSpans.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

using Paragraph = ParagraphStyleAttributes;

// The script size that players take {\pos} coordinates in when a file gives none.
constexpr double kScriptWidth = 384;
constexpr double kScriptHeight = 288;

std::string Lower(std::string_view s) {
  std::string lower(s);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hex digits as a number; nothing when any is not one.
std::optional<unsigned long> Hex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  unsigned long value = 0;
  for (char c : digits) {
    if (HexDigit(c) < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned long>(HexDigit(c));
  }
  return value;
}

CaptioningColor Rgb(unsigned long r, unsigned long g, unsigned long b) {
  return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f};
}

// A font colour as players take it: a CSS name, or RRGGBB or RGB in hex with or without '#'.
std::optional<CaptioningColor> FontColor(std::string_view value) {
  if (auto named = ColorNamed(value)) return named;
  if (!value.empty() && value[0] == '#') value.remove_prefix(1);
  const auto hex = Hex(value);
  if (!hex) return std::nullopt;
  if (value.size() == 6) return Rgb(*hex >> 16 & 0xFF, *hex >> 8 & 0xFF, *hex & 0xFF);
  if (value.size() == 3) return Rgb((*hex >> 8 & 0xF) * 17, (*hex >> 4 & 0xF) * 17, (*hex & 0xF) * 17);
  return std::nullopt;
}

// The value of `name="..."` (or unquoted) inside a tag's text; nothing when the tag has none.
std::optional<std::string> AttributeOf(std::string_view tag, std::string_view name) {
  const std::string lower = Lower(tag);
  std::size_t at = 0;
  while ((at = lower.find(name, at)) != std::string::npos) {
    std::size_t i = at + name.size();
    const bool wordStart = at == 0 || !std::isalnum(static_cast<unsigned char>(lower[at - 1]));
    at = i;
    while (i < tag.size() && tag[i] == ' ') ++i;
    if (!wordStart || i >= tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && tag[i] == ' ') ++i;
    const char quote = i < tag.size() && (tag[i] == '"' || tag[i] == '\'') ? tag[i++] : 0;
    std::string value;
    while (i < tag.size() && (quote ? tag[i] != quote : tag[i] != ' ')) value.push_back(tag[i++]);
    return value;
  }
  return std::nullopt;
}

// Override tags that ASS renderers know and that these captions cannot show, each reported by
// name; any other is reported as unknown.
constexpr std::string_view kKnownOverrides[] = {
    "pos",  "move", "fad", "fade", "org",  "clip", "iclip", "k",     "kf",    "ko",    "K",    "blur", "be",
    "bord", "shad", "fr",  "frx",  "fry",  "frz",  "fscx",  "fscy",  "fsp",   "fax",   "fay",  "alpha", "1a",
    "2a",   "3a",   "4a",  "2c",   "3c",   "4c",   "p",     "q",     "r",     "xbord", "ybord", "xshad", "yshad",
    "fe"};

class CueTextReader {
 public:
  CueTextReader(const SubtitleStyle& base, ReadProblems& problems) : builder_(base), problems_(problems) {}

  SrtCue Read(const std::vector<Line>& lines) {
    for (const Line& line : lines) {
      ReadLine(line);
      builder_.EndLine();
    }
    SrtCue cue{builder_.Take(paragraph_), std::nullopt};
    if (pos_ && cue.caption) {
      // The anchor names the point of the box that stands at the position.
      const int anchor = static_cast<int>(paragraph_.GetAnchorID());
      CueBox box;
      box.x = pos_->first / kScriptWidth;
      box.y = pos_->second / kScriptHeight;
      box.alignX = (anchor % 3) * 0.5;
      box.alignY = (anchor / 3) * 0.5;
      cue.box = box;
    }
    return cue;
  }

 private:
  FilePlace At(const Line& line, std::size_t i) const {
    return FilePlace::At(line.number, static_cast<int>(i) + 1);
  }

  void ReadLine(const Line& line) {
    const std::string_view text = line.text;
    std::size_t plain = 0;  // where the text not yet added starts
    const auto flushTo = [&](std::size_t end) {
      builder_.Add(text.substr(plain, end - plain), style_);
    };
    for (std::size_t i = 0; i < text.size();) {
      std::size_t next = i;
      if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'N' || text[i + 1] == 'n' || text[i + 1] == 'h')) {
        flushTo(i);
        if (text[i + 1] == 'h')
          builder_.Add("\u00A0", style_);
        else
          builder_.EndLine();
        next = i + 2;
      } else if (text[i] == '<') {
        flushTo(i);  // under the style before the tag
        plain = i;
        next = Tag(line, i);
      } else if (text[i] == '{' && i + 1 < text.size() && text[i + 1] == '\\') {
        const std::size_t close = text.find('}', i);
        if (close != std::string_view::npos) {
          flushTo(i);
          Overrides(line, i + 1, close);
          next = close + 1;
        }
      }
      if (next == i) {
        ++i;
        continue;
      }
      i = plain = next;
    }
    flushTo(text.size());
  }

  // Reads the tag at `i`; returns where the text after it starts, or `i` for text that is not
  // a tag (a '<' with no letter after it, or no '>').
  std::size_t Tag(const Line& line, std::size_t i) {
    const std::string_view text = line.text;
    const std::size_t close = text.find('>', i);
    if (close == std::string_view::npos) return i;
    std::string_view tag = text.substr(i + 1, close - i - 1);
    const bool closing = !tag.empty() && tag[0] == '/';
    if (closing) tag.remove_prefix(1);
    std::size_t letters = 0;
    while (letters < tag.size() && std::isalpha(static_cast<unsigned char>(tag[letters]))) ++letters;
    if (letters == 0) return i;
    const std::string name = Lower(tag.substr(0, letters));
    const bool nameEnds = letters == tag.size() || tag[letters] == ' ';
    if (nameEnds && (name == "b" || name == "i" || name == "u")) {
      (name == "b" ? style_.bold : name == "i" ? style_.italic : style_.underline) = !closing;
    } else if (nameEnds && name == "s") {
      if (!closing) problems_.Notes().Count("strikethrough <s> (shown without the line)", At(line, i));
    } else if (nameEnds && name == "font") {
      if (closing) {
        if (!fonts_.empty()) {
          style_.color = fonts_.back().color, style_.face = fonts_.back().face, style_.size = fonts_.back().size;
          fonts_.pop_back();
        }
      } else {
        fonts_.push_back(style_);
        Font(line, i, tag);
      }
    } else {
      problems_.Report(At(line, i), "a tag that SubRip players do not know",
                       "tags that SubRip players do not know (removed)");
    }
    return close + 1;
  }

  void Font(const Line& line, std::size_t i, std::string_view tag) {
    if (const auto color = AttributeOf(tag, "color")) {
      if (const auto parsed = FontColor(*color))
        style_.color = parsed;
      else
        problems_.Report(At(line, i), "a font colour that is not a colour", "font colours that are not colours (ignored)");
    }
    if (const auto face = AttributeOf(tag, "face"); face && !face->empty()) style_.face = *face;
    if (const auto size = AttributeOf(tag, "size"); size && !size->empty()) {
      style_.size = std::strtof(size->c_str(), nullptr);
    }
  }

  // An override block {\tag\tag...}, from its first backslash to its closing brace.
  void Overrides(const Line& line, std::size_t from, std::size_t close) {
    const std::string_view block = line.text.substr(from, close - from);
    std::size_t i = 0;
    while (i < block.size()) {
      const std::size_t end = std::min(block.find('\\', i + 1), block.size());
      const std::string_view tag = block.substr(i + 1, end - i - 1);
      Override(line, from + i, tag);
      i = end;
    }
  }

  void Override(const Line& line, std::size_t at, std::string_view tag) {
    std::size_t letters = 0;
    while (letters < tag.size() && std::isalpha(static_cast<unsigned char>(tag[letters]))) ++letters;
    std::string name(tag.substr(0, letters));
    std::string_view value = tag.substr(letters);
    // Colour and alpha tags carry a digit before their letters.
    if (letters == 0 && tag.size() >= 2 && std::isdigit(static_cast<unsigned char>(tag[0])) &&
        std::isalpha(static_cast<unsigned char>(tag[1]))) {
      name = tag.substr(0, 2);
      value = tag.substr(2);
    }
    if (name == "an" && value.size() == 1 && value[0] >= '1' && value[0] <= '9') {
      Anchor(value[0] - '0');
    } else if (name == "a" && !value.empty()) {
      // The older SSA numbering: 1 to 3 at the bottom, +4 at the top, +8 in the middle.
      const int legacy = std::atoi(std::string(value).c_str());
      const int column = (legacy - 1) % 4;
      if (legacy >= 1 && legacy <= 11 && column < 3) Anchor((legacy >= 9 ? 4 : legacy >= 5 ? 7 : 1) + column);
    } else if ((name == "b" || name == "i" || name == "u") && !value.empty()) {
      const bool on = value != "0";
      (name == "b" ? style_.bold : name == "i" ? style_.italic : style_.underline) = on;
    } else if (name == "c" || name == "1c") {
      // &HBBGGRR&
      std::string_view hex = value;
      if (hex.substr(0, 2) == "&H" || hex.substr(0, 2) == "&h") hex.remove_prefix(2);
      while (!hex.empty() && hex.back() == '&') hex.remove_suffix(1);
      if (hex.empty()) {
        style_.color.reset();
      } else if (const auto bgr = Hex(hex)) {
        style_.color = Rgb(*bgr & 0xFF, *bgr >> 8 & 0xFF, *bgr >> 16 & 0xFF);
      }
    } else if (name == "fn") {
      style_.face = std::string(value);
    } else if (name == "fs" && !value.empty()) {
      style_.size = std::strtof(std::string(value).c_str(), nullptr);
    } else if (name == "pos" && ReadPosition(value)) {
    } else if (name == "s") {
      problems_.Notes().Count("strikethrough \\s (shown without the line)", At(line, at));
    } else if (std::find(std::begin(kKnownOverrides), std::end(kKnownOverrides), name) != std::end(kKnownOverrides)) {
      problems_.Notes().Count("override tag \\" + name + " (not shown)", At(line, at));
    } else {
      problems_.Report(At(line, at), "an override tag that is not an ASS tag", "unknown override tags (removed)");
    }
  }

  // "(x,y)", in script pixels; false, and nothing kept, for anything else.
  bool ReadPosition(std::string_view value) {
    if (value.size() < 5 || value.front() != '(' || value.back() != ')') return false;
    const std::string inside(value.substr(1, value.size() - 2));
    char* end = nullptr;
    const double x = std::strtod(inside.c_str(), &end);
    if (end == inside.c_str() || *end != ',') return false;
    const char* second = end + 1;
    const double y = std::strtod(second, &end);
    if (end == second || *end != '\0' || !std::isfinite(x) || !std::isfinite(y)) return false;
    pos_ = {x, y};
    return true;
  }

  // A number-pad position: 1 bottom left to 9 top right.
  void Anchor(int pad) {
    static constexpr Paragraph::AnchorID kAnchors[9] = {
        Paragraph::kAnchor_BottomLeft, Paragraph::kAnchor_BottomCenter, Paragraph::kAnchor_BottomRight,
        Paragraph::kAnchor_MiddleLeft, Paragraph::kAnchor_MiddleCenter, Paragraph::kAnchor_MiddleRight,
        Paragraph::kAnchor_TopLeft,    Paragraph::kAnchor_TopCenter,    Paragraph::kAnchor_TopRight};
    paragraph_.SetAnchorID(kAnchors[pad - 1]);
    paragraph_.SetTextAlignment(static_cast<Paragraph::TextAlignmentType>((pad - 1) % 3));
  }

  CueBuilder builder_;
  ReadProblems& problems_;
  InlineStyle style_;
  std::vector<InlineStyle> fonts_;  // the style before each open <font>
  Paragraph paragraph_;
  std::optional<std::pair<double, double>> pos_;
};

}  // namespace

SrtCue ReadSrtCueText(const std::vector<Line>& lines, const SubtitleStyle& base, ReadProblems& problems) {
  return CueTextReader(base, problems).Read(lines);
}

}  // namespace kelcaptionfiles

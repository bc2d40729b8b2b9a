#include "captionfiles/TtmlStyle.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "captionfiles/ColorNames.h"
#include "captionfiles/TtmlTime.h"
#include "kelcaptionfiles/HexColor.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

using Paragraph = ParagraphStyleAttributes;

bool IsStyling(const std::string& ns) {
  return std::find(std::begin(kTtmlStyling), std::end(kTtmlStyling), ns) != std::end(kTtmlStyling);
}

template <class T>
void TakeOne(std::optional<T>& mine, const std::optional<T>& over) {
  if (over) mine = over;
}

std::string Trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return std::string(s);
}

// "rgb(r,g,b)" or "rgba(r,g,b,a)", each 0 to 255.
std::optional<CaptioningColor> FunctionColor(const std::string& text) {
  const bool alpha = text.rfind("rgba(", 0) == 0;
  if (!alpha && text.rfind("rgb(", 0) != 0) return std::nullopt;
  if (text.back() != ')') return std::nullopt;
  std::istringstream values(text.substr(alpha ? 5 : 4, text.size() - (alpha ? 6 : 5)));
  float channels[4] = {0, 0, 0, 255};
  std::string value;
  for (int i = 0; i < (alpha ? 4 : 3); ++i) {
    if (!std::getline(values, value, ',')) return std::nullopt;
    const std::optional<long double> number = TtmlNumber(Trimmed(value));
    if (!number || *number > 255) return std::nullopt;
    channels[i] = static_cast<float>(*number) / 255.0f;
  }
  if (std::getline(values, value)) return std::nullopt;
  return CaptioningColor(channels[0], channels[1], channels[2], channels[3]);
}

std::optional<CaptioningColor> Color(const std::string& value) {
  const std::string text = Trimmed(value);
  if (text.empty()) return std::nullopt;
  if (text == "transparent") return kCaptioningColor_Transparent;
  if (text[0] == '#') return ParseHexColor(text, true);
  if (std::optional<CaptioningColor> color = FunctionColor(text)) return color;
  return ColorNamed(text);
}

// One length as a fraction of the root's width (`across`) or height: a percentage, cells,
// pixels, or hundredths of the root's width (rw) or height (rh).
std::optional<double> Length(const std::string& text, const TtmlRoot& root, bool across) {
  std::size_t unit = text.size();
  while (unit > 0 && !std::isdigit(static_cast<unsigned char>(text[unit - 1]))) --unit;
  const std::optional<long double> number = TtmlNumber(std::string_view(text).substr(0, unit));
  const std::string_view metric = std::string_view(text).substr(unit);
  if (!number) return std::nullopt;
  const double value = static_cast<double>(*number);
  // Width over height; a 16:9 frame when the root's pixels are not given.
  const double aspect = root.pixels ? root.pixels->first / root.pixels->second : 16.0 / 9.0;
  if (metric == "%") return value / 100;
  if (metric == "c") return value / (across ? root.columns : root.rows);
  if (metric == "rw") return value / 100 * (across ? 1.0 : aspect);
  if (metric == "rh") return value / 100 / (across ? aspect : 1.0);
  if (metric == "px" && root.pixels) return value / (across ? root.pixels->first : root.pixels->second);
  return std::nullopt;
}

std::optional<Paragraph::TextAlignmentType> Alignment(const std::string& value) {
  if (value == "left" || value == "start") return Paragraph::kTextAlignment_Left;
  if (value == "right" || value == "end") return Paragraph::kTextAlignment_Right;
  if (value == "center" || value == "justify") return Paragraph::kTextAlignment_Center;
  return std::nullopt;
}

std::optional<double> DisplayAlign(const std::string& value) {
  if (value == "before") return 0.0;
  if (value == "center") return 0.5;
  if (value == "after") return 1.0;
  return std::nullopt;
}

// The first family of a list; "" for the generic ones, which the base style's font shows.
std::optional<std::string> Family(const std::string& value) {
  std::string first = Trimmed(value.substr(0, value.find(',')));
  if (first.size() >= 2 && (first.front() == '"' || first.front() == '\'') && first.back() == first.front()) {
    first = first.substr(1, first.size() - 2);
  }
  if (first.empty()) return std::nullopt;
  static const char* const generic[] = {"default", "monospace", "sansSerif", "serif", "monospaceSansSerif",
                                        "monospaceSerif", "proportionalSansSerif", "proportionalSerif"};
  if (std::find(std::begin(generic), std::end(generic), first) != std::end(generic)) return std::string();
  return first;
}

// Whether `name` = `value` was read into `style`; nothing when the property is not one of these.
std::optional<bool> ReadProperty(const std::string& name, const std::string& value, const TtmlRoot& root, TtmlStyle& style) {
  if (name == "color") return (style.color = Color(value)).has_value();
  if (name == "backgroundColor") return (style.background = Color(value)).has_value();
  if (name == "fontStyle") {
    if (value != "normal" && value != "italic" && value != "oblique") return false;
    style.italic = value != "normal";
    return true;
  }
  if (name == "fontWeight") {
    if (value != "normal" && value != "bold") return false;
    style.bold = value == "bold";
    return true;
  }
  if (name == "textDecoration") {
    // "underline", "noUnderline", and the line-through and overline words, which show nothing here.
    std::istringstream words(value);
    for (std::string word; words >> word;) {
      if (word == "underline") style.underline = true;
      if (word == "noUnderline" || word == "none") style.underline = false;
    }
    return true;
  }
  if (name == "textAlign") return (style.textAlign = Alignment(Trimmed(value))).has_value();
  if (name == "displayAlign") return (style.displayAlign = DisplayAlign(Trimmed(value))).has_value();
  if (name == "origin") return value == "auto" || (style.origin = TtmlLengths(value, root)).has_value();
  if (name == "extent") return value == "auto" || (style.extent = TtmlLengths(value, root)).has_value();
  if (name == "fontFamily") return (style.fontFamily = Family(value)).has_value();
  if (name == "fontSize") {
    // The height of the text; of two lengths, the second.
    std::istringstream lengths(value);
    std::string size, second;
    if (lengths >> size >> second) size = second;
    if (!size.empty() && size.back() == '%') {
      const std::optional<long double> share = TtmlNumber(std::string_view(size).substr(0, size.size() - 1));
      if (share) style.fontScale = static_cast<double>(*share) / 100, style.fontSize.reset();
      return share.has_value();
    }
    const std::optional<double> height = Length(size, root, false);
    if (height) style.fontSize = height, style.fontScale.reset();
    return height.has_value();
  }
  return std::nullopt;
}

}  // namespace

void TtmlStyle::Take(const TtmlStyle& over) {
  TakeOne(color, over.color);
  TakeOne(background, over.background);
  TakeOne(italic, over.italic);
  TakeOne(bold, over.bold);
  TakeOne(underline, over.underline);
  TakeOne(textAlign, over.textAlign);
  TakeOne(displayAlign, over.displayAlign);
  TakeOne(origin, over.origin);
  TakeOne(extent, over.extent);
  TakeOne(fontFamily, over.fontFamily);
  if (over.fontSize) fontSize = over.fontSize, fontScale.reset();
  if (over.fontScale) {
    if (fontSize) fontSize = *fontSize * *over.fontScale;
    else fontScale = fontScale.value_or(1.0) * *over.fontScale;
  }
}

TtmlStyle TtmlStyle::Inherited() const {
  TtmlStyle inherited = *this;
  inherited.background.reset();
  inherited.displayAlign.reset();
  inherited.origin.reset();
  inherited.extent.reset();
  return inherited;
}

std::optional<std::pair<double, double>> TtmlLengths(const std::string& text, const TtmlRoot& root) {
  std::istringstream words(text);
  std::string across, down, more;
  if (!(words >> across >> down) || (words >> more)) return std::nullopt;
  const std::optional<double> x = Length(across, root, true), y = Length(down, root, false);
  if (!x || !y) return std::nullopt;
  return std::pair(*x, *y);
}

void ReadTtmlStyle(const XmlElement& element, const TtmlRoot& root, TtmlStyle& style, ReadProblems& problems) {
  for (const XmlAttribute& attribute : element.attributes) {
    if (!IsStyling(attribute.ns)) continue;
    const std::optional<bool> read = ReadProperty(attribute.name, attribute.value, root, style);
    if (!read) {
      problems.Notes().Count("tts:" + attribute.name + " (not shown)", element.place);
    } else if (!*read) {
      problems.Report(element.place, "tts:" + attribute.name + " \"" + attribute.value + "\" cannot be read",
                      "style values that cannot be read (ignored)");
    }
  }
}

}  // namespace kelcaptionfiles

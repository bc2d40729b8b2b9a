#pragma once

// Reading and writing the values that the JSON caption documents share: times, colours,
// fractions, named enumerations and span attributes.

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <string>

#include <boost/rational.hpp>

#include "kelcaptionfiles/HexColor.h"
#include "kelcaptionfiles/ReadError.h"
#include "kelcaptioning/CaptioningColor.h"
#include "kelcaptioning/TextSpanAttributes.h"
#include "kelmediatypes/TickTime.h"

namespace kelcaptionfiles {

using nlohmann::json;

inline constexpr const char* kFontStyleNames[] = {"regular", "italic", "bold", "bold italic"};

// Reads values of a document, naming the JSON pointer of anything of the wrong kind.
class JsonReader {
 public:
  explicit JsonReader(const std::string& file) : file_(file) {}

  [[noreturn]] void Fail(const std::string& pointer, const std::string& problem) const {
    throw ReadError(file_, pointer, problem);
  }

  const json& Member(const json& object, const char* key, const std::string& at, bool required) const {
    static const json kNull;
    if (!object.is_object()) Fail(at, "expected an object");
    auto found = object.find(key);
    if (found == object.end()) {
      if (required) Fail(at, std::string("\"") + key + "\" is missing");
      return kNull;
    }
    return *found;
  }

  std::string String(const json& v, const std::string& at) const {
    if (!v.is_string()) Fail(at, "expected a string");
    return v.get<std::string>();
  }
  double Number(const json& v, const std::string& at) const {
    if (!v.is_number()) Fail(at, "expected a number");
    return v.get<double>();
  }
  // A number the model keeps as a float. One past the float range would become infinity, which
  // a document cannot hold (it is written as null): such a number is refused instead.
  float Float(const json& v, const std::string& at) const {
    const double number = Number(v, at);
    if (!(std::fabs(number) <= static_cast<double>(std::numeric_limits<float>::max()))) {
      Fail(at, "the number " + v.dump() + " is too large");
    }
    return static_cast<float>(number);
  }
  int Int(const json& v, const std::string& at) const {
    if (!v.is_number_integer() || v.get<long long>() < -2147483647LL || v.get<long long>() > 2147483647LL) {
      Fail(at, "expected a whole number");
    }
    return v.get<int>();
  }
  bool Bool(const json& v, const std::string& at) const {
    if (!v.is_boolean()) Fail(at, "expected true or false");
    return v.get<bool>();
  }

  static constexpr std::int64_t kTicksPerMillisecond = kelmediatypes::TickTime::kTicksPerSecond / 1000;

  // A tick count, or "HH:MM:SS.mmm" as the schema has it: any number of digits of hours.
  kelmediatypes::TickTime Time(const json& v, const std::string& at) const;

  kelcaptioning::CaptioningColor Color(const json& v, const std::string& at) const {
    if (v.is_array()) {
      if (v.size() != 4) Fail(at, "a colour array holds red, green, blue and alpha");
      float c[4];
      for (std::size_t i = 0; i < 4; ++i) c[i] = Float(v[i], at + "/" + std::to_string(i));
      return {c[0], c[1], c[2], c[3]};
    }
    if (v.is_string()) {
      if (const auto color = ParseHexColor(v.get<std::string>(), true)) return *color;
    }
    Fail(at, "expected a colour \"#RRGGBB\", \"#RRGGBBAA\" or [r, g, b, a]");
  }

  boost::rational<int> Fraction(const json& v, const std::string& at) const {
    if (v.is_number_integer()) return boost::rational<int>(Int(v, at));
    if (!v.is_array() || v.size() != 2) Fail(at, "expected a fraction [numerator, denominator]");
    const int d = Int(v[1], at + "/1");
    if (d == 0) Fail(at + "/1", "a denominator of 0");
    return boost::rational<int>(Int(v[0], at + "/0"), d);
  }

  template <std::size_t N>
  int Named(const json& v, const char* const (&names)[N], const std::string& at, const char* what) const {
    if (v.is_number_integer()) return Int(v, at);
    const std::string text = String(v, at);
    for (std::size_t i = 0; i < N; ++i) {
      if (text == names[i]) return static_cast<int>(i);
    }
    Fail(at, std::string("unknown ") + what + " \"" + text + "\"");
  }

 private:
  const std::string& file_;
};

// Span attributes from the optional members of `span` (foreground, background, edgeColor, edge,
// edgeWidth, offset, style, size, font, underline); members left out keep their defaults.
kelcaptioning::TextSpanAttributes ReadSpanAttributes(const JsonReader& r, const json& span, const std::string& at);
// Adds every span attribute to `span`.
void WriteSpanAttributes(const kelcaptioning::TextSpanAttributes& attributes, json& span);

std::string HexOf(const kelcaptioning::CaptioningColor& c);
// "#RRGGBBAA" when 8-bit levels hold the colour exactly, [r, g, b, a] otherwise.
json ColorJson(const kelcaptioning::CaptioningColor& c);
// "HH:MM:SS.mmm" for whole milliseconds, the tick count otherwise.
json TimeOf(kelmediatypes::TickTime t);
// Floats as the decimal a person wrote, not their binary expansion, when that reads back the same.
double Tidy(float v);
json FractionOf(const boost::rational<int>& r);

}  // namespace kelcaptionfiles

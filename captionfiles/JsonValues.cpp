#include "captionfiles/JsonValues.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "captionfiles/ClockTime.h"
#include "kelcore/String.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

kelmediatypes::TickTime JsonReader::Time(const json& v, const std::string& at) const {
  if (v.is_number_integer()) return kelmediatypes::TickTime(v.get<std::int64_t>());
  if (!v.is_string()) Fail(at, "expected a time string (HH:MM:SS.mmm) or a tick count");
  const std::string text = v.get<std::string>();
  const auto bad = [&] { Fail(at, "expected a time HH:MM:SS.mmm, not \"" + text + "\""); };
  std::size_t i = 0;
  // A run of digits from `i`, of `fewest` to `most`; the value stops growing past what any time holds.
  const auto digits = [&](std::size_t fewest, std::size_t most) {
    const std::size_t start = i;
    std::uint64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < most) {
      value = value > 1'000'000'000'000ull ? value : value * 10 + static_cast<std::uint64_t>(text[i] - '0');
      ++i;
    }
    if (i - start < fewest) bad();
    return std::make_pair(value, i - start);
  };
  const auto expect = [&](char c) {
    if (i >= text.size() || text[i] != c) bad();
    ++i;
  };
  const std::uint64_t hours = digits(1, text.size()).first;
  expect(':');
  const std::uint64_t minutes = digits(2, 2).first;
  expect(':');
  const std::uint64_t seconds = digits(2, 2).first;
  expect('.');
  const std::uint64_t millis = digits(3, 3).first;
  if (i != text.size() || minutes >= 60 || seconds >= 60) bad();
  const auto time = ClockTime(hours, minutes, seconds, millis);
  if (!time) Fail(at, "the time \"" + text + "\" is past the longest time that can be held");
  return *time;
}

TextSpanAttributes ReadSpanAttributes(const JsonReader& r, const json& span, const std::string& at) {
  TextSpanAttributes a;
  const auto opt = [&](const char* key) -> const json& { return r.Member(span, key, at, false); };
  const auto path = [&](const char* key) { return at + "/" + key; };
  if (!opt("foreground").is_null()) a.SetForegroundColor(r.Color(opt("foreground"), path("foreground")));
  if (!opt("background").is_null()) a.SetBackgroundColor(r.Color(opt("background"), path("background")));
  if (!opt("edgeColor").is_null()) a.SetForegroundEdgeColor(r.Color(opt("edgeColor"), path("edgeColor")));
  if (!opt("edge").is_null()) a.SetTextEdge(static_cast<TextEdge>(r.Int(opt("edge"), path("edge"))));
  if (!opt("edgeWidth").is_null()) a.SetTextEdgeWidth(r.Float(opt("edgeWidth"), path("edgeWidth")));
  if (!opt("offset").is_null()) a.SetTextOffset(static_cast<TextOffset>(r.Int(opt("offset"), path("offset"))));
  if (!opt("style").is_null())
    a.SetFontStyle(static_cast<FontStyle>(r.Named(opt("style"), kFontStyleNames, path("style"), "style")));
  if (!opt("size").is_null()) a.SetFontSize(r.Float(opt("size"), path("size")));
  if (!opt("font").is_null()) a.SetFontName(kelcore::string::UTF8ToUTF16(r.String(opt("font"), path("font"))));
  if (!opt("underline").is_null()) a.SetUnderlined(r.Bool(opt("underline"), path("underline")));
  return a;
}

void WriteSpanAttributes(const TextSpanAttributes& a, json& span) {
  const int fontStyle = static_cast<int>(a.GetFontStyle());
  span["foreground"] = ColorJson(a.GetForegroundColor());
  span["background"] = ColorJson(a.GetBackgroundColor());
  span["edgeColor"] = ColorJson(a.GetForegroundEdgeColor());
  span["edge"] = static_cast<int>(a.GetTextEdge());
  span["edgeWidth"] = Tidy(a.GetTextEdgeWidth());
  span["offset"] = static_cast<int>(a.GetTextOffset());
  span["style"] = fontStyle >= 0 && fontStyle <= 3 ? json(kFontStyleNames[fontStyle]) : json(fontStyle);
  span["size"] = Tidy(a.GetFontSize());
  span["font"] = kelcore::string::UTF16ToUTF8(a.GetFontName());
  span["underline"] = a.IsUnderlined();
}

std::string HexOf(const CaptioningColor& c) {
  const auto byte = [](float v) { return static_cast<unsigned>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
  char text[10];
  std::snprintf(text, sizeof text, "#%02X%02X%02X%02X", byte(c.Red()), byte(c.Green()), byte(c.Blue()),
                byte(c.Alpha()));
  return text;
}

json TimeOf(kelmediatypes::TickTime t) {
  const std::int64_t ticks = t.GetTicks();
  if (ticks < 0 || ticks % JsonReader::kTicksPerMillisecond != 0) return ticks;
  const std::int64_t ms = ticks / JsonReader::kTicksPerMillisecond;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld", static_cast<long long>(ms / 3600000),
                static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                static_cast<long long>(ms % 1000));
  return text;
}

double Tidy(float v) {
  const double tidy = std::round(static_cast<double>(v) * 1e6) / 1e6;
  // Only when the short decimal reads back as the same float.
  return static_cast<float>(tidy) == v ? tidy : static_cast<double>(v);
}

json ColorJson(const CaptioningColor& c) {
  const auto exact = [](float v) { return static_cast<float>(std::lround(v * 255.0f)) / 255.0f == v; };
  if (exact(c.Red()) && exact(c.Green()) && exact(c.Blue()) && exact(c.Alpha())) return HexOf(c);
  return json::array({Tidy(c.Red()), Tidy(c.Green()), Tidy(c.Blue()), Tidy(c.Alpha())});
}

json FractionOf(const boost::rational<int>& r) { return json::array({r.numerator(), r.denominator()}); }

}  // namespace kelcaptionfiles

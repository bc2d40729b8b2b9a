#include "captionfiles/TtmlTime.h"

#include <cctype>
#include <cmath>

#include "kelmediatypes/TickTime.h"

namespace kelcaptionfiles {

namespace {

bool IsDigits(std::string_view s) {
  if (s.empty() || s.size() > 18) return false;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

long double Digits(std::string_view s) {
  long double value = 0;
  for (char c : s) value = value * 10 + (c - '0');
  return value;
}

std::optional<std::int64_t> Ticks(long double seconds) {
  constexpr long double kMost = 3.6e9L;  // a million hours
  if (!(seconds >= 0 && seconds <= kMost)) return std::nullopt;
  return std::llround(seconds * static_cast<long double>(kelmediatypes::TickTime::kTicksPerSecond));
}

// "HH:MM:SS", "HH:MM:SS.fff" or "HH:MM:SS:FF(.sub)".
std::optional<long double> ClockSeconds(std::string_view text, const TtmlRates& rates) {
  std::string_view fields[4];
  int count = 0;
  for (std::size_t at; count < 3 && (at = text.find(':')) != std::string_view::npos; text.remove_prefix(at + 1)) {
    fields[count++] = text.substr(0, at);
  }
  fields[count++] = text;
  if (count < 3) return std::nullopt;
  const std::optional<long double> last = TtmlNumber(fields[count - 1]);
  if (!IsDigits(fields[0]) || !IsDigits(fields[1]) || fields[1].size() != 2 || !last) return std::nullopt;
  long double seconds = Digits(fields[0]) * 3600 + Digits(fields[1]) * 60;
  if (count == 3) return seconds + *last;
  if (!IsDigits(fields[2]) || fields[2].size() != 2) return std::nullopt;
  // Frames, and after a '.' sub-frames.
  const std::size_t dot = fields[3].find('.');
  const long double frames = Digits(fields[3].substr(0, dot));
  const long double subFrames = dot == std::string_view::npos ? 0 : Digits(fields[3].substr(dot + 1));
  if (dot != std::string_view::npos && !IsDigits(fields[3].substr(dot + 1))) return std::nullopt;
  return seconds + Digits(fields[2]) + (frames + subFrames / rates.subFrameRate) / rates.frameRate;
}

}  // namespace

std::optional<long double> TtmlNumber(std::string_view text) {
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) return IsDigits(text) ? std::optional(Digits(text)) : std::nullopt;
  const std::string_view whole = text.substr(0, dot), fraction = text.substr(dot + 1);
  if (!IsDigits(whole) || !IsDigits(fraction)) return std::nullopt;
  return Digits(whole) + Digits(fraction) / std::pow(10.0L, static_cast<long double>(fraction.size()));
}

std::optional<std::int64_t> TtmlTicks(std::string_view text, const TtmlRates& rates) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  if (text.find(':') != std::string_view::npos) {
    const std::optional<long double> seconds = ClockSeconds(text, rates);
    return seconds ? Ticks(*seconds) : std::nullopt;
  }
  std::size_t unit = text.size();
  while (unit > 0 && std::isalpha(static_cast<unsigned char>(text[unit - 1]))) --unit;
  const std::optional<long double> count = TtmlNumber(text.substr(0, unit));
  if (!count) return std::nullopt;
  const std::string_view metric = text.substr(unit);
  long double seconds = 0;
  if (metric == "h") seconds = *count * 3600;
  else if (metric == "m") seconds = *count * 60;
  else if (metric == "s") seconds = *count;
  else if (metric == "ms") seconds = *count / 1000;
  else if (metric == "f") seconds = *count / rates.frameRate;
  else if (metric == "t") seconds = *count / rates.tickRate;
  else return std::nullopt;
  return Ticks(seconds);
}

}  // namespace kelcaptionfiles

#include "kelcaption/TimeCode.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "kelcaptionfiles/TimeCodeRate.h"

namespace kelcaption {

namespace {

__extension__ using Wide = __int128;  // frames times ticks times a denominator pass 64 bits

long long NominalRate(const FrameRate& rate) {
  return std::llround(static_cast<double>(rate.first) / static_cast<double>(rate.second));
}

// Frame numbers a drop-frame time code leaves out at the start of a minute: 2 at 30000/1001, 4
// at 60000/1001; 0 at rates that do not drop frame numbers.
long long DroppedNumbers(const FrameRate& rate) {
  const long long nominal = NominalRate(rate);
  const bool ntsc = rate.first * 1000 != nominal * 1000 * rate.second && nominal % 30 == 0;
  return ntsc ? kelcaptionfiles::DroppedFrameNumbers(static_cast<int>(nominal)) : 0;
}

}  // namespace

std::optional<TimeCode> TimeCode::Parse(const std::string& text) {
  // Two digits a field (the hours may have more), three separators.
  int fields[4] = {0, 0, 0, 0};
  std::size_t at = 0;
  TimeCode code;
  for (int f = 0; f < 4; ++f) {
    const std::size_t start = at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
    const std::size_t digits = at - start;
    if (digits == 0 || digits > (f == 0 ? 4u : 2u) || (f > 0 && digits != 2)) return std::nullopt;
    fields[f] = std::atoi(text.substr(start, digits).c_str());
    if (f == 3) break;
    if (at >= text.size()) return std::nullopt;
    const char separator = text[at++];
    if (f < 2 && separator != ':') return std::nullopt;
    if (f == 2) {
      // Not "." too: "00:01:02.50" reads as seconds with a fraction.
      if (separator != ':' && separator != ';') return std::nullopt;
      code.dropFrame = separator == ';';
    }
  }
  if (at != text.size()) return std::nullopt;
  code.hours = fields[0];
  code.minutes = fields[1];
  code.seconds = fields[2];
  code.frames = fields[3];
  return code;
}

long long TimeCode::FrameNumber(const FrameRate& rate) const {
  const long long nominal = NominalRate(rate);
  if (nominal <= 0) throw std::invalid_argument("a time code needs a frame rate above 0");
  if (minutes >= 60 || seconds >= 60 || frames >= nominal) {
    throw std::invalid_argument("time code fields out of range: minutes and seconds run 00 to 59, frames 00 to " +
                                std::to_string(nominal - 1));
  }
  if (dropFrame) {
    const long long dropped = DroppedNumbers(rate);
    if (dropped == 0) throw std::invalid_argument("drop-frame time codes are for 30000/1001 and 60000/1001 only");
    if (seconds == 0 && frames < dropped && (hours * 60LL + minutes) % 10 != 0) {
      throw std::invalid_argument("drop-frame time codes skip frames 00 to " + std::to_string(dropped - 1) +
                                  " at the start of each minute but every tenth");
    }
  }
  return kelcaptionfiles::FrameOfTimeCode({hours, minutes, seconds, frames}, static_cast<int>(nominal), dropFrame);
}

TimeCode TimeCode::OfFrame(long long frame, const FrameRate& rate, bool dropFrame) {
  const long long nominal = std::max(NominalRate(rate), 1LL);
  TimeCode code;
  code.dropFrame = dropFrame && DroppedNumbers(rate) > 0;
  const kelcaptionfiles::TimeCodeFields fields =
      kelcaptionfiles::TimeCodeOfFrame(std::max(frame, 0LL), static_cast<int>(nominal), code.dropFrame);
  code.hours = static_cast<int>(fields.hours);
  code.minutes = fields.minutes;
  code.seconds = fields.seconds;
  code.frames = fields.frames;
  return code;
}

std::string TimeCode::Text() const {
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d%c%02d", hours, minutes, seconds, dropFrame ? ';' : ':', frames);
  return text;
}

kelmediatypes::TickTime TimeCode::Time(const FrameRate& rate) const { return TimeOfFrame(FrameNumber(rate), rate); }

kelmediatypes::TickTime TimeOfFrame(long long frame, const FrameRate& rate) {
  return kelmediatypes::TickTime(
      static_cast<std::int64_t>(Wide{frame} * kelmediatypes::TickTime::kTicksPerSecond * rate.second / rate.first));
}

long long FrameAt(kelmediatypes::TickTime time, const FrameRate& rate) {
  const Wide scaled = Wide{time.GetTicks()} * rate.first;
  const Wide unit = Wide{kelmediatypes::TickTime::kTicksPerSecond} * rate.second;
  return static_cast<long long>(scaled >= 0 ? scaled / unit : -((-scaled + unit - 1) / unit));
}

long long FirstFrameFrom(kelmediatypes::TickTime time, const FrameRate& rate) {
  const long long frame = FrameAt(time, rate);
  return TimeOfFrame(frame, rate) < time ? frame + 1 : frame;
}

std::string FormatTime(kelmediatypes::TickTime time) {
  const std::int64_t ticks = time.GetTicks();
  const long long ms = std::llround(static_cast<double>(ticks < 0 ? -ticks : ticks) * 1000.0 /
                                    static_cast<double>(kelmediatypes::TickTime::kTicksPerSecond));
  char text[48];
  std::snprintf(text, sizeof text, "%s%02lld:%02lld:%02lld.%03lld", ticks < 0 ? "-" : "", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, ms % 1000);
  return text;
}

std::string FormatTimeCode(kelmediatypes::TickTime time, const FrameRate& rate, bool dropFrame) {
  const long long frame = FrameAt(time, rate);
  return (frame < 0 ? "-" : "") + TimeCode::OfFrame(frame < 0 ? -frame : frame, rate, dropFrame).Text();
}

}  // namespace kelcaption

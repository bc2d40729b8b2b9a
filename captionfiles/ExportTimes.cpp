#include "captionfiles/ExportTimes.h"

#include <cstdio>
#include <stdexcept>

namespace kelcaptionfiles {

using kelmediatypes::TickTime;

namespace {

__extension__ using Wide = __int128;  // ticks times a frame rate pass 64 bits

}  // namespace

std::string ClockTimeText(TickTime time, char separator) {
  const std::int64_t ticks = time.GetTicks() < 0 ? 0 : time.GetTicks();
  constexpr std::int64_t kTicksPerMs = TickTime::kTicksPerSecond / 1000;
  const std::int64_t ms = ticks / kTicksPerMs + (ticks % kTicksPerMs >= kTicksPerMs / 2 ? 1 : 0);
  char text[48];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld%c%03lld", static_cast<long long>(ms / 3600000),
                static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60), separator,
                static_cast<long long>(ms % 1000));
  return text;
}

FrameClock::FrameClock(kelmediatypes::TimeDisplay display) : numerator_(0), denominator_(1), drop_(false), nominal_(0) {
  int numerator = 0, denominator = 1;
  if (!kelmediatypes::TimeDisplayFrameRate(display, numerator, denominator)) {
    throw std::invalid_argument("time display without frames");
  }
  *this = FrameClock(numerator, denominator,
                     display == kelmediatypes::kTimeDisplay_2997DropTimecode ||
                         display == kelmediatypes::kTimeDisplay_5994DropTimecode);
}

FrameClock::FrameClock(std::int64_t numerator, std::int64_t denominator, bool dropFrame)
    : numerator_(numerator), denominator_(denominator), drop_(dropFrame),
      nominal_(static_cast<int>((numerator + denominator / 2) / denominator)) {
  if (numerator <= 0 || denominator <= 0) throw std::invalid_argument("frame rate must be above 0");
}

std::int64_t FrameClock::FrameAt(TickTime time) const {
  if (time.GetTicks() <= 0) return 0;
  const Wide scaled = Wide{time.GetTicks()} * numerator_;
  const Wide unit = Wide{TickTime::kTicksPerSecond} * denominator_;
  return static_cast<std::int64_t>((scaled + unit / 2) / unit);
}

TickTime FrameClock::TimeOf(std::int64_t frame) const {
  return TickTime(static_cast<std::int64_t>(Wide{frame} * TickTime::kTicksPerSecond * denominator_ / numerator_));
}

TimeCodeFields FrameClock::FieldsOf(std::int64_t frame) const { return TimeCodeOfFrame(frame, nominal_, drop_); }

std::string FrameClock::TimeCodeText(std::int64_t frame, char separator) const {
  const TimeCodeFields f = FieldsOf(frame);
  char text[48];
  std::snprintf(text, sizeof text, "%02lld:%02d:%02d%c%02d", f.hours, f.minutes, f.seconds,
                separator ? separator : drop_ ? ';' : ':', f.frames);
  return text;
}

}  // namespace kelcaptionfiles

#include "captionfiles/FrameTimeCode.h"

#include <cctype>

#include "kelcaptionfiles/TimeCodeRate.h"

namespace kelcaptionfiles {

std::optional<FrameTimeCode> ReadFrameTimeCode(std::string_view line, std::size_t& at) {
  FrameTimeCode code;
  std::size_t next = at;
  const auto digit = [&line](std::size_t i) { return i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); };
  for (std::size_t f = 0; f < 4; ++f) {
    if (!digit(next) || !digit(next + 1)) return std::nullopt;
    code.fields[f] = (line[next] - '0') * 10 + (line[next + 1] - '0');
    next += 2;
    if (f == 3) break;
    if (next >= line.size() || (line[next] != ':' && line[next] != ';' && line[next] != '.')) return std::nullopt;
    if (f == 2) code.frameSeparator = line[next];
    ++next;
  }
  at = next;
  return code;
}

FrameCount CountFrames(FrameTimeCode code, int framesPerSecond, bool dropFrame) {
  FrameCount count;
  auto& [hours, minutes, seconds, frames] = code.fields;
  if (minutes >= 60 || seconds >= 60 || frames >= framesPerSecond) {
    count.carried = true;
    seconds += frames / framesPerSecond, frames %= framesPerSecond;
    minutes += seconds / 60, seconds %= 60;
    hours += minutes / 60, minutes %= 60;
  }
  const std::int64_t totalMinutes = std::int64_t{hours} * 60 + minutes;
  const int dropped = DroppedFrameNumbers(framesPerSecond);
  if (dropFrame && seconds == 0 && frames < dropped && totalMinutes % 10 != 0) {
    count.nonexistent = true;
    frames = dropped;
  }
  count.frames = FrameOfTimeCode({hours, minutes, seconds, frames}, framesPerSecond, dropFrame);
  return count;
}

}  // namespace kelcaptionfiles

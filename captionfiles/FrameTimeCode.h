#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kelcaptionfiles {

// A SMPTE time code HH:MM:SS:FF as a caption file writes it, before it is counted.
struct FrameTimeCode {
  std::array<int, 4> fields{};  // hours, minutes, seconds, frames
  char frameSeparator = ':';    // ';' or '.' mark drop-frame numbering in some files
};

// The time code that starts at `at` in `line`: four fields of two digits, the first three each
// followed by ':', ';' or '.'. Moves `at` past it; nothing (and `at` unchanged) when none stands there.
std::optional<FrameTimeCode> ReadFrameTimeCode(std::string_view line, std::size_t& at);

// Frames since 00:00:00:00 of `code` at a nominal `framesPerSecond` (30 for 30000/1001). Fields past
// their range are carried over; in drop-frame numbering, the frame numbers that do not exist (00
// and 01 at 30, 00 to 03 at 60, at the start of each minute but every tenth) are read as the
// first that does.
struct FrameCount {
  std::int64_t frames = 0;
  bool carried = false;      // a field was out of range
  bool nonexistent = false;  // a drop-frame number that does not exist
};
FrameCount CountFrames(FrameTimeCode code, int framesPerSecond, bool dropFrame);

}  // namespace kelcaptionfiles

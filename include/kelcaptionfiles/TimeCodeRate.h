#pragma once

#include "kelcaptionfiles/Export.h"

namespace kelcaptionfiles {

// How a file's time codes count frames: at `numerator`/`denominator` frames a second (30000/1001
// for SCC), with drop-frame numbering ("HH:MM:SS;FF") or without.
struct TimeCodeRate {
  long long numerator = 0;
  long long denominator = 1;
  bool dropFrame = false;
};

// The fields of a SMPTE time code; the hours run past 23.
struct TimeCodeFields {
  long long hours = 0;
  int minutes = 0, seconds = 0, frames = 0;
};

// Frame numbers that drop-frame numbering leaves out at the start of each minute but every tenth,
// at `nominalRate` frames a time-code second: 2 at 30, 4 at 60.
constexpr int DroppedFrameNumbers(int nominalRate) noexcept { return nominalRate / 15; }

// The time code naming frame `frame` (0 or later) counted at `nominalRate` frames a second, with
// drop-frame numbering or without.
KELCAPTIONFILES_API TimeCodeFields TimeCodeOfFrame(long long frame, int nominalRate, bool dropFrame);
// The frame that `code` names, the inverse of TimeCodeOfFrame: its fields in range, and in
// drop-frame numbering not a number left out.
KELCAPTIONFILES_API long long FrameOfTimeCode(const TimeCodeFields& code, int nominalRate, bool dropFrame);

}  // namespace kelcaptionfiles

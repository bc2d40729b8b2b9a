#pragma once

namespace kelcaptionfiles {

// How a file's time codes count frames: at `numerator`/`denominator` frames a second (30000/1001
// for SCC), with drop-frame numbering ("HH:MM:SS;FF") or without.
struct TimeCodeRate {
  long long numerator = 0;
  long long denominator = 1;
  bool dropFrame = false;
};

}  // namespace kelcaptionfiles

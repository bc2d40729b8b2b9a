#pragma once

// Times as the writers put them in files: clock times with milliseconds, and frame time codes of
// the time display the user chose.

#include <cstdint>
#include <string>

#include "kelcaptionfiles/TimeCodeRate.h"
#include "kelmediatypes/TickTime.h"
#include "kelmediatypes/TimeDisplay.h"

namespace kelcaptionfiles {

// "HH:MM:SS" and `separator` and three digits of milliseconds, rounded to the nearest; negative
// times are written as 0.
std::string ClockTimeText(kelmediatypes::TickTime time, char separator);

// Frames of a time display: counted at its rate, named by time codes with or without dropped
// frame numbers.
class FrameClock {
 public:
  // Throws std::invalid_argument for the millisecond display and values that are not displays.
  explicit FrameClock(kelmediatypes::TimeDisplay display);
  FrameClock(std::int64_t numerator, std::int64_t denominator, bool dropFrame);

  // The frame nearest to `time` (negative times give frame 0).
  std::int64_t FrameAt(kelmediatypes::TickTime time) const;
  // Where frame `frame` begins.
  kelmediatypes::TickTime TimeOf(std::int64_t frame) const;
  // Frames a time-code second counts: 30 at 29.97, 25 at 25.
  int NominalRate() const noexcept { return nominal_; }
  bool DropFrame() const noexcept { return drop_; }
  std::int64_t Numerator() const noexcept { return numerator_; }
  std::int64_t Denominator() const noexcept { return denominator_; }

  // The time code fields that name frame `frame`.
  TimeCodeFields FieldsOf(std::int64_t frame) const;
  // "HH:MM:SS:FF", or "HH:MM:SS;FF" in drop frame, with `separator` before the frames when given.
  std::string TimeCodeText(std::int64_t frame, char separator = 0) const;

 private:
  std::int64_t numerator_;
  std::int64_t denominator_;
  bool drop_;
  int nominal_;
};

}  // namespace kelcaptionfiles

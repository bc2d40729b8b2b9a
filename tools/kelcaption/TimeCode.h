#pragma once

#include <optional>
#include <string>
#include <utility>

#include "kelmediatypes/TickTime.h"

namespace kelcaption {

// A frame rate as a fraction, numerator and denominator (30000/1001).
using FrameRate = std::pair<long long, long long>;

// A SMPTE time code: "HH:MM:SS:FF", or drop-frame "HH:MM:SS;FF", as containers and people
// write them.
struct TimeCode {
  int hours = 0, minutes = 0, seconds = 0, frames = 0;
  bool dropFrame = false;

  // Null when `text` does not have the shape of a time code; out-of-range fields are checked
  // against a rate by FrameNumber.
  static std::optional<TimeCode> Parse(const std::string& text);

  // The frame this time code names, counted from 00:00:00:00 at `rate`: whole-second rates count
  // their own frames a second, NTSC rates the nearest whole number of them, and drop-frame leaves
  // out frame numbers 00 and 01 (00 to 03 at 60000/1001) at every minute but each tenth. Throws
  // std::invalid_argument for fields out of range at `rate`, or drop-frame at a rate without it.
  long long FrameNumber(const FrameRate& rate) const;
  // Where that frame begins.
  kelmediatypes::TickTime Time(const FrameRate& rate) const;

  // The time code of frame `frame` (from 0) at `rate`: drop-frame at 30000/1001 and 60000/1001,
  // so that it keeps to the clock.
  static TimeCode OfFrame(long long frame, const FrameRate& rate);
  // "HH:MM:SS:FF", or "HH:MM:SS;FF" when drop-frame.
  std::string Text() const;
};

// Where frame `frame` begins at `rate`.
kelmediatypes::TickTime TimeOfFrame(long long frame, const FrameRate& rate);
// The frame showing at `time` at `rate` (rounded down).
long long FrameAt(kelmediatypes::TickTime time, const FrameRate& rate);
// The first frame that starts at or after `time` at `rate`.
long long FirstFrameFrom(kelmediatypes::TickTime time, const FrameRate& rate);

// "HH:MM:SS.mmm", negative times with a "-".
std::string FormatTime(kelmediatypes::TickTime time);

}  // namespace kelcaption

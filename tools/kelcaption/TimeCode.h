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

  // The time code of frame `frame` (0 or later) at `rate`, the inverse of FrameNumber; drop-frame
  // numbering only at the NTSC rates that have it (30000/1001, 60000/1001), whatever `dropFrame` asks.
  static TimeCode OfFrame(long long frame, const FrameRate& rate, bool dropFrame = true);
  // "HH:MM:SS:FF", or "HH:MM:SS;FF" in drop frame.
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
// The time code of the frame showing at `time` (see FrameAt), negative times as "-" and the
// time code of their distance from 0.
std::string FormatTimeCode(kelmediatypes::TickTime time, const FrameRate& rate, bool dropFrame);

}  // namespace kelcaption

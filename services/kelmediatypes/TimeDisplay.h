#pragma once

#include "kelcore/String.h"
#include "kelmediatypes/Export.h"

namespace kelmediatypes {

// How time codes are shown and written: a frame rate and, for the NTSC rates, drop-frame or not.
enum TimeDisplay : int {
  kTimeDisplay_23976Timecode = 100,
  kTimeDisplay_24Timecode = 101,
  kTimeDisplay_25Timecode = 102,
  kTimeDisplay_2997DropTimecode = 103,
  kTimeDisplay_2997NonDropTimecode = 104,
  kTimeDisplay_30Timecode = 105,
  kTimeDisplay_50Timecode = 106,
  kTimeDisplay_5994DropTimecode = 107,
  kTimeDisplay_5994NonDropTimecode = 108,
  kTimeDisplay_60Timecode = 109,
  kTimeDisplay_Milliseconds = 110,
};

// The display's name for a menu, such as "29.97 fps Drop-Frame Timecode". A value that is not a
// TimeDisplay gives "Unknown Time Display".
KELMEDIATYPES_API kelcore::UTF16String TimeDisplayDescription(TimeDisplay display);

// Frames per second of the display's time codes as a fraction; false for the millisecond display
// and for unknown values.
KELMEDIATYPES_API bool TimeDisplayFrameRate(TimeDisplay display, int& numerator, int& denominator);

}  // namespace kelmediatypes

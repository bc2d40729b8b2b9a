#include "kelmediatypes/TimeDisplay.h"

namespace kelmediatypes {

namespace {

struct TimeDisplayInfo {
  TimeDisplay display;
  const char* description;
  int numerator;
  int denominator;
};

constexpr TimeDisplayInfo kTimeDisplays[] = {
    {kTimeDisplay_23976Timecode, "23.976 fps Timecode", 24000, 1001},
    {kTimeDisplay_24Timecode, "24 fps Timecode", 24, 1},
    {kTimeDisplay_25Timecode, "25 fps Timecode", 25, 1},
    {kTimeDisplay_2997DropTimecode, "29.97 fps Drop-Frame Timecode", 30000, 1001},
    {kTimeDisplay_2997NonDropTimecode, "29.97 fps Non Drop-Frame Timecode", 30000, 1001},
    {kTimeDisplay_30Timecode, "30 fps Timecode", 30, 1},
    {kTimeDisplay_50Timecode, "50 fps Timecode", 50, 1},
    {kTimeDisplay_5994DropTimecode, "59.94 fps Drop-Frame Timecode", 60000, 1001},
    {kTimeDisplay_5994NonDropTimecode, "59.94 fps Non Drop-Frame Timecode", 60000, 1001},
    {kTimeDisplay_60Timecode, "60 fps Timecode", 60, 1},
    {kTimeDisplay_Milliseconds, "Milliseconds", 0, 0},
};

const TimeDisplayInfo* Find(TimeDisplay display) {
  for (const TimeDisplayInfo& info : kTimeDisplays) {
    if (info.display == display) return &info;
  }
  return nullptr;
}

}  // namespace

kelcore::UTF16String TimeDisplayDescription(TimeDisplay display) {
  const TimeDisplayInfo* info = Find(display);
  return kelcore::string::AsciiToUTF16(info ? info->description : "Unknown Time Display");
}

bool TimeDisplayFrameRate(TimeDisplay display, int& numerator, int& denominator) {
  const TimeDisplayInfo* info = Find(display);
  if (info == nullptr || info->denominator == 0) return false;
  numerator = info->numerator;
  denominator = info->denominator;
  return true;
}

}  // namespace kelmediatypes

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "kelcaption/CaptionAppearances.h"
#include "kelcaption/StateFacts.h"
#include "kelcaption/TimeCode.h"
#include "kelcaptioning/StreamFormat.h"

namespace kelcaption {

// What a person checking a caption file before delivery looks for.
enum class CheckKind {
  kReadingSpeed,      // more characters a second than a viewer reads
  kTooShort,          // on screen too briefly to be read
  kTooLong,           // on screen long after it was read
  kShortGap,          // a gap between two captions that the eye sees as a flicker
  kLongLine,          // a line longer than the format allows
  kOutsideTitleSafe,  // text outside the title-safe area
  kOverlap,           // captions drawn over each other
  kEmpty,             // a caption with no text
  kNeverShown,        // a caption outside the video's time
};
inline constexpr CheckKind kAllChecks[] = {
    CheckKind::kReadingSpeed, CheckKind::kTooShort,         CheckKind::kTooLong,
    CheckKind::kShortGap,     CheckKind::kLongLine,         CheckKind::kOutsideTitleSafe,
    CheckKind::kOverlap,      CheckKind::kEmpty,            CheckKind::kNeverShown};

// The thresholds, as subtitlers' style guides commonly set them.
struct CheckLimits {
  double maxCharactersPerSecond = 20;
  double minSeconds = 1, maxSeconds = 7;  // on screen
  long minGapFrames = 2;
  int maxLineLength = 0;  // characters; 0: the format's (DefaultLineLength)
  double titleSafe = 0.8;  // the share of the frame's width and height, centred, that text stays within
};

// What the checks need to know of the programme besides its captions.
struct CheckSetting {
  int frameWidth = 1920;
  int frameHeight = 1080;
  FrameRate rate{25, 1};
  int lineLength = 42;  // the format's; CheckLimits::maxLineLength overrides it
  // The captions' times that the video covers, [from, until); none without a video.
  std::optional<std::pair<kelmediatypes::TickTime, kelmediatypes::TickTime>> videoSpan;
};

// 32 for line-21 captions, a grid format's columns for the other grids, 42 for subtitles.
int DefaultLineLength(kelcaptioning::StreamFormat format, int gridColumns);
// The longest line that passes: the limit's when it sets one, else the format's.
int MaxLineLength(const CheckLimits& limits, const CheckSetting& setting);

// One thing a check found, in the state where it shows first.
struct Flag {
  CheckKind kind;
  std::size_t state = 0;
  std::string detail;
};

// A short stable name ("reading-speed") and what the check looks for, with its threshold.
const char* CheckName(CheckKind kind);
std::string CheckTitle(CheckKind kind, const CheckLimits& limits, const CheckSetting& setting);

// Every flag of every check, by check in kAllChecks order, then by state.
std::vector<Flag> RunChecks(const std::vector<StateFacts>& states, const std::vector<Appearance>& appearances,
                            const CheckLimits& limits, const CheckSetting& setting);

}  // namespace kelcaption

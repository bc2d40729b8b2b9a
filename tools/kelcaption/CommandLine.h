#pragma once

// What the subcommands share on the command line: value parsers, the caption-file options, and
// the errors that decide the exit status.

#include <CLI/CLI.hpp>

#include <stdexcept>
#include <string>
#include <optional>
#include <utility>
#include <vector>

#include "kelmediatypes/TickTime.h"
#include "kelui/inkpad/Objects.h"

namespace kelcaption {

// Exit statuses, one meaning each.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;  // the input could not be read, or the run failed
inline constexpr int kExitUsage = 2;   // the command line is wrong
inline constexpr int kExitFlagged = 3; // report: a check flagged something, and --fail-on-flags was given

// An option value that cannot be used; the tool exits with kExitUsage.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Size {
  int width = 1920;
  int height = 1080;
};

// "WIDTHxHEIGHT", both above 0.
Size ParseSize(const std::string& text);
// "HH:MM:SS.mmm", "MM:SS.mmm" or seconds; `option` names the option in the error.
kelmediatypes::TickTime ParseTime(const std::string& text, const std::string& option);
// "#RRGGBB", black, white or gray, opaque.
kelui::inkpad::Color ParseColor(const std::string& text);
// "HH:MM:SS.mmm", "MM:SS.mmm", seconds, or a SMPTE time code ("HH:MM:SS:FF", drop-frame
// "HH:MM:SS;FF") at `rate`, which only a time code needs; a leading "+" or "-" when `signed` is true.
kelmediatypes::TickTime ParseTimeOrTimeCode(const std::string& text, const std::string& option,
                                            const std::optional<std::pair<long long, long long>>& rate,
                                            bool allowSign = false);
// A positive fraction "N/D" or "N:D", or a whole number.
std::pair<long long, long long> ParseFraction(const std::string& text, const std::string& option);
// A frame rate as a fraction: "N/D", a whole number, a decimal ("25", "12.5"; the NTSC rates
// "23.976", "29.97", "59.94" and the like are 24000/1001, 30000/1001, 60000/1001), or a name:
// ntsc (30000/1001), ntsc-film (24000/1001), pal (25), film (24).
std::pair<long long, long long> ParseFrameRate(const std::string& text, const std::string& option);

// The moment that render and rects show: --at as a time or a time code at --fps, or --frame N at --fps.
struct MomentOptions {
  std::string at = "0";
  std::string fps;
  long long frame = -1;
};
void AddMomentOptions(CLI::App& command, MomentOptions& options);
// Throws UsageError for values that cannot be used together.
kelmediatypes::TickTime MomentOf(const MomentOptions& options);

// The caption file that a subcommand reads, and how.
struct CaptionFileOptions {
  std::string file;
  // What is shown of line-21 and digital-TV caption data (SCC, MCC, captions a video carries):
  // --channel CC1 to CC4 (or 1 to 4), --service 1 to 63; neither, the default (see
  // kelcaptionfiles::ReadOptions).
  std::string channel;
  int service = 0;
  // Stop at the first part of the file that cannot be read, instead of reading the rest.
  bool strict = false;
  // The text encoding of a text file; empty to find it.
  std::string encoding;
  // --style values: the viewer's display settings, applied to every state the file shows.
  std::vector<std::string> styles;
};
void AddCaptionFileOptions(CLI::App& command, CaptionFileOptions& options);
// --channel as a number 1 to 4, 0 when not given; throws UsageError for another value.
int ChannelNumber(const std::string& channel);
// The same without --style, for subcommands that do not draw.
void AddCaptionReadOptions(CLI::App& command, CaptionFileOptions& options);

// "--smooth-roll-up": roll-up captions scroll a row up over a few frames instead of jumping.
void AddSmoothRollUpOption(CLI::App& command, bool& smooth);

// "-o,--output": a file, or "-" for standard output.
CLI::Option* AddOutputOption(CLI::App& command, std::string& output, const std::string& what);

}  // namespace kelcaption

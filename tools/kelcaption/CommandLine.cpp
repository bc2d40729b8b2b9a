#include "kelcaption/CommandLine.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <sstream>

#include "kelcaption/DisplayStyle.h"
#include "kelcaption/TimeCode.h"
#include "kelcaptionfiles/HexColor.h"

namespace kelcaption {

Size ParseSize(const std::string& text) {
  int w = 0, h = 0;
  char x = 0, extra = 0;
  std::istringstream in(text);
  if (!(in >> w >> x >> h) || (x != 'x' && x != 'X') || (in >> extra) || w <= 0 || h <= 0) {
    throw UsageError("--size wants WIDTHxHEIGHT with both above 0, such as 1920x1080, not \"" + text + "\"");
  }
  return {w, h};
}

kelmediatypes::TickTime ParseTime(const std::string& text, const std::string& option) {
  const auto fail = [&] { throw UsageError(option + " wants a time such as 00:00:05.000, not \"" + text + "\""); };
  double seconds = 0;
  std::istringstream in(text);
  std::string part;
  int parts = 0;
  while (std::getline(in, part, ':')) {
    char* end = nullptr;
    const double value = std::strtod(part.c_str(), &end);
    if (part.empty() || *end != '\0' || !(value >= 0) || value > 1e9) fail();
    seconds = seconds * 60 + value;
    ++parts;
  }
  if (parts == 0 || parts > 3) fail();
  return kelmediatypes::TickTime(static_cast<std::int64_t>(std::llround(seconds * 1000.0)) *
                                 (kelmediatypes::TickTime::kTicksPerSecond / 1000));
}

kelui::inkpad::Color ParseColor(const std::string& text) {
  if (text == "black") return {0, 0, 0, 1};
  if (text == "white") return {1, 1, 1, 1};
  if (text == "gray" || text == "grey") return {0.5f, 0.5f, 0.5f, 1};
  if (const auto color = kelcaptionfiles::ParseHexColor(text, false))
    return {color->Red(), color->Green(), color->Blue(), 1};
  throw UsageError("a colour is #RRGGBB, black, white or gray, not \"" + text + "\"");
}

std::pair<long long, long long> ParseFraction(const std::string& text, const std::string& option) {
  long long n = 0, d = 1;
  char sep = 0, extra = 0;
  std::istringstream in(text);
  if (!(in >> n)) throw UsageError(option + " wants N/D or a number, not \"" + text + "\"");
  if (in >> sep) {
    if ((sep != '/' && sep != ':') || !(in >> d) || (in >> extra)) {
      throw UsageError(option + " wants N/D or a number, not \"" + text + "\"");
    }
  }
  if (n <= 0 || d <= 0) throw UsageError(option + " must be positive, not \"" + text + "\"");
  return {n, d};
}

std::pair<long long, long long> ParseFrameRate(const std::string& text, const std::string& option) {
  if (text == "ntsc") return {30000, 1001};
  if (text == "ntsc-film") return {24000, 1001};
  if (text == "pal") return {25, 1};
  if (text == "film") return {24, 1};
  const std::size_t point = text.find('.');
  if (point == std::string::npos) return ParseFraction(text, option);
  const auto fail = [&] {
    throw UsageError(option + " wants a frame rate: N/D, a number such as 25 or 29.97, or ntsc, ntsc-film, pal, film; not \"" +
                     text + "\"");
  };
  const std::string whole = text.substr(0, point), fraction = text.substr(point + 1);
  const auto digits = [](const std::string& part) {
    return part.find_first_not_of("0123456789") == std::string::npos;
  };
  if (whole.empty() || fraction.empty() || !digits(whole) || !digits(fraction) || whole.size() > 6 ||
      fraction.size() > 6) {
    fail();
  }
  long long denominator = 1;
  for (std::size_t i = 0; i < fraction.size(); ++i) denominator *= 10;
  const long long numerator = std::stoll(whole) * denominator + std::stoll(fraction);
  if (numerator <= 0) fail();
  // A rounded NTSC rate: N * 1000/1001 written to two or three decimals.
  const double value = static_cast<double>(numerator) / static_cast<double>(denominator);
  const long long ntsc = std::llround(value * 1.001);
  if (std::abs(value - static_cast<double>(ntsc) / 1.001) < 0.006 && std::abs(value - std::round(value)) > 0.006) {
    return {ntsc * 1000, 1001};
  }
  const long long common = std::gcd(numerator, denominator);
  return {numerator / common, denominator / common};
}

kelmediatypes::TickTime ParseTimeOrTimeCode(const std::string& text, const std::string& option,
                                            const std::optional<std::pair<long long, long long>>& rate, bool allowSign) {
  const bool negative = allowSign && !text.empty() && text[0] == '-';
  const std::string magnitude = allowSign && !text.empty() && (text[0] == '-' || text[0] == '+') ? text.substr(1) : text;
  kelmediatypes::TickTime time;
  if (const std::optional<TimeCode> code = TimeCode::Parse(magnitude)) {
    if (!rate) throw UsageError(option + " " + text + " is a time code; give its frame rate with --fps");
    try {
      time = code->Time(*rate);
    } catch (const std::invalid_argument& e) {
      throw UsageError(option + " " + text + ": " + e.what());
    }
  } else {
    time = ParseTime(magnitude, option);
  }
  return negative ? kelmediatypes::TickTime(-time.GetTicks()) : time;
}

void AddMomentOptions(CLI::App& command, MomentOptions& options) {
  CLI::Option* at = command
                        .add_option("--at", options.at,
                                    "Time: HH:MM:SS.mmm, seconds, or a time code HH:MM:SS:FF (HH:MM:SS;FF drop-frame) at --fps")
                        ->capture_default_str();
  command.add_option("--frame", options.frame, "Frame number N (from 0) at --fps, instead of --at")
      ->check(CLI::NonNegativeNumber)
      ->excludes(at);
  command.add_option("--fps", options.fps, "Frame rate of time codes and frame numbers: N/D, 29.97, ntsc, pal, film...");
}

kelmediatypes::TickTime MomentOf(const MomentOptions& options) {
  std::optional<FrameRate> rate;
  if (!options.fps.empty()) rate = ParseFrameRate(options.fps, "--fps");
  if (options.frame >= 0) {
    if (!rate) throw UsageError("--frame needs the frame rate: give --fps");
    return TimeOfFrame(options.frame, *rate);
  }
  return ParseTimeOrTimeCode(options.at, "--at", rate);
}

void AddCaptionReadOptions(CLI::App& command, CaptionFileOptions& options) {
  command
      .add_option("FILE", options.file,
                  "Caption file: SubRip, WebVTT, SCC, MCC, EBU STL, timed text (TTML) or a JSON document; or a video file, whose own "
                  "captions (A/53 caption data) are read")
      ->required()
      ->check(CLI::ExistingFile);
  CLI::Option* channel = command.add_option(
      "--channel", options.channel,
      "Line-21 caption channel CC1 to CC4 of SCC, MCC and video files (SCC: CC1, CC2); by default a file's "
      "digital-TV service 1 when it shows anything, else CC1");
  command.add_option("--service", options.service, "Digital-TV (CEA-708) caption service 1 to 63 of MCC and video files")
      ->check(CLI::Range(1, 63))
      ->excludes(channel);
  command.add_flag("--strict", options.strict,
                   "Stop at the first part of FILE that cannot be read as written, instead of skipping or "
                   "repairing it as players do and reading the rest");
  command.add_option("--encoding", options.encoding,
                     "Text encoding of FILE as iconv names it (windows-1252, UTF-16LE, Shift_JIS, ...); by default "
                     "a byte-order mark tells, else UTF-8, else a guess that is reported");
}

void AddCaptionFileOptions(CLI::App& command, CaptionFileOptions& options) {
  AddCaptionReadOptions(command, options);
  AddDisplayStyleOption(command, options.styles);
}

int ChannelNumber(const std::string& channel) {
  if (channel.empty()) return 0;
  std::string digits = channel;
  if (digits.size() == 3 && (digits[0] == 'C' || digits[0] == 'c') && (digits[1] == 'C' || digits[1] == 'c')) digits.erase(0, 2);
  if (digits.size() != 1 || digits[0] < '1' || digits[0] > '4') {
    throw UsageError("--channel " + channel + ": the caption channels are CC1, CC2, CC3 and CC4");
  }
  return digits[0] - '0';
}

void AddSmoothRollUpOption(CLI::App& command, bool& smooth) {
  command.add_flag("--smooth-roll-up", smooth,
                   "Line-21 roll-up captions scroll up a row over a third of a second, as no common decoder "
                   "shows them, instead of jumping at once");
}

CLI::Option* AddOutputOption(CLI::App& command, std::string& output, const std::string& what) {
  return command.add_option("-o,--output", output, what + " to write; - for standard output");
}

}  // namespace kelcaption

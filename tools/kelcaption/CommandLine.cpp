#include "kelcaption/CommandLine.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>

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

void AddCaptionFileOptions(CLI::App& command, CaptionFileOptions& options) {
  command.add_option("FILE", options.file, "Caption file: SubRip, WebVTT, SCC, EBU STL or a JSON document")
      ->required()
      ->check(CLI::ExistingFile);
  command.add_option("--channel", options.channel, "Caption channel of SCC files: 1 (CC1) or 2 (CC2)")
      ->check(CLI::Range(1, 2))
      ->capture_default_str();
  command.add_flag("--strict", options.strict,
                   "Stop at the first part of FILE that cannot be read as written, instead of skipping or "
                   "repairing it as players do and reading the rest");
  command.add_option("--encoding", options.encoding,
                     "Text encoding of FILE as iconv names it (windows-1252, UTF-16LE, Shift_JIS, ...); by default "
                     "a byte-order mark tells, else UTF-8, else a guess that is reported");
}

CLI::Option* AddOutputOption(CLI::App& command, std::string& output, const std::string& what) {
  return command.add_option("-o,--output", output, what + " to write; - for standard output");
}

}  // namespace kelcaption

#include "captionfiles/SccReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "captionfiles/FrameTimeCode.h"
#include "captionfiles/HexDigits.h"
#include "captionfiles/Line21Timeline.h"
#include "captionfiles/ReadProblems.h"
#include "kelcaptioning/Formats.h"
#include "kelcaptioning/RenderableFromCaption.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;
using kelmediatypes::TickTime;

namespace {

// One frame at 30000/1001 frames a second, exactly in ticks.
constexpr std::int64_t kTicksPerFrame = TickTime::kTicksPerSecond / 30000 * 1001;
static_assert(TickTime::kTicksPerSecond % 30000 == 0);

// One line of an SCC file: its time code, then byte pairs as words of four hex digits.
class LineReader {
 public:
  LineReader(std::string_view line, int number, ReadProblems& problems)
      : line_(line), number_(number), problems_(problems) {}

  FilePlace At(std::size_t column) const { return FilePlace::At(number_, static_cast<int>(column) + 1); }

  // Frames since 00:00:00:00 at 30000/1001 a second; nothing when the line starts with no time
  // code. Fields past their range are carried over and drop-frame numbers that do not exist
  // moved to the next that does, both reported.
  std::optional<std::int64_t> TimeCode(std::size_t& at) const {
    const std::optional<FrameTimeCode> code = ReadFrameTimeCode(line_, at);
    if (!code) {
      problems_.Report(At(0), "expected a time code HH:MM:SS:FF (or HH:MM:SS;FF in drop frame)",
                       "lines without a time code (skipped)");
      return std::nullopt;
    }
    const std::string written(line_.substr(0, at));
    const FrameCount count = CountFrames(*code, 30, code->frameSeparator != ':');
    if (count.carried) {
      problems_.Report(At(0), "time code " + written + " is out of range (frames run 00 to 29)",
                       "time codes with fields out of range (carried over)");
    }
    if (count.nonexistent) {
      // Frame numbers 00 and 01 are skipped at the start of each minute but every tenth.
      problems_.Report(At(0), "drop-frame time code " + written + " does not exist",
                       "drop-frame time codes that do not exist (read as frame 02 of their minute)");
    }
    return count.frames;
  }

  // The next word after `at`: a pair of bytes, or nothing at the end of the line. Words that
  // are not pairs are reported and passed over.
  std::optional<std::pair<std::uint8_t, std::uint8_t>> NextPair(std::size_t& at, std::size_t& wordStart) const {
    while (true) {
      while (at < line_.size() && (line_[at] == ' ' || line_[at] == '\t')) ++at;
      if (at >= line_.size()) return std::nullopt;
      wordStart = at;
      std::size_t end = at;
      while (end < line_.size() && line_[end] != ' ' && line_[end] != '\t') ++end;
      const std::string_view word = line_.substr(at, end - at);
      at = end;
      int digits[4];
      const bool hex = std::all_of(word.begin(), word.end(), [](char c) { return HexDigit(c) >= 0; });
      if (hex && word.size() == 4) {
        for (int i = 0; i < 4; ++i) digits[i] = HexDigit(word[static_cast<std::size_t>(i)]);
        return std::make_pair(static_cast<std::uint8_t>(digits[0] * 16 + digits[1]),
                              static_cast<std::uint8_t>(digits[2] * 16 + digits[3]));
      }
      if (hex && word.size() == 2 && at >= line_.size()) {
        problems_.Report(At(wordStart), "expected a byte pair of four hex digits",
                         "lone bytes at the end of a line (ignored)");
      } else {
        problems_.Report(At(wordStart), "expected a byte pair of four hex digits",
                         "words that are not byte pairs of four hex digits (skipped)");
      }
    }
  }

 private:
  std::string_view line_;
  int number_;
  ReadProblems& problems_;
};

}  // namespace

ReadResult ReadScc(std::string_view text, const std::string& fileName, const ReadOptions& options) {
  const int channel = options.channel == 0 ? 1 : options.channel;
  if (channel != 1 && channel != 2) throw std::invalid_argument("SCC files carry caption channels CC1 and CC2");
  FileNotes notes;
  ReadProblems problems(fileName, options.strict, notes);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Line21Timeline decoded(channel);
  bool header = false;
  std::optional<TimeCodeRate> rate;
  std::int64_t nextFrame = 0, lastCode = -1;
  long late = 0;
  FilePlace firstLate;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (line.empty()) continue;
    const LineReader reader(line, number, problems);
    if (!header) {
      header = true;
      if (line == "Scenarist_SCC V1.0") continue;
      problems.Report(reader.At(0), "expected the header \"Scenarist_SCC V1.0\"",
                      "a missing header \"Scenarist_SCC V1.0\" (read as SCC all the same)");
    }
    std::size_t at = 0;
    const std::optional<std::int64_t> code = reader.TimeCode(at);
    if (!code) continue;
    // The separator before the frames tells drop-frame numbering (see ReadFrameTimeCode).
    if (!rate) rate = TimeCodeRate{30000, 1001, line[8] != ':'};
    if (*code < lastCode) {
      problems.Report(reader.At(0), "time codes must not go back",
                      "time codes that go back (their pairs sent after the line before)");
    }
    lastCode = *code;
    // Pairs still being sent from the line before delay this line's.
    if (*code < nextFrame && late++ == 0) firstLate = FilePlace::At(number, 1);
    std::int64_t frame = std::max(*code, nextFrame);
    std::size_t wordStart = 0;
    while (const auto pair = reader.NextPair(at, wordStart)) {
      const FilePlace place = reader.At(wordStart);
      // A decoder drops a pair whose parity fails, and it takes its frame all the same.
      if (!HasOddParity(pair->first) || !HasOddParity(pair->second)) {
        const std::size_t bad = HasOddParity(pair->first) ? 2 : 0;
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", bad ? pair->second : pair->first);
        problems.Report(reader.At(wordStart + bad), "byte " + std::string(hex) + " fails its odd parity check",
                        "byte pairs that fail their odd parity check (dropped, as a decoder drops them)");
        ++frame;
        continue;
      }
      decoded.Feed(TickTime(frame * kTicksPerFrame), pair->first, pair->second, place);
      ++frame;
    }
    nextFrame = frame;
  }
  if (!header) {
    problems.Report(FilePlace::At(1, 1), "expected the header \"Scenarist_SCC V1.0\"",
                    "an empty file (nothing to read)");
  }
  CaptionTimeline timeline = decoded.Finish(notes);
  if (late > 0) {
    notes.Count("lines whose pairs start after their time code, because the line before was still being sent",
                firstLate, late);
  }
  return {std::move(timeline), std::move(notes), {}, false, rate};
}

}  // namespace kelcaptionfiles

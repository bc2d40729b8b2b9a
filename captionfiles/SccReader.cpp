#include "captionfiles/SccReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "captionfiles/Line21Decoder.h"
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

CaptioningColor ColorOf(Line21Color color) {
  switch (color) {
    case Line21Color::White: return kCaptioningColor_White;
    case Line21Color::Green: return {0, 1, 0};
    case Line21Color::Blue: return {0, 0, 1};
    case Line21Color::Cyan: return {0, 1, 1};
    case Line21Color::Red: return {1, 0, 0};
    case Line21Color::Yellow: return {1, 1, 0};
    case Line21Color::Magenta: return {1, 0, 1};
    case Line21Color::Black: break;
  }
  return kCaptioningColor_Black;
}

TextAttributes AttributesOf(const Line21Style& style) {
  TextAttributes attributes;
  attributes.SetForegroundColor(ColorOf(style.foreground));
  const CaptioningColor background = ColorOf(style.background);
  const float alpha = style.backgroundOpacity == Line21Opacity::Opaque            ? 1.0f
                      : style.backgroundOpacity == Line21Opacity::SemiTransparent ? 0.5f
                                                                                  : 0.0f;
  attributes.SetBackgroundColor({background.Red(), background.Green(), background.Blue(), alpha});
  attributes.SetItalic(style.italic);
  attributes.SetUnderlined(style.underline);
  return attributes;
}

// Turns displayed memories into models. Rows that a state shares with the one before (also
// after a roll-up moved them) share their row objects, so hours of roll-up stay small.
class ModelMaker {
 public:
  explicit ModelMaker(StreamFormat format) : format_(format) {}

  CaptioningRenderableModelPtr Make(const Line21Memory& memory) {
    std::array<CaptioningRenderableModelRowPtr, kLine21Rows> rows;
    RowList list(kLine21Rows);
    for (std::size_t r = 0; r < memory.size(); ++r) {
      rows[r] = RowOf(memory[r]);
      list[r] = rows[r];
    }
    previous_ = memory;
    previousRows_ = rows;
    return MakeGridModel(format_, std::move(list));
  }

 private:
  CaptioningRenderableModelRowPtr RowOf(const Line21Row& row) const {
    std::size_t used = row.size();
    while (used > 0 && row[used - 1].Empty()) --used;
    if (used == 0) return nullptr;
    for (std::size_t r = 0; r < previous_.size(); ++r) {
      if (previousRows_[r] && previous_[r] == row) return previousRows_[r];
    }
    CellList cells(used);
    for (std::size_t c = 0; c < used; ++c) {
      if (!row[c].Empty()) cells[c] = new CaptioningRenderableModelCell(row[c].character, AttributesOf(row[c].style));
    }
    CaptioningRenderableModelRowPtr made(new CaptioningRenderableModelRow());
    made->SetCells(std::move(cells));
    return made;
  }

  StreamFormat format_;
  Line21Memory previous_{};
  std::array<CaptioningRenderableModelRowPtr, kLine21Rows> previousRows_{};
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

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
    int fields[4] = {0, 0, 0, 0};
    bool dropFrame = false;
    for (int f = 0; f < 4; ++f) {
      if (at + 2 > line_.size() || !std::isdigit(static_cast<unsigned char>(line_[at])) ||
          !std::isdigit(static_cast<unsigned char>(line_[at + 1])) ||
          (f < 3 && (at + 2 >= line_.size() || (line_[at + 2] != ':' && line_[at + 2] != ';' && line_[at + 2] != '.')))) {
        problems_.Report(At(0), "expected a time code HH:MM:SS:FF (or HH:MM:SS;FF in drop frame)",
                         "lines without a time code (skipped)");
        return std::nullopt;
      }
      fields[f] = (line_[at] - '0') * 10 + (line_[at + 1] - '0');
      if (f == 2) dropFrame = line_[at + 2] != ':';
      at += f < 3 ? 3 : 2;
    }
    const std::string written(line_.substr(0, at));
    if (fields[1] >= 60 || fields[2] >= 60 || fields[3] >= 30) {
      problems_.Report(At(0), "time code " + written + " is out of range (frames run 00 to 29)",
                       "time codes with fields out of range (carried over)");
      fields[2] += fields[3] / 30, fields[3] %= 30;
      fields[1] += fields[2] / 60, fields[2] %= 60;
      fields[0] += fields[1] / 60, fields[1] %= 60;
    }
    const std::int64_t totalMinutes = std::int64_t{fields[0]} * 60 + fields[1];
    if (dropFrame && fields[2] == 0 && fields[3] < 2 && totalMinutes % 10 != 0) {
      // Frame numbers 00 and 01 are skipped at the start of each minute but every tenth.
      problems_.Report(At(0), "drop-frame time code " + written + " does not exist",
                       "drop-frame time codes that do not exist (read as frame 02 of their minute)");
      fields[3] = 2;
    }
    std::int64_t count = (totalMinutes * 60 + fields[2]) * 30 + fields[3];
    if (dropFrame) count -= 2 * (totalMinutes - totalMinutes / 10);
    return count;
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

bool OddParity(std::uint8_t byte) { return std::popcount(byte) % 2 == 1; }

}  // namespace

ReadResult ReadScc(std::string_view text, const std::string& fileName, const ReadOptions& options) {
  const int channel = options.channel;
  if (channel != 1 && channel != 2) throw std::invalid_argument("SCC files carry caption channels 1 and 2");
  FileNotes notes;
  ReadProblems problems(fileName, options.strict, notes);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Line21Decoder decoder(channel);
  ModelMaker maker(channel == 1 ? kStreamFormat_CEA608_CC1 : kStreamFormat_CEA608_CC2);
  CaptionTimeline timeline;
  // Where the decoder first ignored each kind of code, in the order the kinds came.
  std::vector<std::pair<std::string, FilePlace>> ignoredFirst;
  long ignoredSeen = 0;
  bool header = false;
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
      if (!OddParity(pair->first) || !OddParity(pair->second)) {
        const std::size_t bad = OddParity(pair->first) ? 2 : 0;
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", bad ? pair->second : pair->first);
        problems.Report(reader.At(wordStart + bad), "byte " + std::string(hex) + " fails its odd parity check",
                        "byte pairs that fail their odd parity check (dropped, as a decoder drops them)");
        ++frame;
        continue;
      }
      const bool changed = decoder.Feed(pair->first, pair->second);
      if (decoder.IgnoredCount() != ignoredSeen) {
        ignoredSeen = decoder.IgnoredCount();
        for (const auto& [what, count] : decoder.Ignored()) {
          const auto known = [&what = what](const auto& entry) { return entry.first == what; };
          if (std::none_of(ignoredFirst.begin(), ignoredFirst.end(), known)) ignoredFirst.emplace_back(what, place);
        }
      }
      if (changed) {
        const TickTime time(frame * kTicksPerFrame);
        if (IsBlank(decoder.Displayed()))
          timeline.Clear(time);
        else
          timeline.Show(time, kelmediatypes::kTime_Max, maker.Make(decoder.Displayed()));
      }
      ++frame;
    }
    nextFrame = frame;
  }
  if (!header) {
    problems.Report(FilePlace::At(1, 1), "expected the header \"Scenarist_SCC V1.0\"",
                    "an empty file (nothing to read)");
  }
  for (const auto& [what, place] : ignoredFirst) notes.Count(what, place, decoder.Ignored().at(what));
  if (late > 0) {
    notes.Count("lines whose pairs start after their time code, because the line before was still being sent",
                firstLate, late);
  }
  return {std::move(timeline), std::move(notes), {}};
}

}  // namespace kelcaptionfiles

#include "captionfiles/SccReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cstdint>

#include "captionfiles/Line21Decoder.h"
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

class LineParser {
 public:
  LineParser(const std::string& file, std::string_view line, int number) : file_(file), line_(line), number_(number) {}

  [[noreturn]] void Fail(std::size_t at, const std::string& problem) const {
    throw ReadError(file_, number_, static_cast<int>(at) + 1, problem);
  }

  // Frames since 00:00:00:00 at 30000/1001 a second.
  std::int64_t TimeCode(std::size_t& at) const {
    int fields[4] = {0, 0, 0, 0};
    bool dropFrame = false;
    const std::size_t start = at;
    for (int f = 0; f < 4; ++f) {
      if (at + 2 > line_.size() || !std::isdigit(static_cast<unsigned char>(line_[at])) ||
          !std::isdigit(static_cast<unsigned char>(line_[at + 1]))) {
        Fail(at, "expected a time code HH:MM:SS:FF (or HH:MM:SS;FF in drop frame)");
      }
      fields[f] = (line_[at] - '0') * 10 + (line_[at + 1] - '0');
      at += 2;
      if (f < 3) {
        if (at >= line_.size() || (line_[at] != ':' && line_[at] != ';' && line_[at] != '.')) {
          Fail(at, "expected a time code HH:MM:SS:FF (or HH:MM:SS;FF in drop frame)");
        }
        if (f == 2) dropFrame = line_[at] != ':';
        ++at;
      }
    }
    const int hours = fields[0], minutes = fields[1], seconds = fields[2], frames = fields[3];
    if (minutes >= 60 || seconds >= 60 || frames >= 30) {
      Fail(start,
           "time code " + std::string(line_.substr(start, at - start)) + " is out of range (frames run 00 to 29)");
    }
    const std::int64_t totalMinutes = hours * 60 + minutes;
    std::int64_t count = (totalMinutes * 60 + seconds) * 30 + frames;
    if (dropFrame) {
      // Frame numbers 00 and 01 are skipped at the start of each minute but every tenth.
      if (seconds == 0 && frames < 2 && totalMinutes % 10 != 0) {
        Fail(start, "drop-frame time code " + std::string(line_.substr(start, at - start)) + " does not exist");
      }
      count -= 2 * (totalMinutes - totalMinutes / 10);
    }
    return count;
  }

 private:
  const std::string& file_;
  std::string_view line_;
  int number_;
};

}  // namespace

ReadResult ReadScc(std::string_view text, const std::string& fileName, const ReadOptions& options) {
  const int channel = options.channel;
  if (channel != 1 && channel != 2) throw std::invalid_argument("SCC files carry caption channels 1 and 2");
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
    const LineParser parser(fileName, line, number);
    if (!header) {
      if (line != "Scenarist_SCC V1.0") parser.Fail(0, "expected the header \"Scenarist_SCC V1.0\"");
      header = true;
      continue;
    }
    std::size_t at = 0;
    const std::int64_t code = parser.TimeCode(at);
    if (code < lastCode) parser.Fail(0, "time codes must not go back");
    lastCode = code;
    if (at < line.size() && line[at] != '\t' && line[at] != ' ') parser.Fail(at, "expected a tab after the time code");
    // Pairs still being sent from the line before delay this line's.
    if (code < nextFrame && late++ == 0) firstLate = FilePlace::At(number, 1);
    std::int64_t frame = std::max(code, nextFrame);
    while (at < line.size()) {
      while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
      if (at >= line.size()) break;
      std::uint8_t bytes[2];
      for (int b = 0; b < 2; ++b) {
        const std::size_t pos = at + static_cast<std::size_t>(2 * b);
        const int high = pos < line.size() ? HexDigit(line[pos]) : -1;
        const int low = pos + 1 < line.size() ? HexDigit(line[pos + 1]) : -1;
        if (high < 0 || low < 0) parser.Fail(pos, "expected a byte pair of four hex digits");
        bytes[b] = static_cast<std::uint8_t>(high * 16 + low);
        if (std::popcount(bytes[b]) % 2 == 0) {
          parser.Fail(pos, "byte " + std::string(line.substr(pos, 2)) + " fails its odd parity check");
        }
      }
      at += 4;
      if (at < line.size() && line[at] != ' ' && line[at] != '\t')
        parser.Fail(at, "expected a space between byte pairs");
      const bool changed = decoder.Feed(bytes[0], bytes[1]);
      if (decoder.IgnoredCount() != ignoredSeen) {
        ignoredSeen = decoder.IgnoredCount();
        for (const auto& [what, count] : decoder.Ignored()) {
          const auto known = [&what = what](const auto& entry) { return entry.first == what; };
          if (std::none_of(ignoredFirst.begin(), ignoredFirst.end(), known)) {
            ignoredFirst.emplace_back(what, FilePlace::At(number, static_cast<int>(at) - 3));  // the pair just read
          }
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
  if (!header) throw ReadError(fileName, 1, 1, "expected the header \"Scenarist_SCC V1.0\"");
  FileNotes notes;
  for (const auto& [what, place] : ignoredFirst) notes.Count(what, place, decoder.Ignored().at(what));
  if (late > 0) {
    notes.Count("lines whose pairs start after their time code, because the line before was still being sent",
                firstLate, late);
  }
  return {std::move(timeline), std::move(notes)};
}

}  // namespace kelcaptionfiles

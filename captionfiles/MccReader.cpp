#include "captionfiles/MccReader.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "captionfiles/CaptionDistributionPacket.h"
#include "captionfiles/FrameTimeCode.h"
#include "captionfiles/HexDigits.h"
#include "captionfiles/MccLetters.h"
#include "captionfiles/ReadProblems.h"
#include "captionfiles/TextLines.h"

namespace kelcaptionfiles {

using kelmediatypes::TickTime;

namespace {

constexpr std::string_view kHeader = "File Format=MacCaption_MCC V";

struct HeaderRate {
  int nominal = 30;
  bool dropFrame = false;
};

std::optional<HeaderRate> ParseRate(std::string_view value) {
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  static constexpr HeaderRate kRates[] = {{24, false}, {25, false}, {30, false}, {30, true},
                                            {50, false}, {60, false}, {60, true}};
  for (const HeaderRate& rate : kRates) {
    if (value == std::to_string(rate.nominal) + (rate.dropFrame ? "DF" : "")) return rate;
  }
  return std::nullopt;
}

// The triplets of one caption line, with what they tell about the rate and the packet order.
struct CdpContent {
  std::vector<CcData> triplets;
  int rateCode = 0;
  int sequence = 0;
};

class MccLineReader {
 public:
  MccLineReader(std::string_view line, int number, ReadProblems& problems)
      : line_(line), number_(number), problems_(problems) {}

  FilePlace At(std::size_t column) const { return FilePlace::At(number_, static_cast<int>(column) + 1); }

  // The time code, its optional field and line number, and the space before the data; nothing
  // when the line does not start so.
  std::optional<FrameTimeCode> TimeCode(std::size_t& at) const {
    std::optional<FrameTimeCode> code = ReadFrameTimeCode(line_, at);
    const auto digits = [this, &at] {
      const std::size_t from = at;
      while (at < line_.size() && std::isdigit(static_cast<unsigned char>(line_[at]))) ++at;
      return at > from;
    };
    // A field (".0", ".1") and a line number (",9") may follow.
    for (const char mark : {'.', ','}) {
      if (code && at < line_.size() && line_[at] == mark && !(++at, digits())) code.reset();
    }
    if (code && (at >= line_.size() || (line_[at] != '\t' && line_[at] != ' '))) code.reset();
    if (!code) {
      problems_.Report(At(0), "expected a time code HH:MM:SS:FF and a tab before the data",
                       "lines without a time code (skipped)");
    }
    return code;
  }

  // The packet bytes from `at` on, compression letters expanded; nothing when a character is
  // neither.
  std::optional<std::vector<std::uint8_t>> Bytes(std::size_t at) const {
    std::vector<std::uint8_t> bytes;
    while (at < line_.size() && (line_[at] == ' ' || line_[at] == '\t')) ++at;
    for (; at < line_.size(); ++at) {
      const char c = line_[at];
      if (const int high = HexDigit(c); high >= 0) {
        const int low = at + 1 < line_.size() ? HexDigit(line_[at + 1]) : -1;
        if (low < 0) {
          problems_.Report(At(at), "expected two hex digits for a byte", "lines with a byte of one hex digit (skipped)");
          return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
        ++at;
      } else if (const std::vector<std::uint8_t> run = MccLetterBytes(c); !run.empty()) {
        bytes.insert(bytes.end(), run.begin(), run.end());
      } else if (c != ' ' && c != '\t') {
        problems_.Report(At(at), std::string("'") + c + "' is neither a hex digit nor a compression code (G to U, Z)",
                         "lines with characters that are neither hex digits nor compression codes (skipped)");
        return std::nullopt;
      }
    }
    return bytes;
  }

  // The triplets of the caption distribution packet inside the ANC packet `anc`; nothing when
  // the packet is damaged or holds other data. `column` is where the data start.
  std::optional<CdpContent> CaptionData(std::span<const std::uint8_t> anc, std::size_t column) const {
    const FilePlace place = At(column);
    if (anc.size() < 3 || anc[0] != 0x61 || anc[1] != 0x01) {
      problems_.Report(place, "expected an ANC packet of caption data (DID 61, SDID 01)",
                       "ANC packets that are not caption distribution packets (skipped)", NoteKind::kNotShown);
      return std::nullopt;
    }
    const std::size_t count = anc[2];
    if (anc.size() < 3 + count) {
      problems_.Report(place, "the ANC packet is shorter than its data count " + std::to_string(count),
                       "ANC packets shorter than their data count (skipped)");
      return std::nullopt;
    }
    const std::span<const std::uint8_t> cdp = anc.subspan(3, count);
    if (cdp.size() < 11 || cdp[0] != 0x96 || cdp[1] != 0x69 || cdp[2] < 11 || std::size_t{cdp[2]} > cdp.size()) {
      problems_.Report(place, "expected a caption distribution packet (96 69) of the length it gives",
                       "caption distribution packets with a wrong identifier or length (skipped)");
      return std::nullopt;
    }
    const std::span<const std::uint8_t> packet = cdp.first(cdp[2]);
    unsigned sum = 0;
    for (std::uint8_t byte : packet) sum += byte;
    const std::size_t footer = packet.size() - 4;
    if (sum % 256 != 0 || packet[footer] != 0x74) {
      problems_.Report(place, "the caption distribution packet's checksum or footer is wrong",
                       "caption distribution packets whose checksum or footer is wrong (skipped)");
      return std::nullopt;
    }
    CdpContent content;
    content.rateCode = packet[3] >> 4;
    content.sequence = packet[5] << 8 | packet[6];
    // Sections follow the header in a fixed order, each known by its first byte.
    for (std::size_t at = 7; at < footer;) {
      const std::uint8_t id = packet[at];
      std::size_t size = 0;
      if (id == 0x71) {
        size = 5;  // a time code
      } else if (id == 0x72 && at + 1 < footer) {
        size = 2 + 3 * std::size_t{packet[at + 1] & 0x1Fu};
        for (std::size_t t = at + 2; t + 3 <= std::min(at + size, footer); t += 3) {
          content.triplets.push_back({(packet[t] & 0x04) != 0, static_cast<std::uint8_t>(packet[t] & 0x03),
                                      packet[t + 1], packet[t + 2]});
        }
      } else if (id == 0x73 && at + 1 < footer) {
        size = 2 + 7 * std::size_t{packet[at + 1] & 0x0Fu};  // service information
      } else if (id >= 0x75 && id <= 0xEF && at + 1 < footer) {
        size = 2 + std::size_t{packet[at + 1]};  // sections of later versions
      }
      if (size == 0 || at + size > footer) {
        problems_.Report(place, "the caption distribution packet's sections do not fit its length",
                         "caption distribution packets whose sections do not fit their length (skipped)");
        return std::nullopt;
      }
      at += size;
    }
    return content;
  }

 private:
  std::string_view line_;
  int number_;
  ReadProblems& problems_;
};

}  // namespace

CcDataRead ReadMccCcData(std::string_view text, const std::string& fileName, const ReadOptions& options) {
  CcDataRead read;
  ReadProblems problems(fileName, options.strict, read.notes);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  HeaderRate rate;
  bool header = false, captions = false;
  int rateCode = 0, lastSequence = -1;
  std::int64_t lastFrame = -1;
  std::vector<std::int64_t> frames;  // of each triplet, timed once the rate is known
  for (const Line& numbered : SplitLines(text)) {
    std::string_view line = numbered.text;
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (line.empty()) continue;
    const MccLineReader reader(line, numbered.number, problems);
    if (!header) {
      header = true;
      if (line.substr(0, kHeader.size()) == kHeader) continue;
      problems.Report(reader.At(0), "expected the header \"File Format=MacCaption_MCC V1.0\"",
                      "a missing header \"File Format=MacCaption_MCC\" (read as MCC all the same)");
    }
    if (line.substr(0, 2) == "//") continue;
    if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
      if (line.substr(0, equals) != "Time Code Rate") continue;  // UUID, creation program, date, time
      const std::optional<HeaderRate> given = ParseRate(line.substr(equals + 1));
      if (!given || captions) {
        problems.Report(reader.At(equals + 1),
                        captions ? "the time code rate must come before the first caption line"
                                 : "expected a time code rate of 24, 25, 30, 30DF, 50, 60 or 60DF",
                        "time code rates that cannot be used (ignored)");
      } else {
        rate = *given;
      }
      continue;
    }
    captions = true;
    std::size_t at = 0;
    const std::optional<FrameTimeCode> code = reader.TimeCode(at);
    if (!code) continue;
    const FrameCount count = CountFrames(*code, rate.nominal, rate.dropFrame);
    if (count.carried || count.nonexistent) {
      problems.Report(reader.At(0), "time code " + std::string(line.substr(0, 11)) + " does not exist at the rate",
                      "time codes that do not exist at the rate (read as the next that does)");
    }
    std::int64_t frame = count.frames;
    if (frame < lastFrame) {
      problems.Report(reader.At(0), "time codes must not go back",
                      "time codes that go back (their data taken at the time code before)");
      frame = lastFrame;
    }
    const std::size_t dataColumn = std::min(line.find_first_not_of(" \t", at), line.size());
    const std::optional<std::vector<std::uint8_t>> bytes = reader.Bytes(at);
    if (!bytes) continue;
    const std::optional<CdpContent> content = reader.CaptionData(*bytes, dataColumn);
    if (!content) continue;
    lastFrame = frame;
    if (rateCode == 0 && CdpFrameRate(content->rateCode)) rateCode = content->rateCode;
    if (lastSequence >= 0 && content->sequence != (lastSequence + 1) % 65536) {
      problems.Report(reader.At(dataColumn), "the packet's sequence counter skips",
                      "caption distribution packets out of sequence (packets were lost before them)");
    }
    lastSequence = content->sequence;
    for (const CcData& triplet : content->triplets) {
      read.data.push_back({TickTime(), triplet});
      frames.push_back(frame);
    }
  }
  if (!header) problems.Report(FilePlace::At(1, 1), "expected the header \"File Format=MacCaption_MCC V1.0\"", "an empty file (nothing to read)");
  // Time codes at 30 often count the frames of 30000/1001 video without dropping numbers.
  std::pair<int, int> frameRate{rate.nominal * (rate.dropFrame ? 1000 : 1), rate.dropFrame ? 1001 : 1};
  if (const auto given = CdpFrameRate(rateCode); given && given->second == 1001 && given->first == rate.nominal * 1000) {
    frameRate = *given;
  }
  const std::int64_t ticksPerFrame = TickTime::kTicksPerSecond / frameRate.first * frameRate.second;
  for (std::size_t i = 0; i < frames.size(); ++i) read.data[i].time = TickTime(frames[i] * ticksPerFrame);
  read.timeCodeRate = TimeCodeRate{frameRate.first, frameRate.second, rate.dropFrame};
  return read;
}

ReadResult ReadMcc(std::string_view text, const std::string& fileName, const ReadOptions& options) {
  CcDataRead read = ReadMccCcData(text, fileName, options);
  ReadResult result = DecodeCcData(read.data, options);
  read.notes.Count(result.notes);
  result.notes = std::move(read.notes);
  result.timeCodeRate = read.timeCodeRate;
  return result;
}

}  // namespace kelcaptionfiles

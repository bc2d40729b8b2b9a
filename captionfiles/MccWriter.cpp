#include "captionfiles/MccWriter.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <string_view>

#include "captionfiles/CaptionDistributionPacket.h"
#include "captionfiles/DtvccEncoding.h"
#include "captionfiles/Line21Encoding.h"
#include "captionfiles/Line21Timeline.h"
#include "captionfiles/MccLetters.h"

namespace kelcaptionfiles {

namespace {

constexpr std::string_view kDescription =
    "File Format=MacCaption_MCC V1.0\n"
    "\n"
    "///////////////////////////////////////////////////////////////////////////////////\n"
    "// Computer Prompting and Captioning Company\n"
    "// Ancillary Data Packet Transfer File\n"
    "//\n"
    "// Permission to generate this format is granted provided that\n"
    "//   1. This ANC Transfer file format is used on an as-is basis and no warranty is given, and\n"
    "//   2. This entire descriptive information text is included in a generated .mcc file.\n"
    "//\n"
    "// General file format:\n"
    "//   HH:MM:SS:FF(tab)[Hexadecimal ANC data in groups of 2 characters]\n"
    "//     Hexadecimal data starts with the Ancillary Data Packet DID (Data ID defined in S291M)\n"
    "//       and concludes with the Check Sum following the User Data Words.\n"
    "//     Each time code line must contain at most one complete ancillary data packet.\n"
    "//     To transfer additional ANC Data successive lines may contain identical time code.\n"
    "//     Time Code Rate=[24, 25, 30, 30DF, 50, 60]\n"
    "//\n"
    "//   ANC data bytes may be represented by one ASCII character according to the following schema:\n"
    "//     G  FAh 00h 00h\n"
    "//     H  2 x (FAh 00h 00h)\n"
    "//     I  3 x (FAh 00h 00h)\n"
    "//     J  4 x (FAh 00h 00h)\n"
    "//     K  5 x (FAh 00h 00h)\n"
    "//     L  6 x (FAh 00h 00h)\n"
    "//     M  7 x (FAh 00h 00h)\n"
    "//     N  8 x (FAh 00h 00h)\n"
    "//     O  9 x (FAh 00h 00h)\n"
    "//     P  FBh 80h 80h\n"
    "//     Q  FCh 80h 80h\n"
    "//     R  FDh 80h 80h\n"
    "//     S  96h 69h\n"
    "//     T  61h 01h\n"
    "//     U  E1h 00h 00h 00h\n"
    "//     Z  00h\n"
    "//\n"
    "///////////////////////////////////////////////////////////////////////////////////\n"
    "\n";

// The line-21 pairs, with parity, of each frame of `clock`: a pair goes to the frame in which its
// frame at 29.97 begins, or to the next with a free slot.
std::map<std::int64_t, std::vector<CcData>> Line21Triplets(const Line21Pairs& line21, const FrameClock& clock,
                                                           int slots) {
  std::map<std::int64_t, std::vector<CcData>> frames;
  std::int64_t last = -1;
  for (const auto& [frame, pair] : line21.pairs) {
    std::int64_t at = std::max(last, frame * 1001 * clock.Numerator() / (30000 * clock.Denominator()));
    if (frames[at].size() >= static_cast<std::size_t>(slots)) ++at;
    frames[at].push_back({true, 0, WithOddParity(pair[0]), WithOddParity(pair[1])});
    last = at;
  }
  return frames;
}

// A name for the file made from its content, in the form of a UUID.
std::string ContentUuid(std::string_view content) {
  std::uint64_t hash[2] = {0xcbf29ce484222325ULL, 0x84222325cbf29ce4ULL};
  for (std::uint64_t& h : hash) {
    for (char c : content) h = (h ^ static_cast<std::uint8_t>(c)) * 0x100000001b3ULL;
  }
  char text[40];
  std::snprintf(text, sizeof text, "%08X-%04X-%04X-%04X-%012llX", static_cast<unsigned>(hash[0] >> 32),
                static_cast<unsigned>(hash[0] >> 16 & 0xFFFF), static_cast<unsigned>(hash[0] & 0xFFFF),
                static_cast<unsigned>(hash[1] >> 48), static_cast<unsigned long long>(hash[1] & 0xFFFFFFFFFFFFULL));
  return text;
}

// The first frame that a time code cannot name: 24 hours of time codes.
std::int64_t FramesOfADay(const FrameClock& clock) {
  const std::int64_t frames = std::int64_t{clock.NominalRate()} * 86400;
  // Drop-frame time codes leave out two numbers (four at 59.94) each minute but every tenth.
  return clock.DropFrame() ? frames - clock.NominalRate() / 15 * (24 * 60 - 24 * 6) : frames;
}

}  // namespace

std::string WriteMcc(const ReadResult& captions, const ExportCues& cues, const FrameClock& clock, FileNotes& notes) {
  const std::optional<CdpRate> rate = CdpRateOf(clock);
  if (!rate) throw std::invalid_argument("MCC files have no caption distribution packets at this frame rate");
  // Line 21 sends a pair a frame at 29.97: slower rates carry two in some frames.
  const int line21Slots = static_cast<int>((30000 * clock.Denominator() + 1001 * clock.Numerator() - 1) /
                                           (1001 * clock.Numerator()));
  const CaptionTimeline* timeline = captions.Timeline();
  const bool dtvcc = timeline && HoldsDtvccStates(*timeline);
  FileNotes line21Notes;
  std::map<std::int64_t, std::vector<CcData>> line21 =
      Line21Triplets(EncodeLine21(cues, dtvcc ? line21Notes : notes), clock, line21Slots);
  std::map<std::int64_t, std::vector<CcData>> service;
  if (dtvcc) service = EncodeDtvcc(*timeline, clock, rate->tripletCount - line21Slots - 1, notes);

  // Time codes name 24 hours; what never ends is erased past them, that is, never.
  const std::int64_t day = FramesOfADay(clock);
  for (auto* frames : {&line21, &service}) frames->erase(frames->lower_bound(day), frames->end());
  if (std::any_of(cues.cues.begin(), cues.cues.end(), [&](const ExportCue& cue) { return clock.FrameAt(cue.begin) >= day; })) {
    notes.Add("captions past 24 hours, which time codes cannot name (left out)");
  }
  std::string lines;
  if (!line21.empty() || !service.empty()) {
    const auto first = [](const auto& frames) { return frames.empty() ? INT64_MAX : frames.begin()->first; };
    const auto last = [](const auto& frames) { return frames.empty() ? INT64_MIN : frames.rbegin()->first; };
    std::uint16_t sequence = 0;
    for (std::int64_t frame = std::min(first(line21), first(service)); frame <= std::max(last(line21), last(service));
         ++frame) {
      std::vector<CcData> triplets = line21.contains(frame) ? line21[frame] : std::vector<CcData>{{true, 0, 0x80, 0x80}};
      triplets.push_back({true, 1, 0x80, 0x80});
      if (const auto packet = service.find(frame); packet != service.end()) {
        triplets.insert(triplets.end(), packet->second.begin(), packet->second.end());
      }
      lines += clock.TimeCodeText(frame) + "\t" + MccHex(CaptionDistributionPacket(*rate, sequence++, triplets)) + "\n";
    }
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[96];
  std::strftime(date, sizeof date, "Creation Date=%A, %B %d, %Y\nCreation Time=%H:%M:%S\n", &local);
  return std::string(kDescription) + "UUID=" + ContentUuid(lines) + "\nCreation Program=kelcaptioningui\n" + date +
         "Time Code Rate=" + std::to_string(clock.NominalRate()) + (clock.DropFrame() ? "DF" : "") + "\n\n" + lines;
}

}  // namespace kelcaptionfiles

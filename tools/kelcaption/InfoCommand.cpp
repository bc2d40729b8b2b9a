// kelcaption info: what a caption file or a video carries.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "kelcaption/CaptionSource.h"
#include "kelcaption/CaptionStates.h"
#include "kelcaption/CommandLine.h"
#include "kelcaption/EmbeddedCaptions.h"
#include "kelcaption/Subcommands.h"
#include "kelcaption/TimeCode.h"

namespace kelcaption {

namespace {

// Times as the source counts them: time codes at its rate for files and videos timed by frames,
// else hours, minutes, seconds and milliseconds.
class TimeWriter {
 public:
  explicit TimeWriter(const std::optional<kelcaptionfiles::TimeCodeRate>& rate) : rate_(rate) {}
  std::string operator()(kelmediatypes::TickTime time) const {
    if (!rate_ || rate_->numerator <= 0 || rate_->denominator <= 0) return FormatTime(time);
    return FormatTimeCode(time, {rate_->numerator, rate_->denominator}, rate_->dropFrame);
  }

 private:
  std::optional<kelcaptionfiles::TimeCodeRate> rate_;
};

// Each channel and service that shows something, and which one is shown by default.
void PrintTracks(const kelcaptionfiles::CcDataRead& read) {
  const std::vector<kelcaptionfiles::TimedCcData>& data = read.data;
  const TimeWriter write(read.timeCodeRate);
  const std::vector<kelcaptionfiles::CcDataTrackSummary> tracks = kelcaptionfiles::SummarizeCcData(data);
  if (tracks.empty()) std::printf("  no caption channel or service shows anything\n");
  for (const kelcaptionfiles::CcDataTrackSummary& track : tracks) {
    std::printf("  %s: %zu caption%s shown, the first at %s, the last at %s\n", track.track.Name().c_str(), track.states,
                track.states == 1 ? "" : "s", write(track.first).c_str(), write(track.last).c_str());
  }
  if (!tracks.empty()) {
    std::printf("  shown by default: %s\n", kelcaptionfiles::ChooseCcDataTrack(data, {}).Name().c_str());
  }
}

int Info(const std::string& file) {
  const kelcaptionfiles::CaptionFileKind* kind = CaptionKindOf(file);
  kelcaptionfiles::FileNotes notes;
  if (kind == nullptr) {
    const EmbeddedCcData embedded = ReadEmbeddedCcData(file);
    std::printf("%s: video; caption data in its pictures (A/53)\n", file.c_str());
    PrintTracks(embedded.read);
    notes = embedded.read.notes;
  } else if (kind->readCcData != nullptr) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const kelcaptionfiles::CcDataRead read = kind->readCcData(bytes, file, {});
    std::printf("%s: %s\n", file.c_str(), kind->name);
    PrintTracks(read);
    notes = read.notes;
  } else {
    const kelcaptionfiles::ReadResult result = kelcaptionfiles::ReadCaptionFile(file);
    std::printf("%s: %s\n", file.c_str(), kind->name);
    const TimeWriter write(result.timeCodeRate);
    if (const kelcaptioning::CaptionList* list = result.List()) {
      const auto& captions = list->GetCaptions();
      std::printf("  %zu caption%s", captions.size(), captions.size() == 1 ? "" : "s");
      if (!captions.empty()) {
        std::printf(", the first at %s, the last at %s", write(captions.front()->GetBeginTime()).c_str(),
                    write(captions.back()->GetBeginTime()).c_str());
      }
      std::printf("\n");
    } else {
      const auto& states = result.Timeline()->States();
      std::printf("  %zu caption%s shown", states.size(), states.size() == 1 ? "" : "s");
      if (!states.empty()) {
        std::printf(", the first at %s, the last at %s", write(states.front().begin).c_str(),
                    write(states.back().begin).c_str());
      }
      std::printf("\n");
    }
    notes = result.notes;
  }
  std::fflush(stdout);
  ReportNotes(file, notes, stdout);
  return kExitDone;
}

}  // namespace

Subcommand AddInfo(CLI::App& app) {
  auto file = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand(
      "info",
      "List what FILE carries: its kind; for SCC, MCC and video files each line-21 channel (CC1 to CC4) and "
      "digital-TV service that shows something, with how many captions it shows (each change of what shows) "
      "and when the first and the last show (as time codes at the source's rate for SCC, MCC and video); and "
      "the notes of reading it");
  command->add_option("FILE", *file, "Caption file or video file")->required()->check(CLI::ExistingFile);
  return {command, [file] { return Info(*file); }};
}

}  // namespace kelcaption

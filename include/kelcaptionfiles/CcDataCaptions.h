#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "kelcaptionfiles/CcData.h"
#include "kelcaptionfiles/Export.h"
#include "kelcaptionfiles/ReadOptions.h"
#include "kelcaptionfiles/ReadResult.h"

namespace kelcaptionfiles {

// The caption data a carrier holds (an MCC file, the pictures of a video), in time order, with
// what reading it noted.
struct CcDataRead {
  std::vector<TimedCcData> data;
  FileNotes notes;
  // For carriers timed by SMPTE time codes (MCC) or frames (video): how those count frames.
  std::optional<TimeCodeRate> timeCodeRate = std::nullopt;
};

// One thing in caption data that a viewer can choose to show: a line-21 channel or a digital-TV
// caption service.
struct CcDataTrack {
  int channel = 0;  // 1 to 4 (CC1 to CC4), or 0 for a service
  int service = 0;  // 1 to 63, or 0 for a channel
  // "CC1", "service 1".
  KELCAPTIONFILES_API std::string Name() const;
};

// What a decoder shows of the track that `options` chooses (see ReadOptions::channel and
// ::service), with the notes of the decoder: line-21 pairs of cc_type 0 (field 1) go to CC1 and
// CC2, of cc_type 1 (field 2) to CC3 and CC4; DTVCC packets to the services, on a wide (42-column)
// or 4:3 (32-column) grid. Throws std::invalid_argument for a channel or service out of range, or
// both given.
KELCAPTIONFILES_API ReadResult DecodeCcData(std::span<const TimedCcData> data, const ReadOptions& options = {},
                                            bool wideScreen = true);

// The track that `options` chooses, the default resolved: service 1 when it shows anything,
// else CC1.
KELCAPTIONFILES_API CcDataTrack ChooseCcDataTrack(std::span<const TimedCcData> data, const ReadOptions& options);

// What each track that shows anything shows: how many states, from when to when.
struct CcDataTrackSummary {
  CcDataTrack track;
  std::size_t states = 0;
  kelmediatypes::TickTime first;  // the first state's begin
  kelmediatypes::TickTime last;   // the last state's begin
};
// Every track that shows something, CC1 to CC4 first, then the services by number.
KELCAPTIONFILES_API std::vector<CcDataTrackSummary> SummarizeCcData(std::span<const TimedCcData> data);

}  // namespace kelcaptionfiles

#pragma once

#include <optional>
#include <variant>

#include "kelcaptionfiles/CaptionTimeline.h"
#include "kelcaptionfiles/CueBox.h"
#include "kelcaptionfiles/FileNotes.h"
#include "kelcaptionfiles/TimeCodeRate.h"
#include "kelcaptioning/CaptionList.h"

namespace kelcaptionfiles {

// What any reader gives: the captions of a file plus what the file asked for that is not shown.
//
// Subtitle files and caption documents give a caption list, not yet measured or placed (see
// ShownStates). Files read by a decoder (line-21 SCC, teletext EBU STL) and model documents give
// the timeline of render-ready states that a decoder shows.
struct ReadResult {
  std::variant<kelcaptioning::CaptionListPtr, CaptionTimeline> captions;
  FileNotes notes;
  // Where captions of the list are asked to stand beyond their anchors (SubRip \pos, WebVTT
  // line, position and size).
  CueBoxes boxes;
  // Whether the list is laid out as browsers show WebVTT: over the whole frame, to the video's
  // edges, each line filled as far as it goes; other subtitles keep the caption area (80 % of the
  // frame) and balanced lines.
  bool browserLayout = false;
  // For files timed by SMPTE time codes (SCC, MCC): how those count frames.
  std::optional<TimeCodeRate> timeCodeRate = std::nullopt;

  // The caption list, or null when the file gave a timeline.
  kelcaptioning::CaptionList* List() const noexcept {
    const auto* list = std::get_if<kelcaptioning::CaptionListPtr>(&captions);
    return list ? list->get() : nullptr;
  }
  // The timeline, or null when the file gave a caption list.
  const CaptionTimeline* Timeline() const noexcept { return std::get_if<CaptionTimeline>(&captions); }
  // Whether the file gave nothing to show: no caption, no state.
  bool Empty() const {
    if (const CaptionTimeline* timeline = Timeline()) return timeline->Empty();
    return !List() || List()->GetCaptions().empty();
  }
};

}  // namespace kelcaptionfiles

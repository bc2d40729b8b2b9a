#pragma once

// Digital-TV (CEA-708) captions as an encoder sends them: the states of a timeline of 708 models
// as the window commands of caption service 1, in DTVCC packets of cc_data triplets, frame by
// frame.

#include <cstdint>
#include <map>
#include <vector>

#include "captionfiles/ExportTimes.h"
#include "kelcaptionfiles/CaptionTimeline.h"
#include "kelcaptionfiles/CcData.h"
#include "kelcaptionfiles/FileNotes.h"

namespace kelcaptionfiles {

// Whether the timeline holds digital-TV states, which EncodeDtvcc can send window by window.
bool HoldsDtvccStates(const CaptionTimeline& timeline);

// The triplets (type 3 starting a packet, type 2 going on) of each frame of `clock` that carries
// DTVCC data, at most `tripletsPerFrame` a frame, a packet each.
//
// Every change of what shows (see ScreenOfModel) is sent in the frames before it, held back by a
// Delay: DeleteWindows for the windows that go or whose place, size, fill or drawing order
// change; DefineWindow and SetWindowAttributes for new windows; the current window and the
// cells that differ from what it holds, with SetPenLocation, SetPenAttributes and SetPenColor
// where the pen moves or changes. A DelayCancel in the change's own frame makes it show at once,
// frame-exact. A change that needs more frames than the one before leaves it is shown late, and
// counted in `notes`, as are characters that no character set has (written as '_').
std::map<std::int64_t, std::vector<CcData>> EncodeDtvcc(const CaptionTimeline& timeline, const FrameClock& clock,
                                                        int tripletsPerFrame, FileNotes& notes);

}  // namespace kelcaptionfiles

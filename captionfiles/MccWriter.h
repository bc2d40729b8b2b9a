#pragma once

#include <string>

#include "captionfiles/ExportCues.h"
#include "captionfiles/ExportTimes.h"

namespace kelcaptionfiles {

// MacCaption MCC text: the header ("File Format=MacCaption_MCC V1.0", the format's description,
// UUID, creation program, date and time, "Time Code Rate=" of `clock`), then a line for every
// frame from the first that carries caption data to the last: its time code and the ANC packet
// of its caption distribution packet in hex, shortened by the letters G to U and Z.
//
// The packets carry the line-21 pairs of caption channel 1 that EncodeLine21 makes of `cues`
// (each in the frame of `clock` in which its frame at 29.97 begins) and, when `captions` gave a
// timeline of digital-TV states, caption service 1 of those states (see EncodeDtvcc). The
// line-21 copy of digital-TV captions is for older decoders: what it cannot carry is not noted,
// since the service carries it. Throws std::invalid_argument for a rate that the packets cannot
// name.
std::string WriteMcc(const ReadResult& captions, const ExportCues& cues, const FrameClock& clock, FileNotes& notes);

}  // namespace kelcaptionfiles

#pragma once

#include <string>
#include <string_view>

#include "kelcaptionfiles/ReadError.h"
#include "kelcaptionfiles/ReadOptions.h"
#include "kelcaptionfiles/ReadResult.h"

namespace kelcaptionfiles {

// Reads "Scenarist_SCC V1.0" text: lines of a time code (HH:MM:SS:FF, or HH:MM:SS;FF in drop
// frame) and byte pairs in hex, one pair a frame at 30000/1001 frames a second, and decodes
// `options.channel` (1 or 2) as a line-21 decoder shows it. The result is a timeline of grid
// models of 6CC1 (channel 1) or 6CC2 (channel 2); what the decoder ignores is counted in the
// notes, such as "alarm codes (AOF/AON)".
//
// Damage is read around as a decoder and other converters do, each kind reported once with the
// line and column where it first stands: a pair whose parity fails is dropped in its frame;
// fields of a time code past their range are carried over and drop-frame numbers that do not
// exist move to the next that does; a lone byte or a word that is no pair is passed over; a line
// without a time code is skipped; a line whose time code goes back is sent after the one before;
// a missing header is passed over. With `options.strict` the first of them throws ReadError.
ReadResult ReadScc(std::string_view text, const std::string& fileName, const ReadOptions& options = {});

}  // namespace kelcaptionfiles

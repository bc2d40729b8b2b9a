#pragma once

#include <string>
#include <string_view>

#include "kelcaptionfiles/ReadError.h"
#include "kelcaptionfiles/ReadOptions.h"
#include "kelcaptionfiles/ReadResult.h"

namespace kelcaptionfiles {

// Reads "Scenarist_SCC V1.0" text: lines of a time code (HH:MM:SS:FF, or HH:MM:SS;FF in drop
// frame) and byte pairs in hex, one pair a frame at 30000/1001 frames a second, and decodes
// `channel` (1 or 2) as a line-21 decoder shows it. Throws ReadError with the line and column of
// anything malformed: the header, a time code, a word that is not four hex digits, a byte of even
// parity, time codes that go back. The result is a timeline of grid models of 6CC1 (channel 1)
// or 6CC2 (channel 2); what the decoder ignores is counted in the notes, such as "flash on (FON)".
ReadResult ReadScc(std::string_view text, const std::string& fileName, const ReadOptions& options = {});

}  // namespace kelcaptionfiles

#pragma once

#include <string>
#include <string_view>

#include "kelcaptionfiles/CcDataCaptions.h"
#include "kelcaptionfiles/ReadOptions.h"
#include "kelcaptionfiles/ReadResult.h"

namespace kelcaptionfiles {

// The caption data of "File Format=MacCaption_MCC" text: after the header, comment lines ("//")
// and settings ("Time Code Rate=30DF", 24, 25, 30, 50, 60 and 60DF; 30 when none is given), lines
// of a time code (HH:MM:SS:FF, optionally .field and ,line) and an ANC packet in hex. The packet
// holds a caption distribution packet (DID 61, SDID 01), whose cc_data section gives the triplets
// of the line's frame. Letters stand for byte runs that recur: G to O for one to nine FA 00 00, P,
// Q and R for FB 80 80, FC 80 80 and FD 80 80, S for 96 69, T for 61 01, U for E1 00 00 00, Z for
// 00. Time codes count frames at the rate that the packets give when it is the 1000/1001 rate of
// the nominal one (29.97 frames a second for "30"), else at the nominal rate.
//
// Damage is read around, each kind reported once with the line and column where it first stands:
// a line without a time code, with a character that is no hex digit or code, with a packet whose
// length, identifier, footer or checksum is wrong, is skipped; a time code that goes back is taken
// at the one before. With `options.strict` the first of them throws ReadError.
CcDataRead ReadMccCcData(std::string_view text, const std::string& fileName, const ReadOptions& options = {});

// What the track that `options` chooses shows of an MCC file (see DecodeCcData).
ReadResult ReadMcc(std::string_view text, const std::string& fileName, const ReadOptions& options = {});

}  // namespace kelcaptionfiles

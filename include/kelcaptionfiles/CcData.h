#pragma once

#include <cstdint>

#include "kelmediatypes/TickTime.h"

namespace kelcaptionfiles {

// One caption data triplet as ATSC A/53 carries it in video: cc_valid, cc_type and two bytes.
// Types 0 and 1 are line-21 bytes of field 1 and 2; type 3 starts a DTVCC (CEA-708) packet and
// type 2 continues it.
struct CcData {
  bool valid = false;
  std::uint8_t type = 0;
  std::uint8_t first = 0;
  std::uint8_t second = 0;
};

// A triplet with the time of the picture that carried it.
struct TimedCcData {
  kelmediatypes::TickTime time;
  CcData data;
};

}  // namespace kelcaptionfiles

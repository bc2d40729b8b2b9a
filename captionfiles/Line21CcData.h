#pragma once

#include <span>

#include "kelcaptionfiles/CcData.h"
#include "kelcaptionfiles/ReadResult.h"

namespace kelcaptionfiles {

// What line-21 channel `channel` (1 to 4: CC1 and CC2 on field 1, cc_type 0; CC3 and CC4 on field
// 2, cc_type 1) shows of cc_data: the pairs of its field through a line-21 decoder. A pair whose
// parity fails is dropped as a decoder drops it; extended data service (XDS) packets that field 2
// carries between captions are passed over; both are noted once with their counts, as is what the
// decoder ignores (text mode among it). Throws std::invalid_argument for another channel.
ReadResult DecodeLine21Channel(std::span<const TimedCcData> data, int channel);

}  // namespace kelcaptionfiles

#pragma once

#include <span>

#include "kelcaptionfiles/CcData.h"
#include "kelcaptionfiles/ReadResult.h"

namespace kelcaptionfiles {

// What a digital-TV caption decoder shows of caption service `service` (1 to 63) over time,
// from the cc_data triplets of successive pictures (line-21 triplets among them are passed
// over): a timeline of 708S models (see MakeDtvccModel) on a wide (42-column) or 4:3 (32-column)
// grid, with notes of what the decoder received but does not show as asked and of damaged
// packets, once a kind with their counts. Triplets whose time goes back are taken at the time
// before them, and noted. Throws std::invalid_argument for a service outside 1 to 63.
ReadResult DecodeDtvccService(std::span<const TimedCcData> data, int service = 1, bool wideScreen = true);

}  // namespace kelcaptionfiles

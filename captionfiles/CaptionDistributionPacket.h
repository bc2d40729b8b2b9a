#pragma once

// Caption distribution packets (SMPTE 334-2): the cc_data triplets of one frame as video
// ancillary data carries them, and as MCC files hold them.

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "captionfiles/ExportTimes.h"
#include "kelcaptionfiles/CcData.h"

namespace kelcaptionfiles {

// What the packets of a frame rate hold: the rate's code and how many triplets each packet
// carries (cc_count), so that caption data flow at the same rate at every frame rate.
struct CdpRate {
  int code = 0;
  int tripletCount = 0;
};

// The packets' rate of frames counted by `clock`; none for a rate that they cannot name.
std::optional<CdpRate> CdpRateOf(const FrameClock& clock);
// Frames a second that a packet's rate code names, as a fraction; none for a code without a rate.
std::optional<std::pair<int, int>> CdpFrameRate(int code);

// The ANC packet (DID 61, SDID 01, data count, checksum) of one caption distribution packet: its
// header with the rate and `sequence`, the cc_data section with `triplets` and padding (invalid
// DTVCC triplets) up to the rate's count, and the footer with its checksum. Time codes and
// service information are left out. Throws std::logic_error for more triplets than the count.
std::vector<std::uint8_t> CaptionDistributionPacket(const CdpRate& rate, std::uint16_t sequence,
                                                    std::span<const CcData> triplets);

}  // namespace kelcaptionfiles

#include "captionfiles/Line21CcData.h"

#include "captionfiles/Line21Timeline.h"

namespace kelcaptionfiles {

using kelmediatypes::TickTime;

namespace {

// XDS packets of field 2 start with a class code 01 to 0E and end with 0F and a checksum; a
// caption control code breaks in on them.
class XdsFilter {
 public:
  // Whether the pair belongs to an XDS packet.
  bool Takes(std::uint8_t first) {
    first &= 0x7F;
    if (first >= 0x01 && first <= 0x0F) {
      if (first != 0x0F && !inPacket_) ++packets_;
      inPacket_ = first != 0x0F;
      return true;
    }
    if (first >= 0x10 && first <= 0x1F) inPacket_ = false;
    return inPacket_;
  }
  long Packets() const noexcept { return packets_; }

 private:
  bool inPacket_ = false;
  long packets_ = 0;
};

}  // namespace

ReadResult DecodeLine21Channel(std::span<const TimedCcData> data, int channel) {
  Line21Timeline decoded(channel);
  const std::uint8_t field = channel <= 2 ? 0 : 1;
  FileNotes notes;
  XdsFilter xds;
  long badParity = 0, late = 0;
  TickTime last = kelmediatypes::kTime_Min;
  for (const TimedCcData& triplet : data) {
    const CcData& cc = triplet.data;
    if (!cc.valid || cc.type != field) continue;
    TickTime time = triplet.time;
    if (time < last) ++late, time = last;
    last = time;
    if (!HasOddParity(cc.first) || !HasOddParity(cc.second)) {
      ++badParity;
      continue;
    }
    if (field == 1 && xds.Takes(cc.first)) continue;
    decoded.Feed(time, cc.first, cc.second, {});
  }
  if (late > 0) notes.Count(NoteKind::kProblem, "caption data whose time goes back (taken at the time before)", {}, late);
  if (badParity > 0) {
    notes.Count(NoteKind::kProblem, "line-21 byte pairs that fail their odd parity check (dropped, as a decoder drops them)",
                {}, badParity);
  }
  if (xds.Packets() > 0) notes.Count("extended data service (XDS) packets on field 2", {}, xds.Packets());
  CaptionTimeline timeline = decoded.Finish(notes);
  return {std::move(timeline), std::move(notes), {}};
}

}  // namespace kelcaptionfiles

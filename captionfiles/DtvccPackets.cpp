#include "captionfiles/DtvccPackets.h"

#include <stdexcept>

namespace kelcaptionfiles {

DtvccServiceBlocks::DtvccServiceBlocks(int service, BlockHandler handler, FileNotes& notes)
    : service_(service), handler_(std::move(handler)), notes_(notes) {
  if (service < 1 || service > 63) throw std::invalid_argument("caption services are numbered 1 to 63");
}

void DtvccServiceBlocks::Feed(const CcData& data) {
  // Line-21 bytes travel in the same data; they are another decoder's. Invalid DTVCC triplets are
  // padding.
  if (!data.valid || data.type < 2) return;
  if (data.type == 3) {
    if (expected_ != 0) EndPacket();
    const int sequence = data.first >> 6;
    if (lastSequence_ >= 0 && sequence != (lastSequence_ + 1) % 4) {
      Problem("DTVCC packets out of sequence (packets were lost before them)");
    }
    lastSequence_ = sequence;
    const int sizeCode = data.first & 0x3F;
    expected_ = static_cast<std::size_t>(sizeCode == 0 ? 128 : sizeCode * 2);
    packet_.assign({data.first, data.second});
  } else if (expected_ == 0) {
    // Encoders fill the triplets after a packet with zero bytes.
    if (data.first != 0 || data.second != 0) Problem("DTVCC data that continue no packet (skipped)");
    return;
  } else {
    packet_.push_back(data.first);
    packet_.push_back(data.second);
  }
  if (packet_.size() >= expected_) {
    ReadPacket();
    expected_ = 0;
  }
}

void DtvccServiceBlocks::Finish() {
  if (expected_ != 0) EndPacket();
}

void DtvccServiceBlocks::EndPacket() {
  Problem("DTVCC packets shorter than their size (skipped)");
  expected_ = 0;
  packet_.clear();
}

void DtvccServiceBlocks::ReadPacket() {
  std::size_t at = 1;
  while (at < expected_) {
    const int number = packet_[at] >> 5;
    const std::size_t size = packet_[at] & 0x1F;
    // The null block header ends the packet's blocks; the rest is padding.
    if (number == 0) return;
    ++at;
    int service = number;
    if (number == 7) {
      if (at >= expected_) {
        Problem("DTVCC service blocks cut short by the end of their packet (skipped)");
        return;
      }
      service = packet_[at++] & 0x3F;
      if (service < 7) Problem("extended service headers naming a standard service (read as that service)");
    }
    if (at + size > expected_) {
      Problem("DTVCC service blocks cut short by the end of their packet (skipped)");
      return;
    }
    if (size > 0 && service > 0) seen_.insert(service);  // an extended header may name service 0, which is none
    if (service == service_ && size > 0) handler_(std::span<const std::uint8_t>(packet_.data() + at, size));
    at += size;
  }
}

}  // namespace kelcaptionfiles

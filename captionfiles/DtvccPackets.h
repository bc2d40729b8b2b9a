#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <span>
#include <vector>

#include "kelcaptionfiles/CcData.h"
#include "kelcaptionfiles/FileNotes.h"

namespace kelcaptionfiles {

// Assembles DTVCC packets from cc_data triplets and takes the service blocks of one caption
// service out of them. A packet starts with a type-3 triplet, whose first byte holds its sequence
// number (0 to 3) and size code (its length in byte pairs, 0 for 64), and goes on with type-2
// triplets. Its service blocks each start with a header of the service number (1 to 6, or 7 and
// an extended header for services 7 to 63) and the block size.
//
// Damage is skipped and noted once a kind: a packet cut short by the next one, data that
// continue no packet, a sequence number that skips (packets were lost before it), a service block
// longer than what is left of its packet.
class DtvccServiceBlocks {
 public:
  // Receives the data of one service block of the chosen service.
  using BlockHandler = std::function<void(std::span<const std::uint8_t>)>;

  // Throws std::invalid_argument for a service outside 1 to 63.
  DtvccServiceBlocks(int service, BlockHandler handler, FileNotes& notes);

  void Feed(const CcData& data);
  // Ends the input: a packet still incomplete is cut short.
  void Finish();
  // Every service that a service block with data was seen for, the chosen one or not.
  const std::set<int>& ServicesSeen() const noexcept { return seen_; }

 private:
  void EndPacket();
  void ReadPacket();
  void Problem(const char* what) { notes_.Count(NoteKind::kProblem, what, {}); }

  int service_;
  BlockHandler handler_;
  FileNotes& notes_;
  std::vector<std::uint8_t> packet_;  // the packet being assembled, header byte first
  std::size_t expected_ = 0;          // its length in bytes, header included; 0 when none is open
  int lastSequence_ = -1;
  std::set<int> seen_;
};

}  // namespace kelcaptionfiles

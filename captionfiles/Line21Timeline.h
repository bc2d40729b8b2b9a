#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "captionfiles/Line21Decoder.h"
#include "kelcaptionfiles/CaptionTimeline.h"
#include "kelcaptionfiles/FileNotes.h"
#include "kelmediatypes/TickTime.h"

namespace kelcaptionfiles {

// Odd parity, which each line-21 byte carries in its top bit; a decoder drops a pair that fails it.
bool HasOddParity(std::uint8_t byte) noexcept;
// The byte with its top bit set where that makes its parity odd.
std::uint8_t WithOddParity(std::uint8_t byte) noexcept;

// What a line-21 decoder of one caption channel shows over time, as grid models of its stream
// format: the byte pairs of one field go in with their times, the states come out. Rows that a
// state shares with the one before (also after a roll-up moved them) share their row objects, so
// hours of roll-up stay small.
//
// Flashing text blinks on a clock that runs from time 0: shown in the first half of each second,
// hidden (its cells left as spaces on their background) in the second, as states of their own.
// Text that flashes while nothing else changes until the end blinks for an hour and then stays;
// a timeline blinks for a day in all at most, so no file makes more than that many states.
class Line21Timeline {
 public:
  // `channel` 1 to 4 (CC1 to CC4): 1 and 2 are the data channels of field 1, 3 and 4 of field 2.
  // Throws std::invalid_argument for another.
  explicit Line21Timeline(int channel);
  ~Line21Timeline();
  Line21Timeline(const Line21Timeline&) = delete;
  Line21Timeline& operator=(const Line21Timeline&) = delete;

  // One pair of the channel's field at `time` (no earlier than the last), read at `place`.
  void Feed(kelmediatypes::TickTime time, std::uint8_t first, std::uint8_t second, const FilePlace& place);

  // The states so far, the blinking of flashing text up to its last change included; what the
  // decoder ignored is counted in `notes`, each kind at the place
  // where it first came, in the order the kinds came.
  CaptionTimeline Finish(FileNotes& notes);

 private:
  class ModelMaker;
  // What shows since `from`, with its flashing text on and off.
  struct Flashing {
    kelmediatypes::TickTime from;
    kelcaptioning::CaptioningRenderableModelPtr on, off;
    StateCause cause;
  };
  void ShowDisplayed(kelmediatypes::TickTime time);
  // The halves of seconds that what flashes shows, from the first boundary after it came to
  // `until`; with `settle`, the flashing text is left on at the end.
  void Blink(kelmediatypes::TickTime until, bool settle);

  Line21Decoder decoder_;
  std::unique_ptr<ModelMaker> maker_;
  CaptionTimeline timeline_;
  std::vector<std::pair<std::string, FilePlace>> ignoredFirst_;
  long ignoredSeen_ = 0;
  std::optional<Flashing> flashing_;
  long blinkStates_ = 0;
};

}  // namespace kelcaptionfiles

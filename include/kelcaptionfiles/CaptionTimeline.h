#pragma once

#include <cstddef>
#include <vector>

#include "kelcaptionfiles/Export.h"
#include "kelcaptioning/CaptionList.h"
#include "kelcaptioning/RenderableModel.h"
#include "kelmediatypes/TickTime.h"

namespace kelcaptionfiles {

// The caption style a line-21 decoder was in when it showed a state; Unknown for other sources.
enum class CaptionStyle { Unknown, PopOn, RollUp, PaintOn };

// How a decoder came to show a state: kept so that writers can send captions in the style they
// came in and burning can scroll a roll-up.
struct StateCause {
  CaptionStyle style = CaptionStyle::Unknown;
  // The state is the one before with its roll-up rows moved up a row (a carriage return).
  bool rolledUp = false;
  // Roll-up states: the roll-up window's base row (0 to 14, from the top) and its depth in rows.
  int rollUpBaseRow = 0;
  int rollUpRows = 0;
  friend bool operator==(const StateCause&, const StateCause&) = default;
};

// What a decoder shows over time: states that do not overlap, each one render-ready model shown
// from `begin` up to (not including) `end`. Between states nothing shows.
struct TimedModel {
  kelmediatypes::TickTime begin;
  kelmediatypes::TickTime end;
  kelcaptioning::CaptioningRenderableModelPtr model;
  StateCause cause = {};
};

class KELCAPTIONFILES_API CaptionTimeline {
 public:
  // Adds a state that begins no earlier than the last one; the last state ends where this one
  // begins, if it would have lasted longer. An empty interval or a null model adds nothing.
  // Throws std::invalid_argument for a state that begins before the last one.
  void Show(kelmediatypes::TickTime begin, kelmediatypes::TickTime end,
            const kelcaptioning::CaptioningRenderableModelPtr& model, StateCause cause = {});
  // Ends whatever shows at `time`.
  void Clear(kelmediatypes::TickTime time);

  // The state showing at `time`, or null.
  const TimedModel* At(kelmediatypes::TickTime time) const;
  const std::vector<TimedModel>& States() const noexcept { return states_; }
  bool Empty() const noexcept { return states_.empty(); }

 private:
  std::vector<TimedModel> states_;
};

// The states of a caption list: a new state wherever a caption begins or ends, holding every
// caption that shows then, in a caption area of `areaWidth` x `areaHeight` (see
// MakeRenderableModelAt).
KELCAPTIONFILES_API CaptionTimeline TimelineOf(const kelcaptioning::CaptionList& list, int areaWidth, int areaHeight,
                                               float areaRatio);

}  // namespace kelcaptionfiles

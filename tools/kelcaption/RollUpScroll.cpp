#include "kelcaption/RollUpScroll.h"

#include <algorithm>

namespace kelcaption {

using kelcaptionfiles::CaptionStyle;
using kelcaptionfiles::StateCause;
using kelcaptionfiles::TimedModel;

namespace {

bool SameRollUpWindow(const StateCause& a, const StateCause& b) {
  return a.rollUpBaseRow == b.rollUpBaseRow && a.rollUpRows == b.rollUpRows;
}

}  // namespace

std::optional<RollUpScroll> RollUpScrollAt(const kelcaptionfiles::CaptionTimeline& timeline,
                                           kelmediatypes::TickTime time) {
  const TimedModel* showing = timeline.At(time);
  if (showing == nullptr) return std::nullopt;
  const std::vector<TimedModel>& states = timeline.States();
  auto at = static_cast<std::size_t>(showing - states.data());
  // Back to the state the carriage return made, over the states that followed it at once.
  for (;;) {
    const TimedModel& state = states[at];
    if (state.cause.style != CaptionStyle::RollUp || state.cause.rollUpRows < 1 ||
        time - state.begin >= kRollUpScrollTime) {
      return std::nullopt;
    }
    if (state.cause.rolledUp) break;
    if (at == 0) return std::nullopt;
    const TimedModel& earlier = states[at - 1];
    if (earlier.end != state.begin || !SameRollUpWindow(earlier.cause, state.cause)) return std::nullopt;
    --at;
  }
  const TimedModel& rolled = states[at];
  RollUpScroll scroll;
  if (at > 0 && states[at - 1].end == rolled.begin) scroll.before = states[at - 1].model;
  scroll.firstRow = std::max(rolled.cause.rollUpBaseRow - rolled.cause.rollUpRows + 1, 0);
  scroll.rowCount = rolled.cause.rollUpBaseRow - scroll.firstRow + 1;
  scroll.progress =
      static_cast<double>((time - rolled.begin).GetTicks()) / static_cast<double>(kRollUpScrollTime.GetTicks());
  return scroll;
}

}  // namespace kelcaption

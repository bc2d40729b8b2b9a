#include "kelcaptionfiles/CaptionTimeline.h"

#include <algorithm>
#include <stdexcept>

#include "kelcaptioning/RenderableFromCaption.h"

namespace kelcaptionfiles {

using kelmediatypes::TickTime;

void CaptionTimeline::Show(TickTime begin, TickTime end, const kelcaptioning::CaptioningRenderableModelPtr& model,
                           StateCause cause) {
  if (!states_.empty() && begin < states_.back().begin) {
    throw std::invalid_argument("caption states must be added in time order");
  }
  Clear(begin);
  if (!model || !(begin < end)) return;
  states_.push_back({begin, end, model, cause});
}

void CaptionTimeline::Clear(TickTime time) {
  // A state cut down to nothing is dropped rather than kept empty.
  while (!states_.empty() && states_.back().begin >= time) states_.pop_back();
  if (!states_.empty() && states_.back().end > time) states_.back().end = time;
}

const TimedModel* CaptionTimeline::At(TickTime time) const {
  const auto after = std::upper_bound(states_.begin(), states_.end(), time,
                                      [](TickTime t, const TimedModel& state) { return t < state.begin; });
  if (after == states_.begin()) return nullptr;
  const TimedModel& state = *(after - 1);
  return time < state.end ? &state : nullptr;
}

CaptionTimeline TimelineOf(const kelcaptioning::CaptionList& list, int areaWidth, int areaHeight, float areaRatio) {
  const kelcaptioning::CaptionVector captions = list.GetCaptions();
  std::vector<TickTime> changes;
  for (const kelcaptioning::CaptionPtr& caption : captions) {
    if (!caption || !(caption->GetBeginTime() < caption->GetEndTime())) continue;
    changes.push_back(caption->GetBeginTime());
    changes.push_back(caption->GetEndTime());
  }
  std::sort(changes.begin(), changes.end());
  changes.erase(std::unique(changes.begin(), changes.end()), changes.end());
  CaptionTimeline timeline;
  for (std::size_t i = 0; i + 1 < changes.size(); ++i) {
    const auto showing = kelcaptioning::CaptionsShowingAt(captions, changes[i]);
    if (showing.empty()) continue;
    timeline.Show(
        changes[i], changes[i + 1],
        kelcaptioning::MakeRenderableModel(list.GetStreamFormat(), showing, areaWidth, areaHeight, areaRatio));
  }
  return timeline;
}

}  // namespace kelcaptionfiles

#include "kelcaptionfiles/CaptionTimeline.h"

#include <algorithm>
#include <set>
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
  // One sweep over the begins and ends, so that long files take n log n, not n squared.
  struct Change {
    TickTime time;
    std::size_t caption;
    bool begins;
  };
  std::vector<Change> changes;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    const kelcaptioning::CaptionPtr& caption = captions[i];
    if (!caption || !(caption->GetBeginTime() < caption->GetEndTime())) continue;
    changes.push_back({caption->GetBeginTime(), i, true});
    changes.push_back({caption->GetEndTime(), i, false});
  }
  std::sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) { return a.time < b.time; });
  CaptionTimeline timeline;
  std::set<std::size_t> showing;  // by place in the list, which is the drawing order
  for (std::size_t i = 0; i < changes.size();) {
    const TickTime time = changes[i].time;
    for (; i < changes.size() && changes[i].time == time; ++i) {
      if (changes[i].begins) showing.insert(changes[i].caption);
      else showing.erase(changes[i].caption);
    }
    if (showing.empty() || i == changes.size()) continue;
    std::vector<const kelcaptioning::Caption*> shown;
    for (std::size_t index : showing) shown.push_back(captions[index].get());
    timeline.Show(time, changes[i].time,
                  kelcaptioning::MakeRenderableModel(list.GetStreamFormat(), shown, areaWidth, areaHeight, areaRatio));
  }
  return timeline;
}

}  // namespace kelcaptionfiles

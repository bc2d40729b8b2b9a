#include "captionfiles/DtvccTimeline.h"

#include "captionfiles/DtvccDecoder.h"
#include "captionfiles/DtvccModel.h"

namespace kelcaptionfiles {

using kelmediatypes::TickTime;

namespace {

void AddStates(CaptionTimeline& timeline, const std::vector<DtvccShownState>& changes, DtvccModelMaker& maker) {
  for (const DtvccShownState& change : changes) {
    if (change.screen.empty())
      timeline.Clear(change.time);
    else
      timeline.Show(change.time, kelmediatypes::kTime_Max, maker.Make(change.screen));
  }
}

}  // namespace

ReadResult DecodeDtvccService(std::span<const TimedCcData> data, int service, bool wideScreen) {
  DtvccDecoder decoder(service, wideScreen);
  DtvccModelMaker maker(decoder.GridColumns());
  CaptionTimeline timeline;
  FileNotes notes;
  TickTime last = kelmediatypes::kTime_Min;
  for (const TimedCcData& triplet : data) {
    TickTime time = triplet.time;
    if (time < last) {
      notes.Count(NoteKind::kProblem, "caption data whose time goes back (taken at the time before)", {});
      time = last;
    }
    last = time;
    decoder.Feed(time, triplet.data);
    AddStates(timeline, decoder.TakeChanges(), maker);
  }
  decoder.Finish(data.empty() ? TickTime() : last);
  AddStates(timeline, decoder.TakeChanges(), maker);
  for (const FileNote& note : decoder.Notes().All()) notes.Count(note.kind, note.what, note.first, note.count);
  return {std::move(timeline), std::move(notes), {}};
}

}  // namespace kelcaptionfiles

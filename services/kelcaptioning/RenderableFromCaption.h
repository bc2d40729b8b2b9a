#pragma once

#include <vector>

#include "kelcaptioning/CaptionList.h"
#include "kelcaptioning/Export.h"
#include "kelcaptioning/RenderableModel.h"

namespace kelcaptioning {

// The render-ready model of one caption of a list of `format`, as a decoder shows it.
// Grid formats: one window over the whole caption grid, each paragraph's characters in the row
// and column its position gives, coloured by its first span. Open captions: one window of
// `areaRatio` of the frame whose draw area is `areaWidth` x `areaHeight` (the layout area of
// the caption's positions), one open row per paragraph at its position, with its measured line
// size and one span per caption span.
KELCAPTIONING_API CaptioningRenderableModelPtr MakeRenderableModel(StreamFormat format, const Caption& caption,
                                                                   int areaWidth, int areaHeight,
                                                                   float areaRatio = kDefaultCaptionAreaRatio);

// The same for several captions at once, in their order (later ones drawn over earlier ones);
// null entries are skipped.
KELCAPTIONING_API CaptioningRenderableModelPtr MakeRenderableModel(StreamFormat format,
                                                                   const std::vector<const Caption*>& captions,
                                                                   int areaWidth, int areaHeight,
                                                                   float areaRatio = kDefaultCaptionAreaRatio);

// A model of `format` with one window over the format's whole grid: anchored top left, without
// fill, keeping `areaRatio` of the frame, holding `rows` (a row per grid row, null for empty ones).
// Decoders of grid caption files build their states with it.
KELCAPTIONING_API CaptioningRenderableModelPtr MakeGridModel(StreamFormat format, RowList rows, float areaRatio = kDefaultCaptionAreaRatio);

// The captions among `captions` that show at `time` (begin <= time < end), in their order; null
// entries are skipped.
KELCAPTIONING_API std::vector<const Caption*> CaptionsShowingAt(const CaptionVector& captions,
                                                                kelmediatypes::TickTime time);

// The model of what the list shows at `time`: every caption with begin <= time < end, in list
// order, in one window as above (later captions drawn over earlier ones).
KELCAPTIONING_API CaptioningRenderableModelPtr MakeRenderableModelAt(const CaptionList& list,
                                                                     kelmediatypes::TickTime time, int areaWidth,
                                                                     int areaHeight, float areaRatio = kDefaultCaptionAreaRatio);

}  // namespace kelcaptioning

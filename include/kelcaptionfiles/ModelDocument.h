#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "kelcaptionfiles/CaptionTimeline.h"
#include "kelcaptionfiles/Export.h"
#include "kelcaptionfiles/ReadError.h"
#include "kelcaptionfiles/ReadOptions.h"
#include "kelcaptionfiles/ReadResult.h"

namespace kelcaptionfiles {

// The model document: a caption timeline as JSON, each state a render-ready model with every
// attribute the model holds (windows with their placement and fill; grid rows as runs of cells
// with colours, size class, rows used, offset, font family, edge, italics and underline; open
// rows with their spans). captionfiles/caption-document.schema.json describes it next to the
// caption document; a document with a "states" member is a model document.

// Null when `text` is not a model document (not JSON, or no "states" member). A state with a value
// of the wrong kind, or out of time order, is skipped and reported at its JSON pointer; with
// `options.strict` it throws ReadError naming the pointer instead.
KELCAPTIONFILES_API std::optional<ReadResult> ReadModelDocument(std::string_view text, const std::string& fileName,
                                                               const ReadOptions& options = {});

// The document of `timeline`, pretty-printed. Windows are written in render order; a window that
// is not in the render order is not drawn and not written.
KELCAPTIONFILES_API std::string WriteModelDocument(const CaptionTimeline& timeline);

}  // namespace kelcaptionfiles

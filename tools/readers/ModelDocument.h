#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "readers/CaptionTimeline.h"
#include "readers/ReadError.h"

namespace kelcaption {

// The model document: a caption timeline as JSON, each state a render-ready model with every
// attribute the model holds (windows with their placement and fill; grid rows as runs of cells
// with colours, size class, rows used, offset, font family, edge, italics and underline; open
// rows with their spans). tools/readers/caption-document.schema.json describes it next to the
// caption document; a document with a "states" member is a model document.

// Null when `text` is not a model document (not JSON, or no "states" member); throws ReadError
// naming the JSON pointer of a value of the wrong kind.
std::optional<CaptionTimeline> ReadModelDocument(std::string_view text, const std::string& fileName);

// The document of `timeline`, pretty-printed. Windows are written in render order; a window that
// is not in the render order is not drawn and not written.
std::string WriteModelDocument(const CaptionTimeline& timeline);

}  // namespace kelcaption

#pragma once

#include <string>
#include <string_view>

#include "kelcaptionfiles/ReadOptions.h"
#include "kelcaptionfiles/ReadResult.h"

namespace kelcaptionfiles {

// Whether `text` is an XML document whose root element is <tt> (of any prefix).
bool LooksLikeTtml(std::string_view text);

// Reads timed text (TTML, DFXP, IMSC) as a caption list: a caption for each paragraph (<p>) for
// each stretch of time in which what it shows stays the same, in media time (clock times, offsets,
// frames and ticks at the document's ttp: rates; begin, end and dur nested in parallel and
// sequential containers). Styles come from references, chains, inline tts: attributes and
// inheritance; regions become anchors, or cue boxes when they are not the title area. What cannot
// be shown (animations, images, unknown styles) is noted once a kind; a document that is not
// well-formed XML, or whose root is not <tt>, is a ReadError.
ReadResult ReadTtml(std::string_view text, const std::string& fileName, const ReadOptions& options = {});

}  // namespace kelcaptionfiles

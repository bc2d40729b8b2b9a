#pragma once

#include <string>
#include <string_view>

#include "kelcaptionfiles/Export.h"
#include "kelcaptionfiles/ReadError.h"
#include "kelcaptionfiles/ReadOptions.h"
#include "kelcaptionfiles/ReadResult.h"
#include "kelcaptioning/CaptionList.h"

namespace kelcaptionfiles {

// The JSON caption document: a caption list with its stream format, metadata and every caption,
// paragraph and span attribute the model holds. captionfiles/caption-document.schema.json
// describes it. Times are "HH:MM:SS.mmm" strings or whole tick counts; colours are "#RRGGBB",
// "#RRGGBBAA" or [r, g, b, a] with components from 0 to 1; fractions are [numerator, denominator].

// A caption with a value of the wrong kind is skipped and reported at the value's JSON pointer; a
// file that is not JSON or has no readable format or caption array gives nothing, reported. With
// `options.strict` the first of them throws ReadError naming the file and the pointer (or the line
// and column of text that is not JSON).
KELCAPTIONFILES_API ReadResult ReadCaptionDocument(std::string_view text, const std::string& fileName,
                                                   const ReadOptions& options = {});

// The document of `list`, pretty-printed.
KELCAPTIONFILES_API std::string WriteCaptionDocument(const kelcaptioning::CaptionList& list);

// "6CC1", "TL10", "OEBU", "OPEN" and the other four-character codes, and back. A value without a
// name is written as eight hex digits ("0x00000000" for kStreamFormat_Unknown), which reads back;
// any other code throws std::runtime_error.
KELCAPTIONFILES_API kelcaptioning::StreamFormat StreamFormatFromCode(const std::string& code);
KELCAPTIONFILES_API std::string StreamFormatCode(kelcaptioning::StreamFormat format);

}  // namespace kelcaptionfiles

#pragma once

#include <string>

#include "kelcaptionfiles/CaptionFileKinds.h"

namespace kelcaption {

// Where the tool's captions come from: a caption file of a kind the library reads, or else a
// video file, whose pictures may carry caption data.

// The kind of caption file at `path`, found from its name and first bytes; null for a video
// (or anything else that is no caption file).
const kelcaptionfiles::CaptionFileKind* CaptionKindOf(const std::string& path);

// The captions of the file at `path`: read as its kind, or decoded from the caption data of a
// video's pictures (the track `options` chooses; see kelcaptionfiles::DecodeCcData).
kelcaptionfiles::ReadResult ReadCaptionSource(const std::string& path, const kelcaptionfiles::ReadOptions& options);

}  // namespace kelcaption

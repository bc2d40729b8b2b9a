#pragma once

#include <string>
#include <string_view>

#include "kelcaptionfiles/ReadError.h"
#include "kelcaptionfiles/ReadOptions.h"
#include "kelcaptionfiles/ReadResult.h"

namespace kelcaptionfiles {

// Reads a WebVTT file (UTF-8) as a browser does (see WebVttParser and WebVttCueText) into an
// open-caption list, one caption per cue and one paragraph per line of cue text.
//
// Settings: align picks the text alignment and, without line or position, the bottom anchor;
// position:N% and line:N% place the cue freely (see PlaceFreeCues), position defaulting to where
// the alignment puts it. Text: <i>, <b>, <u> and the default colour classes are styled; <c>,
// <v>, <lang> carry no style of their own; character references are resolved.
//
// What the file asks for that the model cannot hold (STYLE and REGION blocks, size, vertical,
// region, line numbers, line and position alignment, ruby, timestamps) is counted in the notes
// with where it first occurs; what the parsing algorithm drops (blocks whose time line cannot be
// read, blocks that are no cue) is reported as a problem. With `options.strict` the first
// problem throws ReadError instead, as do a missing WEBVTT signature and a cue without text.
ReadResult ReadWebVtt(std::string_view text, const std::string& fileName, const ReadOptions& options = {});

}  // namespace kelcaptionfiles

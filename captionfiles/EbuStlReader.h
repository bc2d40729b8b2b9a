#pragma once

#include <string>
#include <string_view>

#include "kelcaptionfiles/ReadError.h"
#include "kelcaptionfiles/ReadOptions.h"
#include "kelcaptionfiles/ReadResult.h"

namespace kelcaptionfiles {

// Reads an EBU STL file: a 1024-byte header (GSI) and 128-byte text blocks (TTI).
//
// Time codes count frames of the header's disk format code: STL24.01, STL25.01, STL30.01,
// STL50.01 and STL60.01 at 24 to 60 frames a second; STL23.01 counts 24 frames a time-code
// second, each lasting 1001/24000 s. Times are read as written; a start-of-programme time code
// is reported, not subtracted.
//
// Teletext (display standard 1 or 2) gives a timeline of grid models of kStreamFormat_TeletextLevel10
// or kStreamFormat_TeletextLevel20, the subtitle pages as a decoder shows them (a subtitle replaces
// one still showing). Subtitle rows go to grid rows by their vertical position
// (row 1 to 23), text row by text row, and are aligned by the justification code (0 as written,
// 1 left, 2 centred, 3 right: leading and trailing spaces dropped). Control codes take a cell
// each, shown as a space. Only boxed cells (0x0B to 0x0A) show a background: black, or the
// colour that "new background" (0x1D) takes from the foreground. A double-height cell uses two
// rows and hides the row under it. Cumulative subtitles add their rows to the set's earlier ones.
//
// Open subtitling (display standard blank or 0) gives a caption list of kStreamFormat_OpenEBU, one
// caption per subtitle and one paragraph per text row, not yet measured or placed: spans by colour, italics, underline
// and boxing; paragraphs anchored at the bottom for rows in the lower half of the header's row count, at the top
// otherwise, left, centred or right by the justification code (centred for 0). Spans take `style`'s font, size and
// edge. The list carries STL metadata with the header's maximum rows and characters.
//
// Comments and user-data blocks are skipped; extension blocks continue their subtitle's text. What
// the file asks for that is not applied is counted in the notes, at the byte offset of the
// subtitle's first text block, such as "flash (0x08)".
//
// Damage is reported once a kind at the byte offset where it first stands, and the rest is read:
// a header too short to read gives nothing; an unknown disk format is read as STL25.01, an
// unknown display standard as open subtitling, an unknown character code table as Latin; header
// numbers that are not digits are not used; a cut-short last block, blocks of a reserved number,
// subtitles with a time code out of range or that end before they begin are skipped; a vertical
// position off the grid moves to the nearest row; a subtitle whose text runs past the file or
// into another subtitle's block keeps what was read. With `options.strict` the first of them
// throws ReadError instead.
ReadResult ReadEbuStl(std::string_view bytes, const std::string& fileName, const ReadOptions& options = {});

}  // namespace kelcaptionfiles

#pragma once

// The text field of EBU STL subtitles read the way a teletext decoder reads a row: characters of
// the file's code table, and spacing control codes that each take a cell, shown as a space, and
// change the attributes at that cell ("set-at") or from the next one on ("set-after"). The cells
// feed both the teletext grid and the rows of open subtitles.

#include <string>
#include <string_view>
#include <vector>

#include "captionfiles/StlCodePage.h"
#include "kelcaptionfiles/FileNotes.h"
#include "kelcaptioning/CaptioningColor.h"

namespace kelcaptionfiles::stl {

enum class CellKind : unsigned char {
  kCharacter,  // a character that shows
  kSpace,      // a space byte (0x20)
  kControl,    // a spacing control code, shown as a space
};

struct TextCell {
  char32_t character = U' ';
  // A combining accent for which Unicode has no precomposed letter with `character`; 0 if none.
  char32_t accent = 0;
  CellKind kind = CellKind::kSpace;
  kelcaptioning::CaptioningColor foreground = kelcaptioning::kCaptioningColor_White;
  // Only boxed cells show their background.
  bool boxed = false;
  kelcaptioning::CaptioningColor background = kelcaptioning::kCaptioningColor_Black;
  bool italic = false;
  bool underline = false;
  bool doubleHeight = false;
};

using TextRow = std::vector<TextCell>;

enum class TextMode { kTeletext, kOpen };

// The rows of one subtitle's text: CR/LF (0x8A) ends a row, unused space (0x8F) is skipped. Each
// row starts as a teletext row does (white, black background, unboxed, normal height); italics,
// underline and open-subtitle boxing (0x80 to 0x85) last until switched off. Teletext boxes
// (0x0B, 0x0A) box open subtitles too; double height applies to teletext only. What is not
// applied is counted in `notes`, at `place`.
std::vector<TextRow> DecodeText(std::string_view text, CharacterTable table, TextMode mode, const FilePlace& place,
                                FileNotes& notes);

}  // namespace kelcaptionfiles::stl

#pragma once

// The captions of a read file as the writers take them: one cue per caption (or per state of a
// timeline), lines of styled runs, and where the lines stand.

#include <optional>
#include <string>
#include <vector>

#include "kelcaptionfiles/CueBox.h"
#include "kelcaptionfiles/ReadResult.h"
#include "kelcaptioning/CaptionList.h"

namespace kelcaptionfiles {

struct ExportStyle {
  kelcaptioning::CaptioningColor color = kelcaptioning::kCaptioningColor_White;
  // None: the format's own (transparent for subtitles, black for grid captions).
  std::optional<kelcaptioning::CaptioningColor> background;
  bool italic = false;
  bool bold = false;
  bool underline = false;
  friend bool operator==(const ExportStyle&, const ExportStyle&) = default;
};

struct ExportRun {
  std::u32string text;
  ExportStyle style;
};

struct ExportLine {
  std::vector<ExportRun> runs;
  // Grid captions: the row and column (from 0) of the line's first character in a grid of
  // ExportCue::gridRows rows and ExportCue::gridColumns columns; -1 for subtitle lines.
  int row = -1;
  int column = -1;
  kelcaptioning::ParagraphStyleAttributes::TextAlignmentType alignment =
      kelcaptioning::ParagraphStyleAttributes::kTextAlignment_Center;
  // Subtitle lines: the line's own anchor, which may differ from the cue's first line's.
  kelcaptioning::AnchorID anchor = kelcaptioning::kAnchor_BottomCenter;

  std::u32string Text() const;
};

struct ExportCue {
  kelmediatypes::TickTime begin;
  kelmediatypes::TickTime end;
  std::vector<ExportLine> lines;
  // Subtitle lines: the anchor of the whole cue and, for a free cue, where it stands (fractions
  // of the frame) or the box a reader gave it.
  kelcaptioning::AnchorID anchor = kelcaptioning::kAnchor_BottomCenter;
  std::optional<kelcaptioning::Position> position;
  std::optional<CueBox> box;
  int gridRows = 0;  // 0 for subtitle cues
  int gridColumns = 0;
  // For a state of a line-21 timeline, the style it came in, so that it can be sent so again.
  StateCause cause;
};

struct ExportCues {
  std::vector<ExportCue> cues;
  kelcaptioning::StreamFormat format = kelcaptioning::kStreamFormat_Unknown;
  // What the source held that no writer can carry, such as captions of a window placed off the grid.
  FileNotes notes;
};

// The cues of what a reader gave, in time order; empty lines and empty cues left out.
ExportCues CuesOf(const ReadResult& read);

// The anchor of a cue written as subtitles: its own, or for grid lines the top when its first
// line stands in the upper half of the grid, the bottom otherwise.
kelcaptioning::AnchorID SubtitleAnchor(const ExportCue& cue);

// The subtitle lines of `cue` as grid lines of `rows` x `columns`: each line of the cue, wrapped
// at spaces to `columns`, then the lines stacked at the bottom (top or middle as the anchor says)
// and aligned in their row. Lines already on the grid stay as they are. Rows past `rows` are left
// out and `cut` is set.
std::vector<ExportLine> GridLines(const ExportCue& cue, int rows, int columns, bool& cut);

}  // namespace kelcaptionfiles

#pragma once

// Which pieces of a paragraph go on which line: as few lines as the width allows, and of those
// the most even (the smallest sum of squared line widths; of splits as even, the one with the
// longer lines lower), as subtitlers balance two-line subtitles. Knows widths only; LineBreaking says where text may break.

#include <cstddef>
#include <vector>

namespace kelcaptionfiles {

struct WrapPiece {
  double advance = 0;  // its width followed by another piece on the same line
  double content = 0;  // its width at the end of a line (without trailing spaces)
  bool mustBreak = false;  // a line ends after it
};

// How lines are filled: balanced as above, or each as far as it goes, as browsers fill the lines
// of a WebVTT cue.
enum class LineFilling { kBalanced, kFirstFit };

// The index of the first piece of each line (the first is 0). A piece wider than `maxWidth`
// stands on a line of its own. Empty for no pieces.
std::vector<std::size_t> BalancedLineStarts(const std::vector<WrapPiece>& pieces, double maxWidth,
                                            LineFilling filling = LineFilling::kBalanced);

}  // namespace kelcaptionfiles

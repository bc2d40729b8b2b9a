#include "captionfiles/BalancedWrapping.h"

#include <limits>

namespace kelcaptionfiles {

namespace {

// Beyond this many pieces in one stretch between forced breaks, lines are filled greedily: the
// even spread costs the square of the pieces, which a pathological file must not buy.
constexpr std::size_t kMostBalancedPieces = 600;

// Line starts, filling each line as far as it goes, for pieces [from, to).
void Greedy(const std::vector<WrapPiece>& pieces, std::size_t from, std::size_t to, double maxWidth,
            std::vector<std::size_t>& starts) {
  starts.push_back(from);
  double width = 0;
  for (std::size_t i = from; i < to; ++i) {
    if (i > from && width + pieces[i].content > maxWidth && starts.back() != i) {
      starts.push_back(i);
      width = 0;
    }
    width += pieces[i].advance;
  }
}

// The widest line that pieces [i, j) make.
double LineWidth(const std::vector<double>& advanceSum, const std::vector<WrapPiece>& pieces, std::size_t i,
                 std::size_t j) {
  return advanceSum[j - 1] - advanceSum[i] + pieces[j - 1].content;
}

// Line starts for pieces [from, to) with exactly `lines` lines and the smallest sum of squared
// widths; false when no such split fits.
bool Balanced(const std::vector<WrapPiece>& pieces, std::size_t from, std::size_t to, std::size_t lines,
              double maxWidth, std::vector<std::size_t>& starts) {
  const std::size_t n = to - from;
  std::vector<double> advanceSum(pieces.size() + 1, 0);
  for (std::size_t i = from; i < to; ++i) advanceSum[i + 1] = advanceSum[i] + pieces[i].advance;
  constexpr double kNone = std::numeric_limits<double>::infinity();
  // cost[k][j]: best for the first j pieces on k lines; from[k][j]: where the k-th line starts.
  std::vector<std::vector<double>> cost(lines + 1, std::vector<double>(n + 1, kNone));
  std::vector<std::vector<std::size_t>> back(lines + 1, std::vector<std::size_t>(n + 1, 0));
  cost[0][0] = 0;
  for (std::size_t k = 1; k <= lines; ++k) {
    for (std::size_t j = k; j <= n; ++j) {
      for (std::size_t i = j; i-- > k - 1;) {
        if (cost[k - 1][i] == kNone) continue;
        const double width = LineWidth(advanceSum, pieces, from + i, from + j);
        if (width > maxWidth && j - i > 1) break;  // wider still further back
        // Of splits as even, the one with the longer lines below, as subtitles are balanced.
        const double c = cost[k - 1][i] + width * width;
        if (c <= cost[k][j]) cost[k][j] = c, back[k][j] = i;
      }
    }
  }
  if (cost[lines][n] == kNone) return false;
  std::vector<std::size_t> found(lines);
  for (std::size_t k = lines, j = n; k > 0; j = back[k][j], --k) found[k - 1] = from + back[k][j];
  starts.insert(starts.end(), found.begin(), found.end());
  return true;
}

}  // namespace

std::vector<std::size_t> BalancedLineStarts(const std::vector<WrapPiece>& pieces, double maxWidth, LineFilling filling) {
  std::vector<std::size_t> starts;
  for (std::size_t from = 0; from < pieces.size();) {
    std::size_t to = from;
    while (to < pieces.size() && !pieces[to++].mustBreak) {
    }
    std::vector<std::size_t> greedy;
    Greedy(pieces, from, to, maxWidth, greedy);
    if (greedy.size() == 1 || filling == LineFilling::kFirstFit || to - from > kMostBalancedPieces ||
        !Balanced(pieces, from, to, greedy.size(), maxWidth, starts)) {
      starts.insert(starts.end(), greedy.begin(), greedy.end());
    }
    from = to;
  }
  return starts;
}

}  // namespace kelcaptionfiles

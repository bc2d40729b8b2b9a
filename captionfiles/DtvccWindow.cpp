#include "captionfiles/DtvccWindow.h"

#include <algorithm>

namespace kelcaptionfiles {

DtvccWindowAttributes PredefinedWindowStyle(int style) noexcept {
  using A = DtvccWindowAttributes;
  DtvccWindowAttributes a;  // style 1: pop-on captions on a black window, left justified
  switch (style) {
    case 2: a.fill.opacity = DtvccOpacity::Transparent; break;
    case 3: a.justify = A::kCenter; break;
    case 4: a.wordWrap = true; break;  // roll-up captions
    case 5:
      a.wordWrap = true;
      a.fill.opacity = DtvccOpacity::Transparent;
      break;
    case 6:
      a.wordWrap = true;
      a.justify = A::kCenter;
      break;
    case 7:  // ticker tape
      a.printDirection = A::kTopToBottom;
      a.scrollDirection = A::kRightToLeft;
      break;
    default: break;
  }
  return a;
}

DtvccPen PredefinedPenStyle(int style) noexcept {
  DtvccPen pen;  // style 1: default font, white on solid black
  switch (style) {
    case 2:
    case 3:
    case 4:
    case 5: pen.fontStyle = static_cast<std::uint8_t>(style - 1); break;
    case 6:
    case 7:
      pen.fontStyle = static_cast<std::uint8_t>(style - 3);
      pen.background.opacity = DtvccOpacity::Transparent;
      pen.edgeType = DtvccPen::kUniform;
      break;
    default: break;
  }
  return pen;
}

void DtvccWindow::Define(const DtvccWindowDefinition& definition) {
  const bool created = !defined_;
  definition_ = definition;
  definition_.rowCount = std::clamp(definition.rowCount, 1, 16);
  definition_.columnCount = std::clamp(definition.columnCount, 1, 64);
  if (created || definition.windowStyle != 0) attributes_ = PredefinedWindowStyle(definition.windowStyle);
  if (created || definition.penStyle != 0) pen_ = PredefinedPenStyle(definition.penStyle);
  text_.resize(static_cast<std::size_t>(definition_.rowCount));
  for (auto& row : text_) row.resize(static_cast<std::size_t>(definition_.columnCount));
  penRow_ = std::min(penRow_, definition_.rowCount - 1);
  penColumn_ = std::min(penColumn_, definition_.columnCount);
  defined_ = true;
}

void DtvccWindow::SetPenLocation(int row, int column) noexcept {
  penRow_ = std::clamp(row, 0, static_cast<int>(text_.size()) - 1);
  penColumn_ = std::clamp(column, 0, definition_.columnCount - 1);
}

bool DtvccWindow::Put(char32_t character) {
  if (!defined_) return false;
  if (penColumn_ >= definition_.columnCount) {
    if (!attributes_.wordWrap) return false;
    // A space where the row ends only breaks the line.
    if (character == U' ') {
      NextRow();
      return true;
    }
    WrapWord();
  }
  DtvccCell& cell = text_[static_cast<std::size_t>(penRow_)][static_cast<std::size_t>(penColumn_)];
  cell = character == 0 ? DtvccCell{} : DtvccCell{character, pen_};
  ++penColumn_;
  return true;
}

void DtvccWindow::WrapWord() {
  auto& row = text_[static_cast<std::size_t>(penRow_)];
  std::size_t start = row.size();
  while (start > 0 && !row[start - 1].Empty() && row[start - 1].character != U' ') --start;
  // A word as long as the row is broken where the row ends.
  std::vector<DtvccCell> word;
  if (start > 0) {
    word.assign(row.begin() + static_cast<std::ptrdiff_t>(start), row.end());
    // The spaces before the word become the line break: they would count in justifying the row.
    while (start > 0 && row[start - 1].character == U' ') --start;
    std::fill(row.begin() + static_cast<std::ptrdiff_t>(start), row.end(), DtvccCell{});
  }
  NextRow();
  auto& next = text_[static_cast<std::size_t>(penRow_)];
  std::copy(word.begin(), word.end(), next.begin());
  penColumn_ = static_cast<int>(word.size());
}

void DtvccWindow::NextRow() {
  penColumn_ = 0;
  const std::vector<DtvccCell> blank(static_cast<std::size_t>(definition_.columnCount));
  // Past the last row the window rolls up: in the direction the window scrolls, the first row
  // leaves and an empty one comes in.
  if (attributes_.scrollDirection == DtvccWindowAttributes::kTopToBottom) {
    if (penRow_ > 0) {
      --penRow_;
    } else {
      std::rotate(text_.rbegin(), text_.rbegin() + 1, text_.rend());
      text_.front() = blank;
    }
    return;
  }
  if (penRow_ + 1 < static_cast<int>(text_.size())) {
    ++penRow_;
  } else {
    std::rotate(text_.begin(), text_.begin() + 1, text_.end());
    text_.back() = blank;
  }
}

void DtvccWindow::CarriageReturn() {
  if (defined_) NextRow();
}

void DtvccWindow::HorizontalCarriageReturn() {
  if (!defined_) return;
  auto& row = text_[static_cast<std::size_t>(penRow_)];
  std::fill(row.begin(), row.end(), DtvccCell{});
  penColumn_ = 0;
}

void DtvccWindow::Backspace() {
  if (!defined_ || penColumn_ == 0) return;
  --penColumn_;
  text_[static_cast<std::size_t>(penRow_)][static_cast<std::size_t>(penColumn_)] = {};
}

void DtvccWindow::FormFeed() {
  Clear();
  penRow_ = penColumn_ = 0;
}

void DtvccWindow::Clear() {
  for (auto& row : text_) std::fill(row.begin(), row.end(), DtvccCell{});
}

}  // namespace kelcaptionfiles

#include "captionfiles/DtvccDecoder.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "captionfiles/DtvccCharacters.h"

namespace kelcaptionfiles {

using kelmediatypes::TickTime;

namespace {

constexpr std::uint8_t kExt1 = 0x10, kP16 = 0x18, kDelayCancel = 0x8E, kReset = 0x8F;

// The length in bytes of the code that starts at `at`, as the code space fixes it for every
// range, defined or not; 0 when the data end before the length is known.
std::size_t CodeLength(std::span<const std::uint8_t> data, std::size_t at) {
  const std::uint8_t code = data[at];
  if (code == kExt1) {
    if (at + 1 >= data.size()) return 0;
    const std::uint8_t extended = data[at + 1];
    if (extended < 0x20) return 2 + extended / 8;       // C2: 0, 1, 2 or 3 parameter bytes
    if (extended < 0x80 || extended >= 0xA0) return 2;  // G2, G3
    if (extended < 0x88) return 6;                      // C3: 4 parameter bytes
    if (extended < 0x90) return 7;                      // C3: 5 parameter bytes
    // C3 0x90 to 0x9F: a byte whose low six bits count the bytes that follow it.
    if (at + 2 >= data.size()) return 0;
    return 3 + (data[at + 2] & 0x3Fu);
  }
  if (code < 0x10) return 1;
  if (code < 0x18) return 2;
  if (code < 0x20) return 3;
  if (code < 0x80 || code >= 0xA0) return 1;
  if (code <= 0x87) return 1;                  // SetCurrentWindow
  if (code <= 0x8D) return 2;                  // window bitmaps, Delay
  if (code == 0x90 || code == 0x92) return 3;  // SetPenAttributes, SetPenLocation
  if (code == 0x91) return 4;                  // SetPenColor
  if (code == 0x97) return 5;                  // SetWindowAttributes
  if (code >= 0x98) return 7;                  // DefineWindow
  return 1;                                    // DelayCancel, Reset and the undefined 0x93 to 0x96
}

DtvccColor ColorOf(std::uint8_t bits, std::uint8_t opacity) {
  return {static_cast<std::uint8_t>((bits >> 4) & 3), static_cast<std::uint8_t>((bits >> 2) & 3),
          static_cast<std::uint8_t>(bits & 3), static_cast<DtvccOpacity>(opacity & 3)};
}

// A C0 code acts on the current window, when there is one.
void Apply(DtvccWindow* window, void (DtvccWindow::*action)()) {
  if (window) (window->*action)();
}

void ShowWindow(DtvccWindow& w) { w.SetVisible(true); }
void HideWindow(DtvccWindow& w) { w.SetVisible(false); }
void ToggleWindow(DtvccWindow& w) { w.SetVisible(!w.Definition().visible); }
void ClearWindow(DtvccWindow& w) { w.Clear(); }
void DeleteWindow(DtvccWindow& w) { w.Delete(); }

// The text of a row moved so that it stands as the window's justification asks.
std::vector<DtvccCell> Justified(std::vector<DtvccCell> row, std::uint8_t justify) {
  if (justify != DtvccWindowAttributes::kRight && justify != DtvccWindowAttributes::kCenter) return row;
  const auto first = std::find_if(row.begin(), row.end(), [](const DtvccCell& c) { return !c.Empty(); });
  if (first == row.end()) return row;
  const auto last = std::find_if(row.rbegin(), row.rend(), [](const DtvccCell& c) { return !c.Empty(); }).base();
  const std::vector<DtvccCell> used(first, last);
  const std::size_t free = row.size() - used.size();
  std::fill(row.begin(), row.end(), DtvccCell{});
  const std::size_t start = justify == DtvccWindowAttributes::kRight ? free : free / 2;
  std::copy(used.begin(), used.end(), row.begin() + static_cast<std::ptrdiff_t>(start));
  return row;
}

bool ShowsNothing(const DtvccShownWindow& w) {
  if (w.fill.opacity != DtvccOpacity::Transparent) return false;
  return std::all_of(w.text.begin(), w.text.end(), [](const std::vector<DtvccCell>& row) {
    return std::all_of(row.begin(), row.end(), [](const DtvccCell& c) { return c.Empty(); });
  });
}

}  // namespace

DtvccDecoder::DtvccDecoder(int service, bool wideScreen)
    : gridColumns_(wideScreen ? 42 : 32),
      blocks_(
          service, [this](std::span<const std::uint8_t> block) { ReceiveBlock(blockTime_, block); }, notes_) {}

void DtvccDecoder::Feed(TickTime time, const CcData& data) {
  ReleaseDelay(time);
  blockTime_ = time;
  blocks_.Feed(data);
}

void DtvccDecoder::Finish(TickTime time) {
  blocks_.Finish();
  // What waits shows when its delay ends, after the input too.
  while (delayEnd_) Release(std::max(time, *delayEnd_));
}

std::vector<DtvccShownState> DtvccDecoder::TakeChanges() { return std::exchange(changes_, {}); }

void DtvccDecoder::ReceiveBlock(TickTime time, std::span<const std::uint8_t> block) {
  ReleaseDelay(time);
  std::size_t at = 0;
  while (at < block.size()) {
    const std::size_t length = CodeLength(block, at);
    if (length == 0 || at + length > block.size()) {
      Problem("caption commands cut short by the end of their service block (skipped)");
      break;
    }
    const std::span<const std::uint8_t> command = block.subspan(at, length);
    at += length;
    // A delay holds back everything but the two commands that end it.
    if (delayEnd_ && command[0] != kDelayCancel && command[0] != kReset) {
      waiting_.emplace_back(command.begin(), command.end());
      continue;
    }
    Run(time, command);
  }
  UpdateShown(time);
}

void DtvccDecoder::ReleaseDelay(TickTime time) {
  if (delayEnd_ && *delayEnd_ <= time) Release(*delayEnd_);
}

void DtvccDecoder::Release(TickTime time) {
  while (true) {
    delayEnd_.reset();
    std::size_t next = 0;
    // A Delay among the waiting commands holds back the rest again.
    while (next < waiting_.size() && !delayEnd_) Run(time, waiting_[next++]);
    waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(next));
    UpdateShown(time);
    if (!delayEnd_ || time < *delayEnd_) return;
    time = *delayEnd_;
  }
}

void DtvccDecoder::Run(TickTime time, std::span<const std::uint8_t> command) {
  const std::uint8_t code = command[0];
  if (code >= 0x20 && code < 0x80) return Put(DtvccG0Character(code));
  if (code >= 0xA0) return Put(DtvccG1Character(code));
  if (code == kExt1) return RunExtended(command);
  RunControl(time, command);
}

void DtvccDecoder::RunExtended(std::span<const std::uint8_t> command) {
  const std::uint8_t code = command[1];
  if (code < 0x20 || (code >= 0x80 && code < 0xA0)) {
    Problem("undefined extended control codes (skipped)");
    return;
  }
  const DtvccCharacter c = code < 0x80 ? DtvccG2Character(code) : DtvccG3Character(code);
  if (c.kind == DtvccCharacter::Kind::Undefined) {
    Problem("undefined G2 and G3 characters (shown as _)");
    return Put(U'_');
  }
  Put(c.character);
}

void DtvccDecoder::RunControl(TickTime time, std::span<const std::uint8_t> command) {
  const std::uint8_t code = command[0];
  const std::span<const std::uint8_t> parameters = command.subspan(1);
  DtvccWindow* window = Current();
  switch (code) {
    case 0x00:  // NUL
    case 0x03:  // ETX: the text so far shows, as it does here at once
      return;
    case 0x08: return Apply(window, &DtvccWindow::Backspace);
    case 0x0C: return Apply(window, &DtvccWindow::FormFeed);
    case 0x0D: return Apply(window, &DtvccWindow::CarriageReturn);
    case 0x0E: return Apply(window, &DtvccWindow::HorizontalCarriageReturn);
    case kP16: return Put(static_cast<char32_t>(parameters[0] << 8 | parameters[1]));
    case 0x88: return ForWindows(parameters[0], ClearWindow);
    case 0x89: return ForWindows(parameters[0], ShowWindow);
    case 0x8A: return ForWindows(parameters[0], HideWindow);
    case 0x8B: return ForWindows(parameters[0], ToggleWindow);
    case 0x8C:
      if (current_ >= 0 && (parameters[0] >> current_ & 1)) current_ = -1;
      return ForWindows(parameters[0], DeleteWindow);
    case 0x8D: delayEnd_ = time + TickTime(TickTime::kTicksPerSecond / 10 * parameters[0]); return;
    case kDelayCancel:
      if (delayEnd_) Release(time);
      return;
    case kReset: return Reset();
    case 0x90: return SetPenAttributes(parameters);
    case 0x91: return SetPenColor(parameters);
    case 0x92:
      if (window)
        window->SetPenLocation(parameters[0] & 0x0F, parameters[1] & 0x3F);
      else
        Problem("window commands before any window is defined (skipped)");
      return;
    case 0x97: return SetWindowAttributes(parameters);
    default: break;
  }
  if (code >= 0x80 && code <= 0x87) {
    current_ = code - 0x80;
    return;
  }
  if (code >= 0x98 && code <= 0x9F) return DefineWindow(code - 0x98, parameters);
  Problem(code < 0x20 ? "undefined C0 codes (skipped)" : "undefined C1 codes (skipped)");
}

DtvccWindow* DtvccDecoder::Current() {
  if (current_ < 0 || !windows_[static_cast<std::size_t>(current_)].Defined()) return nullptr;
  return &windows_[static_cast<std::size_t>(current_)];
}

void DtvccDecoder::ForWindows(std::uint8_t bitmap, void (*action)(DtvccWindow&)) {
  for (int id = 0; id < 8; ++id) {
    if ((bitmap >> id & 1) && windows_[static_cast<std::size_t>(id)].Defined())
      action(windows_[static_cast<std::size_t>(id)]);
  }
}

void DtvccDecoder::Put(char32_t character) {
  DtvccWindow* window = Current();
  if (!window) {
    Problem("characters before any window is defined (skipped)");
    return;
  }
  if (!window->Put(character)) NotShown("characters past the end of a row without word wrap (not shown)");
}

void DtvccDecoder::DefineWindow(int id, std::span<const std::uint8_t> p) {
  DtvccWindowDefinition d;
  d.visible = (p[0] & 0x20) != 0;
  d.rowLock = (p[0] & 0x10) != 0;
  d.columnLock = (p[0] & 0x08) != 0;
  d.priority = p[0] & 0x07;
  d.relative = (p[1] & 0x80) != 0;
  d.anchorVertical = p[1] & 0x7F;
  d.anchorHorizontal = p[2];
  d.anchorPoint = p[3] >> 4;
  d.rowCount = (p[3] & 0x0F) + 1;
  d.columnCount = (p[4] & 0x3F) + 1;
  d.windowStyle = (p[5] >> 3) & 0x07;
  d.penStyle = p[5] & 0x07;
  if (d.anchorPoint > 8) {
    Problem("window anchor points past 8 (read as top left)");
    d.anchorPoint = 0;
  }
  if (d.rowCount > kGridRows || d.columnCount > gridColumns_) {
    NotShown("windows larger than the caption grid (cut to it)");
  }
  DtvccWindow& window = windows_[static_cast<std::size_t>(id)];
  const bool styled = !window.Defined() || d.windowStyle != 0;
  window.Define(d);
  if (styled) NoteAttributes(window.Attributes());
  current_ = id;
}

void DtvccDecoder::SetWindowAttributes(std::span<const std::uint8_t> p) {
  DtvccWindow* window = Current();
  if (!window) return Problem("window commands before any window is defined (skipped)");
  DtvccWindowAttributes a;
  a.fill = ColorOf(p[0], static_cast<std::uint8_t>(p[0] >> 6));
  a.border = ColorOf(p[1], 0);
  a.borderType = static_cast<std::uint8_t>((p[1] >> 6) | ((p[2] >> 5) & 0x04));
  a.wordWrap = (p[2] & 0x40) != 0;
  a.printDirection = (p[2] >> 4) & 3;
  a.scrollDirection = (p[2] >> 2) & 3;
  a.justify = p[2] & 3;
  a.effectSpeed = p[3] >> 4;
  a.effectDirection = (p[3] >> 2) & 3;
  a.displayEffect = p[3] & 3;
  NoteAttributes(a);
  window->SetAttributes(a);
}

void DtvccDecoder::NoteAttributes(const DtvccWindowAttributes& a) {
  using A = DtvccWindowAttributes;
  if (a.fill.opacity == DtvccOpacity::Flash) NotShown("flashing colours (shown solid)");
  if (a.borderType != A::kNoBorder) NotShown("window borders (not drawn)");
  if (a.printDirection != A::kLeftToRight)
    NotShown("print directions other than left to right (printed left to right)");
  if (a.scrollDirection == A::kLeftToRight || a.scrollDirection == A::kRightToLeft) {
    NotShown("sideways scroll directions (scrolled upwards)");
  }
  if (a.justify == A::kFull) NotShown("full justification (shown left justified)");
  if (a.displayEffect != A::kSnap) NotShown("fade and wipe display effects (shown at once)");
}

void DtvccDecoder::SetPenAttributes(std::span<const std::uint8_t> p) {
  DtvccWindow* window = Current();
  if (!window) return Problem("window commands before any window is defined (skipped)");
  DtvccPen& pen = window->MutablePen();
  pen.textTag = p[0] >> 4;
  pen.offset = (p[0] >> 2) & 3;
  pen.size = p[0] & 3;
  pen.italics = (p[1] & 0x80) != 0;
  pen.underline = (p[1] & 0x40) != 0;
  pen.edgeType = (p[1] >> 3) & 7;
  pen.fontStyle = p[1] & 7;
  if (pen.offset > DtvccPen::kSuperscript) {
    Problem("undefined pen offsets (read as normal)");
    pen.offset = DtvccPen::kNormal;
  }
  if (pen.size > DtvccPen::kLarge) {
    Problem("undefined pen sizes (read as standard)");
    pen.size = DtvccPen::kStandard;
  }
  if (pen.edgeType > DtvccPen::kRightDropShadow) {
    Problem("undefined edge types (read as none)");
    pen.edgeType = DtvccPen::kNoEdge;
  }
}

void DtvccDecoder::SetPenColor(std::span<const std::uint8_t> p) {
  DtvccWindow* window = Current();
  if (!window) return Problem("window commands before any window is defined (skipped)");
  DtvccPen& pen = window->MutablePen();
  pen.foreground = ColorOf(p[0], static_cast<std::uint8_t>(p[0] >> 6));
  pen.background = ColorOf(p[1], static_cast<std::uint8_t>(p[1] >> 6));
  pen.edge = ColorOf(p[2], 0);
  if (pen.foreground.opacity == DtvccOpacity::Flash || pen.background.opacity == DtvccOpacity::Flash) {
    NotShown("flashing colours (shown solid)");
  }
  if (pen.edge != DtvccColor{}) NotShown("edge colours other than black (edges drawn in the colour of their type)");
}

void DtvccDecoder::Reset() {
  windows_ = {};
  current_ = -1;
  delayEnd_.reset();
  waiting_.clear();
}

DtvccShownWindow DtvccDecoder::Place(int id, const DtvccWindow& window) const {
  const DtvccWindowDefinition& d = window.Definition();
  DtvccShownWindow shown;
  shown.id = id;
  shown.anchorPoint = d.anchorPoint;
  shown.rows = std::min(d.rowCount, kGridRows);
  shown.columns = std::min(d.columnCount, gridColumns_);
  // The screen is 75 cells high and 210 wide (160 on 4:3 screens), five for each grid cell; a
  // relative anchor is in percent of it.
  const double anchorRow = d.relative ? d.anchorVertical * kGridRows / 100.0 : d.anchorVertical / 5.0;
  const double anchorColumn = d.relative ? d.anchorHorizontal * gridColumns_ / 100.0 : d.anchorHorizontal / 5.0;
  const double top = anchorRow - shown.rows * (d.anchorPoint / 3) / 2.0;
  const double left = anchorColumn - shown.columns * (d.anchorPoint % 3) / 2.0;
  // Windows that would reach past the screen are moved onto it, as decoders do.
  shown.top = std::clamp(static_cast<int>(std::floor(top + 0.5)), 0, kGridRows - shown.rows);
  shown.left = std::clamp(static_cast<int>(std::floor(left + 0.5)), 0, gridColumns_ - shown.columns);
  shown.fill = window.Attributes().fill;
  for (int r = 0; r < shown.rows; ++r) {
    const auto& row = window.Text()[static_cast<std::size_t>(r)];
    shown.text.push_back(Justified({row.begin(), row.begin() + shown.columns}, window.Attributes().justify));
  }
  return shown;
}

void DtvccDecoder::UpdateShown(TickTime time) {
  std::vector<int> ids;
  for (int id = 0; id < 8; ++id) {
    if (windows_[static_cast<std::size_t>(id)].Visible()) ids.push_back(id);
  }
  // Priority 0 is on top, so it is drawn last.
  std::stable_sort(ids.begin(), ids.end(), [this](int a, int b) {
    return windows_[static_cast<std::size_t>(a)].Definition().priority >
           windows_[static_cast<std::size_t>(b)].Definition().priority;
  });
  DtvccScreen screen;
  for (int id : ids) {
    DtvccShownWindow shown = Place(id, windows_[static_cast<std::size_t>(id)]);
    if (!ShowsNothing(shown)) screen.push_back(std::move(shown));
  }
  if (screen == shown_) return;
  shown_ = std::move(screen);
  if (!changes_.empty() && changes_.back().time == time) {
    changes_.back().screen = shown_;
  } else {
    changes_.push_back({time, shown_});
  }
}

}  // namespace kelcaptionfiles

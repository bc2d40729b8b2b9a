#include "captionfiles/Line21Timeline.h"

#include <algorithm>
#include <array>
#include <bit>
#include <stdexcept>

#include "kelcaptioning/RenderableFromCaption.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

bool HasOddParity(std::uint8_t byte) noexcept { return std::popcount(byte) % 2 == 1; }

std::uint8_t WithOddParity(std::uint8_t byte) noexcept {
  return HasOddParity(byte) ? byte : static_cast<std::uint8_t>(byte ^ 0x80);
}

namespace {

CaptioningColor ColorOf(Line21Color color) {
  switch (color) {
    case Line21Color::White: return kCaptioningColor_White;
    case Line21Color::Green: return {0, 1, 0};
    case Line21Color::Blue: return {0, 0, 1};
    case Line21Color::Cyan: return {0, 1, 1};
    case Line21Color::Red: return {1, 0, 0};
    case Line21Color::Yellow: return {1, 1, 0};
    case Line21Color::Magenta: return {1, 0, 1};
    case Line21Color::Black: break;
  }
  return kCaptioningColor_Black;
}

TextAttributes AttributesOf(const Line21Style& style) {
  TextAttributes attributes;
  attributes.SetForegroundColor(ColorOf(style.foreground));
  const CaptioningColor background = ColorOf(style.background);
  const float alpha = style.backgroundOpacity == Line21Opacity::Opaque            ? 1.0f
                      : style.backgroundOpacity == Line21Opacity::SemiTransparent ? 0.5f
                                                                                  : 0.0f;
  attributes.SetBackgroundColor({background.Red(), background.Green(), background.Blue(), alpha});
  attributes.SetItalic(style.italic);
  attributes.SetUnderlined(style.underline);
  return attributes;
}

// The memory as it shows while flashing text is off: those cells hold spaces on their background.
Line21Memory WithFlashingHidden(Line21Memory memory) {
  for (Line21Row& row : memory) {
    for (Line21Cell& cell : row) {
      if (cell.style.flash && !cell.Empty()) {
        cell.character = U' ';
        cell.style.underline = false;
      }
    }
  }
  return memory;
}

constexpr std::int64_t kHalfSecond = kelmediatypes::TickTime::kTicksPerSecond / 2;
constexpr kelmediatypes::TickTime kLongestBlinking{kelmediatypes::TickTime::kTicksPerSecond * 3600};
constexpr long kMostBlinkStates = 2 * 3600 * 24;

// Which half second `time` falls in, counted from time 0 (rounded down).
std::int64_t HalfSecondOf(kelmediatypes::TickTime time) {
  const std::int64_t ticks = time.GetTicks();
  return ticks >= 0 ? ticks / kHalfSecond : -((-(ticks + 1)) / kHalfSecond) - 1;
}

bool FlashingTextOff(std::int64_t halfSecond) { return halfSecond % 2 != 0; }

}  // namespace

// Turns displayed memories into models.
class Line21Timeline::ModelMaker {
 public:
  explicit ModelMaker(StreamFormat format) : format_(format) {}

  CaptioningRenderableModelPtr Make(const Line21Memory& memory) {
    std::array<CaptioningRenderableModelRowPtr, kLine21Rows> rows;
    RowList list(kLine21Rows);
    for (std::size_t r = 0; r < memory.size(); ++r) {
      rows[r] = RowOf(memory[r]);
      list[r] = rows[r];
    }
    previous_ = memory;
    previousRows_ = rows;
    return MakeGridModel(format_, std::move(list));
  }

 private:
  CaptioningRenderableModelRowPtr RowOf(const Line21Row& row) const {
    std::size_t used = row.size();
    while (used > 0 && row[used - 1].Empty()) --used;
    if (used == 0) return nullptr;
    for (std::size_t r = 0; r < previous_.size(); ++r) {
      if (previousRows_[r] && previous_[r] == row) return previousRows_[r];
    }
    CellList cells(used);
    for (std::size_t c = 0; c < used; ++c) {
      if (!row[c].Empty()) cells[c] = new CaptioningRenderableModelCell(row[c].character, AttributesOf(row[c].style));
    }
    CaptioningRenderableModelRowPtr made(new CaptioningRenderableModelRow());
    made->SetCells(std::move(cells));
    return made;
  }

  StreamFormat format_;
  Line21Memory previous_{};
  std::array<CaptioningRenderableModelRowPtr, kLine21Rows> previousRows_{};
};

namespace {

StreamFormat FormatOf(int channel) {
  switch (channel) {
    case 1: return kStreamFormat_CEA608_CC1;
    case 2: return kStreamFormat_CEA608_CC2;
    case 3: return kStreamFormat_CEA608_CC3;
    case 4: return kStreamFormat_CEA608_CC4;
    default: break;
  }
  throw std::invalid_argument("line-21 caption channels are CC1 to CC4");
}

CaptionStyle StyleOf(Line21Decoder::Style style) {
  switch (style) {
    case Line21Decoder::Style::PopOn: return CaptionStyle::PopOn;
    case Line21Decoder::Style::RollUp: return CaptionStyle::RollUp;
    case Line21Decoder::Style::PaintOn: return CaptionStyle::PaintOn;
    default: return CaptionStyle::Unknown;
  }
}

// Field 2 carries CC3 and CC4 as field 1 carries CC1 and CC2.
int DataChannel(int channel) {
  FormatOf(channel);
  return (channel - 1) % 2 + 1;
}

}  // namespace

Line21Timeline::Line21Timeline(int channel)
    : decoder_(DataChannel(channel)), maker_(std::make_unique<ModelMaker>(FormatOf(channel))) {}

Line21Timeline::~Line21Timeline() = default;

void Line21Timeline::Feed(kelmediatypes::TickTime time, std::uint8_t first, std::uint8_t second, const FilePlace& place) {
  const bool changed = decoder_.Feed(first, second);
  if (decoder_.IgnoredCount() != ignoredSeen_) {
    ignoredSeen_ = decoder_.IgnoredCount();
    for (const auto& [what, count] : decoder_.Ignored()) {
      const auto known = [&what = what](const auto& entry) { return entry.first == what; };
      if (std::none_of(ignoredFirst_.begin(), ignoredFirst_.end(), known)) ignoredFirst_.emplace_back(what, place);
    }
  }
  if (changed) ShowDisplayed(time);
}

void Line21Timeline::ShowDisplayed(kelmediatypes::TickTime time) {
  Blink(time, false);
  const Line21Memory& shown = decoder_.Displayed();
  if (IsBlank(shown)) {
    timeline_.Clear(time);
    return;
  }
  const Line21Memory hidden = WithFlashingHidden(shown);
  // The hidden memory is made first, so that the next state shares its rows with the shown one.
  const CaptioningRenderableModelPtr off = hidden != shown ? maker_->Make(hidden) : nullptr;
  const CaptioningRenderableModelPtr on = maker_->Make(shown);
  StateCause cause{StyleOf(decoder_.CurrentStyle()), decoder_.LastChangeRolledUp()};
  if (cause.style == CaptionStyle::RollUp) {
    cause.rollUpBaseRow = decoder_.CursorRow();
    cause.rollUpRows = decoder_.RollUpRows();
  }
  if (off) flashing_ = Flashing{time, on, off, cause};
  timeline_.Show(time, kelmediatypes::kTime_Max, off && FlashingTextOff(HalfSecondOf(time)) ? off : on,
                 cause);
}

void Line21Timeline::Blink(kelmediatypes::TickTime until, bool settle) {
  if (!flashing_) return;
  until = std::min(until, kelmediatypes::kTime_Max - kelmediatypes::TickTime(kHalfSecond));
  std::int64_t half = HalfSecondOf(flashing_->from);
  bool off = FlashingTextOff(half);
  for (++half; kelmediatypes::TickTime(half * kHalfSecond) < until && blinkStates_ < kMostBlinkStates; ++half) {
    ++blinkStates_;
    off = FlashingTextOff(half);
    timeline_.Show(kelmediatypes::TickTime(half * kHalfSecond), kelmediatypes::kTime_Max, off ? flashing_->off : flashing_->on,
                   {flashing_->cause.style, false});
  }
  // Where blinking stops before the state ends, the flashing text stays on.
  if (off && (settle || kelmediatypes::TickTime(half * kHalfSecond) < until)) {
    timeline_.Show(kelmediatypes::TickTime(half * kHalfSecond), kelmediatypes::kTime_Max, flashing_->on,
                   {flashing_->cause.style, false});
  }
  flashing_.reset();
}

CaptionTimeline Line21Timeline::Finish(FileNotes& notes) {
  if (flashing_) Blink(flashing_->from + kLongestBlinking, true);
  for (const auto& [what, place] : ignoredFirst_) notes.Count(what, place, decoder_.Ignored().at(what));
  return std::move(timeline_);
}

}  // namespace kelcaptionfiles

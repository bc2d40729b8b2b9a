#include "captionfiles/Line21Timeline.h"

#include <algorithm>
#include <array>
#include <bit>
#include <stdexcept>

#include "kelcaptioning/RenderableFromCaption.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

bool HasOddParity(std::uint8_t byte) noexcept { return std::popcount(byte) % 2 == 1; }

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
  if (!changed) return;
  if (IsBlank(decoder_.Displayed()))
    timeline_.Clear(time);
  else
    timeline_.Show(time, kelmediatypes::kTime_Max, maker_->Make(decoder_.Displayed()));
}

CaptionTimeline Line21Timeline::Finish(FileNotes& notes) {
  for (const auto& [what, place] : ignoredFirst_) notes.Count(what, place, decoder_.Ignored().at(what));
  return std::move(timeline_);
}

}  // namespace kelcaptionfiles

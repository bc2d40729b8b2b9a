#include "captionfiles/DtvccEncoding.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "captionfiles/DtvccCharacters.h"
#include "captionfiles/DtvccModel.h"
#include "kelcaptioning/Formats.h"

namespace kelcaptionfiles {

using kelmediatypes::TickTime;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kExt1 = 0x10, kP16 = 0x18, kSetCurrentWindow = 0x80, kDeleteWindows = 0x8C, kDelay = 0x8D,
                       kDelayCancel = 0x8E, kSetPenAttributes = 0x90, kSetPenColor = 0x91, kSetPenLocation = 0x92,
                       kSetWindowAttributes = 0x97, kDefineWindow = 0x98;
constexpr std::size_t kMostBlockBytes = 31;  // what a service block header can count
constexpr std::size_t kMostPacketBytes = 128;
// A Delay holds commands back for 25.5 seconds at most; a change is sent no earlier than this
// before it shows.
constexpr std::int64_t kLeadSeconds = 20;

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value); }

std::uint8_t ColorByte(const DtvccColor& c) {
  return Byte(static_cast<int>(c.opacity) << 6 | c.red << 4 | c.green << 2 | c.blue);
}

// The code of a character in G0, G1, G2 or G3, else as a 16-bit character (P16); empty for
// characters past 16 bits.
Bytes CharacterCode(char32_t c) {
  for (int code = 0x20; code < 0x80; ++code) {
    if (DtvccG0Character(Byte(code)) == c) return {Byte(code)};
    const DtvccCharacter g2 = DtvccG2Character(Byte(code));
    if (g2.kind == DtvccCharacter::Kind::Character && g2.character == c) return {kExt1, Byte(code)};
  }
  for (int code = 0xA0; code < 0x100; ++code) {
    if (DtvccG1Character(Byte(code)) == c) return {Byte(code)};
    const DtvccCharacter g3 = DtvccG3Character(Byte(code));
    if (g3.kind == DtvccCharacter::Kind::Character && g3.character == c) return {kExt1, Byte(code)};
  }
  if (c > 0 && c <= 0xFFFF) return {kP16, Byte(static_cast<int>(c >> 8)), Byte(static_cast<int>(c & 0xFF))};
  return {};
}

// A window as sent so far: what it shows, its place in the drawing order and its pen.
struct SentWindow {
  DtvccShownWindow shown;
  int priority = 0;
  DtvccPen pen;
};

bool SamePlace(const DtvccShownWindow& a, const DtvccShownWindow& b) {
  return a.anchorPoint == b.anchorPoint && a.top == b.top && a.left == b.left && a.rows == b.rows &&
         a.columns == b.columns && a.fill == b.fill;
}

// DefineWindow of a visible window that the decoder places at the shown window's rows and
// columns: the anchor point's place in screen cells (five to a grid cell), on the screen of a
// grid `gridColumns` wide.
Bytes DefineWindow(const DtvccShownWindow& w, int priority, int gridColumns) {
  const double anchorRow = w.top + w.rows * (w.anchorPoint / 3) / 2.0;
  const double anchorColumn = w.left + w.columns * (w.anchorPoint % 3) / 2.0;
  const long vertical = std::min(std::lround(anchorRow * 5), 74L);
  const long horizontal = std::min(std::lround(anchorColumn * 5), gridColumns * 5L - 1);
  return {Byte(kDefineWindow + w.id), Byte(0x20 | priority), Byte(static_cast<int>(vertical)),
          Byte(static_cast<int>(horizontal)), Byte(w.anchorPoint << 4 | (w.rows - 1)), Byte(w.columns - 1),
          Byte(1 << 3 | 1)};  // window style 1 and pen style 1
}

// Left justified, not wrapped, scrolled up, shown at once: text stands where it is written.
Bytes SetWindowAttributes(const DtvccColor& fill) {
  return {kSetWindowAttributes, ColorByte(fill), 0, Byte(DtvccWindowAttributes::kBottomToTop << 2), 0};
}

// The commands that write into `window` the cells of `wanted` that differ from what it holds.
class CellWriter {
 public:
  CellWriter(std::vector<Bytes>& commands, FileNotes& notes) : commands_(commands), notes_(notes) {}

  void Write(SentWindow& window, const DtvccShownWindow& wanted, bool current) {
    int penRow = -1, penColumn = -1;
    for (int r = 0; r < wanted.rows; ++r) {
      for (int c = 0; c < wanted.columns; ++c) {
        const DtvccCell& cell = wanted.text[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
        if (cell == window.shown.text[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]) continue;
        if (!current) commands_.push_back({Byte(kSetCurrentWindow + wanted.id)});
        current = true;
        if (r != penRow || c != penColumn) commands_.push_back({kSetPenLocation, Byte(r), Byte(c)});
        penRow = r;
        penColumn = c + 1;
        if (cell.Empty()) {
          commands_.push_back({kExt1, 0x20});  // a transparent space
          continue;
        }
        SetPen(window.pen, cell.pen);
        Bytes code = CharacterCode(cell.character);
        if (code.empty()) {
          notes_.Add("characters that digital-TV captions do not have (written as '_')");
          code = {'_'};
        }
        commands_.push_back(std::move(code));
      }
    }
    window.shown = wanted;
  }

 private:
  void SetPen(DtvccPen& pen, const DtvccPen& wanted) {
    if (pen.size != wanted.size || pen.offset != wanted.offset || pen.textTag != wanted.textTag ||
        pen.fontStyle != wanted.fontStyle || pen.edgeType != wanted.edgeType || pen.underline != wanted.underline ||
        pen.italics != wanted.italics) {
      commands_.push_back({kSetPenAttributes, Byte(wanted.textTag << 4 | wanted.offset << 2 | wanted.size),
                           Byte((wanted.italics ? 0x80 : 0) | (wanted.underline ? 0x40 : 0) | wanted.edgeType << 3 |
                                wanted.fontStyle)});
    }
    if (pen.foreground != wanted.foreground || pen.background != wanted.background || pen.edge != wanted.edge) {
      commands_.push_back({kSetPenColor, ColorByte(wanted.foreground), ColorByte(wanted.background),
                           Byte(ColorByte(wanted.edge) & 0x3F)});
    }
    pen = wanted;
  }

  std::vector<Bytes>& commands_;
  FileNotes& notes_;
};

// The windows the decoder holds, and the commands that change them into a new screen.
class WindowSender {
 public:
  WindowSender(int gridColumns, FileNotes& notes) : gridColumns_(gridColumns), notes_(notes) {}

  std::vector<Bytes> Change(const DtvccScreen& screen) {
    std::vector<Bytes> commands;
    std::map<int, SentWindow> next;
    // The first window is drawn first, so it takes the highest priority number.
    const int count = static_cast<int>(screen.size());
    int deleted = 0;
    for (int i = 0; i < count; ++i) {
      const DtvccShownWindow& wanted = screen[static_cast<std::size_t>(i)];
      const auto before = sent_.find(wanted.id);
      if (before != sent_.end() && SamePlace(before->second.shown, wanted) && before->second.priority == count - 1 - i) {
        next[wanted.id] = before->second;
      }
    }
    for (const auto& [id, window] : sent_) {
      if (!next.contains(id)) deleted |= 1 << id;
    }
    if (deleted != 0) commands.push_back({kDeleteWindows, Byte(deleted)});
    CellWriter writer(commands, notes_);
    for (int i = 0; i < count; ++i) {
      const DtvccShownWindow& wanted = screen[static_cast<std::size_t>(i)];
      const bool kept = next.contains(wanted.id);
      SentWindow& window = next[wanted.id];
      if (!kept) {
        window = {wanted, count - 1 - i, PredefinedPenStyle(1)};
        for (auto& row : window.shown.text) std::fill(row.begin(), row.end(), DtvccCell{});
        commands.push_back(DefineWindow(wanted, window.priority, gridColumns_));
        commands.push_back(SetWindowAttributes(wanted.fill));
      }
      writer.Write(window, wanted, !kept);
    }
    sent_ = std::move(next);
    return commands;
  }

 private:
  int gridColumns_;
  FileNotes& notes_;
  std::map<int, SentWindow> sent_;
};

// Commands gathered into the packet of each frame, in service blocks of service 1.
class PacketFrames {
 public:
  explicit PacketFrames(int tripletsPerFrame)
      : capacity_(std::min(static_cast<std::size_t>(std::max(tripletsPerFrame, 0)) * 2, kMostPacketBytes) - 1) {
    if (tripletsPerFrame < 8) throw std::logic_error("too few caption data triplets a frame for DTVCC commands");
  }

  // Puts `command` into the packet of `frame`, or of the first frame after it with room for it;
  // returns that frame.
  std::int64_t Add(std::int64_t frame, const Bytes& command) {
    for (;; ++frame) {
      std::vector<Bytes>& blocks = frames_[frame];
      std::size_t used = 0;
      for (const Bytes& block : blocks) used += 1 + block.size();
      if (!blocks.empty() && blocks.back().size() + command.size() <= kMostBlockBytes &&
          used + command.size() <= capacity_) {
        blocks.back().insert(blocks.back().end(), command.begin(), command.end());
        return frame;
      }
      if (used + 1 + command.size() <= capacity_) {
        blocks.push_back(command);
        return frame;
      }
    }
  }

  std::map<std::int64_t, std::vector<CcData>> Triplets() const {
    std::map<std::int64_t, std::vector<CcData>> triplets;
    int sequence = 0;
    for (const auto& [frame, blocks] : frames_) {
      if (blocks.empty()) continue;
      Bytes packet{0};
      for (const Bytes& block : blocks) {
        packet.push_back(Byte(1 << 5 | static_cast<int>(block.size())));
        packet.insert(packet.end(), block.begin(), block.end());
      }
      // Whole byte pairs; a null block header ends the blocks.
      if (packet.size() % 2 != 0) packet.push_back(0);
      packet[0] = Byte(sequence << 6 | static_cast<int>(packet.size() / 2 % 64));
      sequence = (sequence + 1) % 4;
      std::vector<CcData>& out = triplets[frame];
      for (std::size_t i = 0; i < packet.size(); i += 2) out.push_back({true, Byte(i == 0 ? 3 : 2), packet[i], packet[i + 1]});
    }
    return triplets;
  }

 private:
  std::size_t capacity_;  // bytes after the packet header
  std::map<std::int64_t, std::vector<Bytes>> frames_;
};

}  // namespace

bool HoldsDtvccStates(const CaptionTimeline& timeline) {
  return std::any_of(timeline.States().begin(), timeline.States().end(), [](const TimedModel& state) {
    return state.model && kelcaptioning::IsCEA708(state.model->GetStreamFormat());
  });
}

std::map<std::int64_t, std::vector<CcData>> EncodeDtvcc(const CaptionTimeline& timeline, const FrameClock& clock,
                                                        int tripletsPerFrame, FileNotes& notes) {
  // What shows from each frame on, a change a frame.
  std::vector<std::pair<std::int64_t, DtvccScreen>> changes;
  const auto change = [&changes](std::int64_t frame, DtvccScreen screen) {
    if (!changes.empty() && changes.back().first == frame) changes.pop_back();
    if (changes.empty() ? !screen.empty() : changes.back().second != screen) changes.emplace_back(frame, std::move(screen));
  };
  int gridColumns = 42;
  for (const TimedModel& state : timeline.States()) {
    const std::int64_t begin = clock.FrameAt(state.begin), end = clock.FrameAt(state.end);
    if (!state.model || !kelcaptioning::IsCEA708(state.model->GetStreamFormat()) || end <= begin) continue;
    gridColumns = std::clamp(state.model->GetMaxColumns(), 32, 42);
    change(begin, ScreenOfModel(*state.model, gridColumns));
    change(end, {});
  }
  WindowSender sender(gridColumns, notes);
  PacketFrames frames(tripletsPerFrame);
  const std::int64_t lead = clock.FrameAt(TickTime(kLeadSeconds * TickTime::kTicksPerSecond));
  std::int64_t free = 0;  // the first frame after the last change shown
  for (const auto& [frame, screen] : changes) {
    std::int64_t at = frames.Add(std::max(free, frame - lead), {kDelay, 255});
    for (const Bytes& command : sender.Change(screen)) at = frames.Add(at, command);
    free = frames.Add(std::max(at, frame), {kDelayCancel});
    if (free > frame) notes.Add("captions shown late, the one before leaving too few frames to send them");
  }
  return frames.Triplets();
}

}  // namespace kelcaptionfiles

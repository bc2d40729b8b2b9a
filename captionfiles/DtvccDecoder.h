#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "kelcaptionfiles/CcData.h"
#include "captionfiles/DtvccPackets.h"
#include "captionfiles/DtvccWindow.h"
#include "kelcaptionfiles/FileNotes.h"
#include "kelmediatypes/TickTime.h"

namespace kelcaptionfiles {

// A window as the screen shows it, placed on the caption grid of 15 rows by 42 columns (32 on a
// 4:3 screen): its first row and column there, its size cut to the grid, its fill and its text
// justified.
struct DtvccShownWindow {
  int id = 0;
  int anchorPoint = 0;
  int top = 0;
  int left = 0;
  int rows = 0;
  int columns = 0;
  DtvccColor fill;
  DtvccText text;  // rows x columns
  friend bool operator==(const DtvccShownWindow&, const DtvccShownWindow&) = default;
};

// The windows that show something, in drawing order (the window of highest priority last).
using DtvccScreen = std::vector<DtvccShownWindow>;

struct DtvccShownState {
  kelmediatypes::TickTime time;
  DtvccScreen screen;
};

// A digital-TV (CEA-708) caption decoder for one caption service, from cc_data triplets to what
// a viewer's decoder shows: the eight windows with the commands that define, fill, show and
// write them. What it receives but cannot show as asked is counted in its notes, once a kind.
class DtvccDecoder {
 public:
  static constexpr int kGridRows = 15;

  // Throws std::invalid_argument for a service outside 1 to 63.
  explicit DtvccDecoder(int service = 1, bool wideScreen = true);
  DtvccDecoder(const DtvccDecoder&) = delete;
  DtvccDecoder& operator=(const DtvccDecoder&) = delete;

  // One triplet received at `time`; times must not go back.
  void Feed(kelmediatypes::TickTime time, const CcData& data);
  // The data of one service block of this decoder's service, received at `time`.
  void ReceiveBlock(kelmediatypes::TickTime time, std::span<const std::uint8_t> block);
  // The end of the input at `time`: a packet still open is dropped and a running delay ends.
  void Finish(kelmediatypes::TickTime time);

  // Each change of what shows since the last call, in time order.
  std::vector<DtvccShownState> TakeChanges();
  const DtvccScreen& Shown() const noexcept { return shown_; }

  const DtvccWindow& Window(int id) const { return windows_.at(static_cast<std::size_t>(id)); }
  // The window that commands and text go to, or -1 for none.
  int CurrentWindow() const noexcept { return current_; }
  int GridColumns() const noexcept { return gridColumns_; }
  const FileNotes& Notes() const noexcept { return notes_; }

 private:
  void Run(kelmediatypes::TickTime time, std::span<const std::uint8_t> command);
  void RunControl(kelmediatypes::TickTime time, std::span<const std::uint8_t> command);
  void RunExtended(std::span<const std::uint8_t> command);
  void DefineWindow(int id, std::span<const std::uint8_t> parameters);
  void SetWindowAttributes(std::span<const std::uint8_t> parameters);
  void NoteAttributes(const DtvccWindowAttributes& attributes);
  void SetPenAttributes(std::span<const std::uint8_t> parameters);
  void SetPenColor(std::span<const std::uint8_t> parameters);
  void ForWindows(std::uint8_t bitmap, void (*action)(DtvccWindow&));
  void Put(char32_t character);
  DtvccWindow* Current();
  void Reset();
  void ReleaseDelay(kelmediatypes::TickTime time);
  void Release(kelmediatypes::TickTime time);
  void UpdateShown(kelmediatypes::TickTime time);
  DtvccShownWindow Place(int id, const DtvccWindow& window) const;
  void NotShown(const char* what) { notes_.Count(NoteKind::kNotShown, what, {}); }
  void Problem(const char* what) { notes_.Count(NoteKind::kProblem, what, {}); }

  int gridColumns_;
  FileNotes notes_;
  DtvccServiceBlocks blocks_;
  kelmediatypes::TickTime blockTime_;
  std::array<DtvccWindow, 8> windows_{};
  int current_ = -1;
  // While a Delay runs, commands wait here until it ends or is cancelled.
  std::optional<kelmediatypes::TickTime> delayEnd_;
  std::vector<std::vector<std::uint8_t>> waiting_;
  DtvccScreen shown_;
  std::vector<DtvccShownState> changes_;
};

}  // namespace kelcaptionfiles

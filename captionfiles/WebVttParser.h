#pragma once

// The WebVTT file parsing algorithm, step by step: the signature, the header, and blocks that
// are cues, style sheets, regions or nothing (comments, and blocks the algorithm drops), each
// cue with its timings and settings parsed as a browser parses them. Cue text is kept as
// written; WebVttCueText reads it.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "captionfiles/ReadProblems.h"
#include "kelmediatypes/TickTime.h"

namespace kelcaptionfiles::webvtt {

struct Region {
  std::string id;
  double width = 100;
  double lines = 3;
  double anchorX = 0, anchorY = 100;
  double viewportAnchorX = 0, viewportAnchorY = 100;
  bool scrollUp = false;
  int line = 0;  // where its block starts
};

enum class Direction { kHorizontal, kRightToLeft, kLeftToRight };
enum class LineAlign { kStart, kCenter, kEnd };
enum class PositionAlign { kAuto, kLineLeft, kCenter, kLineRight };
enum class TextAlign { kStart, kCenter, kEnd, kLeft, kRight };

struct Timestamp {
  std::uint64_t milliseconds = 0;
  kelmediatypes::TickTime time;
};

struct Cue {
  std::string id;
  Timestamp start, end;
  int region = -1;  // an index into the file's regions
  Direction direction = Direction::kHorizontal;
  bool snapToLines = true;
  std::optional<double> line;  // empty: auto
  LineAlign lineAlign = LineAlign::kStart;
  std::optional<double> position;  // empty: auto
  PositionAlign positionAlign = PositionAlign::kAuto;
  double size = 100;
  TextAlign align = TextAlign::kCenter;
  std::string text;
  // Where things stand: the time line, the first text line, and each setting that took effect
  // by name (its line is the time line).
  int timingLine = 0;
  int textLine = 0;
  std::map<std::string, int> settingColumns;
};

struct StyleSheet {
  std::string text;
  int line = 0;
};

struct File {
  bool signature = false;  // it starts as a WebVTT file must; a browser loads nothing else
  std::vector<Cue> cues;
  std::vector<Region> regions;
  std::vector<StyleSheet> styleSheets;
};

// Parses `text` (UTF-8). What the algorithm drops (a file without the signature, a block whose
// time line cannot be read, a block that is no cue, style sheet, region or comment) is reported
// to `problems`, with its place. `afterBlock`, when given, sees the file as read so far after
// each block that adds to it, so that a reader can take the blocks in file order.
File ParseFile(std::string_view text, ReadProblems& problems,
               const std::function<void(const File&)>& afterBlock = {});

// A WebVTT timestamp, [HH:]MM:SS.mmm, starting at `at` of `text`; `at` moves past what it took.
// Nothing when there is none there: then `problem` and `problemAt` say what and where.
std::optional<Timestamp> ParseTimestamp(std::string_view text, std::size_t& at, std::string* problem = nullptr,
                                        std::size_t* problemAt = nullptr);

}  // namespace kelcaptionfiles::webvtt

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kelcaptionfiles/Export.h"

namespace kelcaptionfiles {

// Where something stands in a caption file: a line and column (from 1) in a text file, or a byte
// offset (from 0) in a binary one. Nowhere when it is about the file as a whole.
struct KELCAPTIONFILES_API FilePlace {
  int line = 0;
  int column = 0;
  std::int64_t byte = -1;

  static FilePlace At(int line, int column) { return {line, column, -1}; }
  static FilePlace AtByte(std::int64_t offset) { return {0, 0, offset}; }
  bool Known() const noexcept { return line > 0 || byte >= 0; }
  // "12:5", "byte 1024", or "" when not known.
  std::string Text() const;
};

// One kind of thing that a file asked for and that is not shown as asked (or was skipped), with
// where it first occurred and how often.
struct KELCAPTIONFILES_API FileNote {
  std::string what;
  // How often it occurred; 0 for a note that is not counted (said once about the file).
  long count = 0;
  FilePlace first;

  // "what: N times", or `what` alone for a note that is not counted.
  std::string Text() const;
};

// The notes of one read, one entry per kind, in the order the kinds first occurred.
class KELCAPTIONFILES_API FileNotes {
 public:
  // `what` occurred `times` more times, at `place` the first time.
  void Count(const std::string& what, const FilePlace& place, long times = 1);
  // `what` is said once, without a count.
  void Add(const std::string& what, const FilePlace& place = {});

  const std::vector<FileNote>& All() const noexcept { return notes_; }
  bool Empty() const noexcept { return notes_.empty(); }
  // Each note's Text(), in order.
  std::vector<std::string> Texts() const;

 private:
  FileNote* Find(const std::string& what);
  std::vector<FileNote> notes_;
};

}  // namespace kelcaptionfiles

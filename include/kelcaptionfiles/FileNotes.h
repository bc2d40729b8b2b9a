#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kelcaptionfiles/Export.h"

namespace kelcaptionfiles {

// Where something stands in a caption file: a line and column (from 1) in a text file, a byte
// offset (from 0) in a binary one, or a JSON pointer in a structured document. Nowhere when it is
// about the file as a whole.
struct KELCAPTIONFILES_API FilePlace {
  int line = 0;
  int column = 0;
  std::int64_t byte = -1;
  std::string pointer;

  static FilePlace At(int line, int column) { return {line, column, -1, {}}; }
  static FilePlace AtByte(std::int64_t offset) { return {0, 0, offset, {}}; }
  static FilePlace AtPointer(const std::string& pointer) { return {0, 0, -1, pointer.empty() ? "/" : pointer}; }
  bool Known() const noexcept { return line > 0 || byte >= 0 || !pointer.empty(); }
  // "12:5", "byte 1024", "/captions/3", or "" when not known.
  std::string Text() const;
};

// What a note says about the file.
enum class NoteKind {
  kNotShown,  // the file asked for something that is not shown as asked
  kProblem,   // a part that could not be read as written: skipped, or repaired as players do
  kRemark,    // how the file was read, such as a text encoding that was guessed
};

// One kind of thing noted about a file, with where it first occurred and how often.
struct KELCAPTIONFILES_API FileNote {
  std::string what;
  // How often it occurred; 0 for a note that is not counted (said once about the file).
  long count = 0;
  FilePlace first;
  NoteKind kind = NoteKind::kNotShown;

  // "what: N times", or `what` alone for a note that is not counted.
  std::string Text() const;
};

// The notes of one read, one entry per kind, in the order the kinds first occurred.
class KELCAPTIONFILES_API FileNotes {
 public:
  // `what` occurred `times` more times, at `place` the first time.
  void Count(const std::string& what, const FilePlace& place, long times = 1) {
    Count(NoteKind::kNotShown, what, place, times);
  }
  void Count(NoteKind kind, const std::string& what, const FilePlace& place, long times = 1);
  // Every note of `other`, counted in after these (the notes of a later stage of one read).
  void Count(const FileNotes& other);
  // `what` is said once, without a count.
  void Add(const std::string& what, const FilePlace& place = {}, NoteKind kind = NoteKind::kNotShown);

  const std::vector<FileNote>& All() const noexcept { return notes_; }
  bool Empty() const noexcept { return notes_.empty(); }
  // Whether any part of the file was skipped or repaired.
  bool HasProblems() const noexcept;
  // Each note's Text(), in order.
  std::vector<std::string> Texts() const;

 private:
  FileNote* Find(const std::string& what);
  std::vector<FileNote> notes_;
};

}  // namespace kelcaptionfiles

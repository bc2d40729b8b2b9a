#pragma once

#include <string>

#include "kelcaptionfiles/FileNotes.h"
#include "kelcaptionfiles/ReadError.h"

namespace kelcaptionfiles {

// Where a reader reports the parts of a file that it cannot read as written. A player skips such
// a part, or repairs it, and goes on; so does a reader, reporting each kind once with where it
// first occurred and how often. A strict reading stops at the first one instead.
class ReadProblems {
 public:
  ReadProblems(const std::string& file, bool strict, FileNotes& notes) : file_(file), strict_(strict), notes_(notes) {}

  // Strict: throws ReadError at `place` saying `problem`. Otherwise counts `note` (what was wrong
  // and what was done about it) in the notes, as a problem or, for what the format allows but
  // shows nothing, as not shown.
  void Report(const FilePlace& place, const std::string& problem, const std::string& note,
              NoteKind kind = NoteKind::kProblem, long times = 1) {
    if (strict_) throw ReadError::At(file_, place, problem);
    notes_.Count(kind, note, place, times);
  }
  // The same problem and note.
  void Report(const FilePlace& place, const std::string& problem) { Report(place, problem, problem); }

  // A part of a structured document that a reader gave up on with `error`: a strict reading
  // stops with it; otherwise `note` is counted at the error's JSON pointer.
  void Skipped(const ReadError& error, const std::string& note) {
    if (strict_) throw error;
    notes_.Count(NoteKind::kProblem, note, FilePlace::AtPointer(error.Pointer()));
  }

  bool Strict() const noexcept { return strict_; }
  const std::string& File() const noexcept { return file_; }
  FileNotes& Notes() noexcept { return notes_; }

 private:
  const std::string& file_;
  bool strict_;
  FileNotes& notes_;
};

}  // namespace kelcaptionfiles

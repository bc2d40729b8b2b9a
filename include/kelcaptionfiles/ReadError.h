#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "kelcaptionfiles/Export.h"
#include "kelcaptionfiles/FileNotes.h"

namespace kelcaptionfiles {

// A caption file that cannot be read; what() reads "FILE:LINE:COLUMN: problem", or names a JSON
// pointer or a byte offset instead of the line and column.
class KELCAPTIONFILES_API ReadError : public std::runtime_error {
 public:
  ReadError(const std::string& file, int line, int column, const std::string& problem)
      : std::runtime_error(file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + problem),
        line_(line),
        column_(column) {}
  // A value of the wrong kind in a structured document, named by its JSON pointer.
  ReadError(const std::string& file, const std::string& pointer, const std::string& problem)
      : std::runtime_error(file + ": " + (pointer.empty() ? "/" : pointer) + ": " + problem),
        line_(0),
        column_(0),
        pointer_(pointer.empty() ? "/" : pointer) {}
  // A binary file that cannot be read at byte `offset` (counted from 0).
  static ReadError AtByte(const std::string& file, std::uint64_t offset, const std::string& problem) {
    return ReadError(file + ": byte " + std::to_string(offset) + ": " + problem);
  }
  // At `place`, however it is given; the file alone when the place is not known.
  static ReadError At(const std::string& file, const FilePlace& place, const std::string& problem) {
    if (place.line > 0) return ReadError(file, place.line, place.column, problem);
    if (place.byte >= 0) return AtByte(file, static_cast<std::uint64_t>(place.byte), problem);
    if (!place.pointer.empty()) return ReadError(file, place.pointer, problem);
    return ReadError(file + ": " + problem);
  }
  // 0 when the error is not placed by line and column.
  int Line() const noexcept { return line_; }
  int Column() const noexcept { return column_; }
  // The JSON pointer of the value, or "" when the error is not placed by one.
  const std::string& Pointer() const noexcept { return pointer_; }

 private:
  explicit ReadError(const std::string& what) : std::runtime_error(what), line_(0), column_(0) {}
  int line_;
  int column_;
  std::string pointer_;
};

}  // namespace kelcaptionfiles

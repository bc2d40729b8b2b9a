#pragma once

#include <stdexcept>
#include <string>

namespace kelcaption {

// A caption file that cannot be read; what() reads "FILE:LINE:COLUMN: problem".
class ReadError : public std::runtime_error {
 public:
  ReadError(const std::string& file, int line, int column, const std::string& problem)
      : std::runtime_error(file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + problem),
        line_(line),
        column_(column) {}
  // A value of the wrong kind in a structured document, named by its JSON pointer.
  ReadError(const std::string& file, const std::string& pointer, const std::string& problem)
      : std::runtime_error(file + ": " + (pointer.empty() ? "/" : pointer) + ": " + problem), line_(0), column_(0) {}
  int Line() const noexcept { return line_; }
  int Column() const noexcept { return column_; }

 private:
  int line_;
  int column_;
};

}  // namespace kelcaption

#include "kelcaptionfiles/FileNotes.h"

#include <algorithm>

namespace kelcaptionfiles {

std::string FilePlace::Text() const {
  if (line > 0) return std::to_string(line) + ":" + std::to_string(column);
  if (byte >= 0) return "byte " + std::to_string(byte);
  return pointer;
}

std::string FileNote::Text() const {
  if (count <= 0) return what;
  return what + ": " + std::to_string(count) + (count == 1 ? " time" : " times");
}

FileNote* FileNotes::Find(const std::string& what) {
  for (FileNote& note : notes_) {
    if (note.what == what) return &note;
  }
  return nullptr;
}

void FileNotes::Count(NoteKind kind, const std::string& what, const FilePlace& place, long times) {
  if (FileNote* note = Find(what)) {
    note->count += times;
    return;
  }
  notes_.push_back({what, times, place, kind});
}

void FileNotes::Count(const FileNotes& other) {
  for (const FileNote& note : other.All()) Count(note.kind, note.what, note.first, note.count);
}

void FileNotes::Add(const std::string& what, const FilePlace& place, NoteKind kind) {
  if (!Find(what)) notes_.push_back({what, 0, place, kind});
}

bool FileNotes::HasProblems() const noexcept {
  return std::any_of(notes_.begin(), notes_.end(), [](const FileNote& n) { return n.kind == NoteKind::kProblem; });
}

std::vector<std::string> FileNotes::Texts() const {
  std::vector<std::string> texts;
  texts.reserve(notes_.size());
  for (const FileNote& note : notes_) texts.push_back(note.Text());
  return texts;
}

}  // namespace kelcaptionfiles

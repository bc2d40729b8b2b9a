#include "kelcore/Localizer.h"

#include <mutex>
#include <stdexcept>

namespace kelcore::string {

namespace {

constexpr std::string_view kKeyPrefix = "$$$/";

bool IsKey(std::string_view text) { return text.substr(0, kKeyPrefix.size()) == kKeyPrefix; }

}  // namespace

Localizer& Localizer::Get() {
  static Localizer* const instance = new Localizer();  // never destroyed: used during exit
  return *instance;
}

UTF16String Localizer::GetLocalizedString(std::string_view key) const {
  if (!IsKey(key)) return UTF8ToUTF16(key);
  const std::size_t equals = key.find('=');
  const std::string_view path = key.substr(0, equals);
  {
    std::shared_lock lock(mutex_);
    auto found = translations_.find(path);
    if (found != translations_.end()) return found->second;
  }
  // A key without a default text shows as itself.
  if (equals == std::string_view::npos) return UTF8ToUTF16(key);
  return UTF8ToUTF16(key.substr(equals + 1));
}

void Localizer::LoadTranslations(std::istream& table) {
  std::map<std::string, UTF16String, std::less<>> loaded;
  std::string line;
  int lineNumber = 0;
  while (std::getline(table, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    const std::size_t equals = line.find('=');
    if (!IsKey(line) || equals == std::string::npos || equals <= kKeyPrefix.size()) {
      throw std::runtime_error("translation table line " + std::to_string(lineNumber) +
                               ": expected \"$$$/path=text\"");
    }
    loaded[line.substr(0, equals)] = UTF8ToUTF16(std::string_view(line).substr(equals + 1));
  }
  std::unique_lock lock(mutex_);
  for (auto& [path, text] : loaded) translations_[path] = std::move(text);
}

void Localizer::SetTranslation(std::string_view keyPath, const UTF16String& text) {
  std::unique_lock lock(mutex_);
  translations_[std::string(keyPath.substr(0, keyPath.find('=')))] = text;
}

void Localizer::ClearTranslations() {
  std::unique_lock lock(mutex_);
  translations_.clear();
}

ZString::ZString(std::string_view key, const UTF16String& r0, const UTF16String& r1, const UTF16String& r2,
                 const UTF16String& r3, const UTF16String& r4, const UTF16String& r5, const UTF16String& r6,
                 const UTF16String& r7, const UTF16String& r8, const UTF16String& r9)
    : text_(ReplaceInString(Localizer::Get().GetLocalizedString(key), r0, r1, r2, r3, r4, r5, r6, r7, r8, r9)) {}

}  // namespace kelcore::string

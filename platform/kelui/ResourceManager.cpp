#include "kelui/utility/ResourceManager.h"

namespace kelui::utility {

namespace {

char16_t Fold(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool SameIgnoringCase(const kelcore::UTF16String& wide, const char* ascii) {
  std::size_t i = 0;
  for (; i < wide.size(); ++i) {
    if (ascii[i] == '\0' || Fold(wide[i]) != Fold(static_cast<char16_t>(static_cast<unsigned char>(ascii[i])))) {
      return false;
    }
  }
  return ascii[i] == '\0';
}

}  // namespace

ResourceManager::~ResourceManager() = default;
OS_ResourceManager::~OS_ResourceManager() = default;

const ResourceEntry* OS_ResourceManager::Find(const kelcore::UTF16String& name,
                                              const kelcore::UTF16String& type) const {
  if (module_ == nullptr) return nullptr;
  for (std::size_t i = 0; i < module_->count; ++i) {
    const ResourceEntry& entry = module_->entries[i];
    if (SameIgnoringCase(name, entry.name) && SameIgnoringCase(type, entry.type)) return &entry;
  }
  return nullptr;
}

bool OS_ResourceManager::GetBinary(const kelcore::UTF16String& name, const kelcore::UTF16String& type,
                                   std::vector<std::uint8_t>* bytes) const {
  if (bytes == nullptr) return false;
  bytes->clear();
  const ResourceEntry* entry = Find(name, type);
  if (entry == nullptr) return false;
  bytes->assign(entry->data, entry->data + entry->size);
  return true;
}

bool OS_ResourceManager::HasBinary(const kelcore::UTF16String& name, const kelcore::UTF16String& type) const {
  return Find(name, type) != nullptr;
}

bool OS_ResourceManager::MakeCursorFromPNG(const kelcore::UTF16String&) { return false; }

bool OS_ResourceManager::DisplayCursor(const kelcore::UTF16String&) { return false; }

std::vector<kelcore::UTF16String> OS_ResourceManager::GetResourceDataNames(const kelcore::UTF16String& type) const {
  std::vector<kelcore::UTF16String> names;
  if (module_ == nullptr) return names;
  for (std::size_t i = 0; i < module_->count; ++i) {
    if (SameIgnoringCase(type, module_->entries[i].type)) names.push_back(kelcore::string::AsciiToUTF16(module_->entries[i].name));
  }
  return names;
}

}  // namespace kelui::utility

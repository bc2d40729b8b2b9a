#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "kelcore/String.h"
#include "kelui/Export.h"

namespace kelui::utility {

// One resource compiled into a module: its name and type (matched without regard to case) and
// its bytes.
struct ResourceEntry {
  const char* name;
  const char* type;
  const unsigned char* data;
  std::size_t size;
};

// The resources of one module. On this platform a module is identified by its resource table,
// which takes the place of a Windows module instance handle.
struct ModuleResources {
  const ResourceEntry* entries;
  std::size_t count;
};
using HINSTANCE = const ModuleResources*;

class KELUI_API ResourceManager {
 public:
  virtual ~ResourceManager();
  // Replaces `bytes` with the resource's bytes; false (and `bytes` emptied) when there is none.
  virtual bool GetBinary(const kelcore::UTF16String& name, const kelcore::UTF16String& type,
                         std::vector<std::uint8_t>* bytes) const = 0;
  virtual bool HasBinary(const kelcore::UTF16String& name, const kelcore::UTF16String& type) const = 0;
  // Headless: there is no cursor to make or show; both report false.
  virtual bool MakeCursorFromPNG(const kelcore::UTF16String& name) = 0;
  virtual bool DisplayCursor(const kelcore::UTF16String& name) = 0;
  // The names of the resources of `type`, in table order.
  virtual std::vector<kelcore::UTF16String> GetResourceDataNames(const kelcore::UTF16String& type) const = 0;
};

// Resources of one module, by its instance.
class KELUI_API OS_ResourceManager : public ResourceManager {
 public:
  // A null instance finds nothing.
  explicit OS_ResourceManager(HINSTANCE module) noexcept : module_(module) {}
  ~OS_ResourceManager() override;

  bool GetBinary(const kelcore::UTF16String& name, const kelcore::UTF16String& type,
                 std::vector<std::uint8_t>* bytes) const override;
  bool HasBinary(const kelcore::UTF16String& name, const kelcore::UTF16String& type) const override;
  bool MakeCursorFromPNG(const kelcore::UTF16String& name) override;
  bool DisplayCursor(const kelcore::UTF16String& name) override;
  std::vector<kelcore::UTF16String> GetResourceDataNames(const kelcore::UTF16String& type) const override;

 private:
  const ResourceEntry* Find(const kelcore::UTF16String& name, const kelcore::UTF16String& type) const;
  HINSTANCE module_;
};

}  // namespace kelui::utility

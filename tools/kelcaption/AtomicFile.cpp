#include "kelcaption/AtomicFile.h"

#include <cstdio>
#include <stdexcept>

namespace kelcaption {

void WriteThroughTemporary(const std::string& path, const std::function<bool(const std::string& temporary)>& write) {
  const std::string temporary = path + ".partial";
  bool written = false;
  try {
    written = write(temporary);
  } catch (...) {
    std::remove(temporary.c_str());
    throw;
  }
  if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    throw std::runtime_error("cannot write " + path);
  }
}

}  // namespace kelcaption

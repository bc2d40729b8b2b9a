#include "kelcaption/Output.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "kelcaption/AtomicFile.h"

namespace kelcaption {

void WriteOutput(std::string_view bytes, const std::string& path) {
  if (path == "-") {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
      throw std::runtime_error("cannot write to standard output");
    }
    return;
  }
  WriteThroughTemporary(path, [bytes](const std::string& temporary) {
    std::ofstream out(temporary, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
  });
}

}  // namespace kelcaption

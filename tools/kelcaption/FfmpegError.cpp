#include "kelcaption/FfmpegError.h"

#include <stdexcept>

extern "C" {
#include <libavutil/error.h>
}

namespace kelcaption {

std::string FfmpegErrorText(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

void CheckFfmpeg(int error, const std::string& what) {
  if (error < 0) throw std::runtime_error(what + ": " + FfmpegErrorText(error));
}

}  // namespace kelcaption

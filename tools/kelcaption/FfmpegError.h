#pragma once

#include <string>

namespace kelcaption {

// FFmpeg's text for one of its negative error codes.
std::string FfmpegErrorText(int error);
// Throws std::runtime_error("`what`: FFmpeg's text") when `error` is negative.
void CheckFfmpeg(int error, const std::string& what);

}  // namespace kelcaption

#include "kelcaptionfiles/TimeCodeRate.h"

namespace kelcaptionfiles {

TimeCodeFields TimeCodeOfFrame(long long frame, int nominalRate, bool dropFrame) {
  const long long dropped = dropFrame ? DroppedFrameNumbers(nominalRate) : 0;
  if (dropped > 0) {
    // Put back the numbers left out: `dropped` at each minute but every tenth.
    const long long perMinute = nominalRate * 60LL - dropped, perTenMinutes = nominalRate * 600LL - 9 * dropped;
    const long long tens = frame / perTenMinutes, within = frame % perTenMinutes;
    frame += 9 * dropped * tens + (within > dropped ? dropped * ((within - dropped) / perMinute) : 0);
  }
  const long long seconds = frame / nominalRate;
  return {seconds / 3600, static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60),
          static_cast<int>(frame % nominalRate)};
}

long long FrameOfTimeCode(const TimeCodeFields& code, int nominalRate, bool dropFrame) {
  const long long totalMinutes = code.hours * 60 + code.minutes;
  const long long count = (totalMinutes * 60 + code.seconds) * nominalRate + code.frames;
  return dropFrame ? count - DroppedFrameNumbers(nominalRate) * (totalMinutes - totalMinutes / 10) : count;
}

}  // namespace kelcaptionfiles

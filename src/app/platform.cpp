#include "app/platform.hpp"

#include <chrono>
#include <ctime>

namespace orvane {

std::int64_t Platform::localTimeMs() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  return ms + static_cast<std::int64_t>(local.tm_gmtoff) * 1000;
}

}  // namespace orvane

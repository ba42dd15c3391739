#include "platform/DateText.h"

#include <cstdio>

namespace tarvel {

std::string formatDateText(std::time_t instant) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm local{};
  if (localtime_r(&instant, &local) == nullptr) local = std::tm{};
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s %s %02d %02d:%02d:%02d %04d",
                kDays[(local.tm_wday % 7 + 7) % 7], kMonths[(local.tm_mon % 12 + 12) % 12],
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, local.tm_year + 1900);
  return buffer;
}

Clock systemClock() {
  return [] { return std::time(nullptr); };
}

}  // namespace tarvel

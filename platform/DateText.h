#pragma once

#include <ctime>
#include <functional>
#include <string>

namespace tarvel {

// The 24-character date of report headers, in local time, English names, zero-padded day:
// "Thu Mar 05 09:07:03 2026".
std::string formatDateText(std::time_t instant);

// Where "now" comes from; tests and reproducible listings put a fixed instant in.
using Clock = std::function<std::time_t()>;
Clock systemClock();

}  // namespace tarvel

// Clocks on Linux: a monotonic millisecond counter in place of GetTickCount and
// the local calendar time in place of GetLocalTime.
#include <cstdio>
#include <ctime>

#include "platform/platform.h"

namespace vokari {
namespace platform {

// Milliseconds of the monotonic clock, wrapping at 2^32 like GetTickCount.
std::uint32_t tick_count() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t ms =
        static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

// Fills `date` with "MM/DD/YY" and `time` with "HH:MM:SS" of the local time.
void local_date_time(char date[9], char time[9]) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const auto two_digits = [](int value) { return static_cast<unsigned>(value) % 100u; };
    std::snprintf(date, 9, "%02u/%02u/%02u", two_digits(local.tm_mon + 1), two_digits(local.tm_mday),
                  two_digits(local.tm_year + 1900));
    std::snprintf(time, 9, "%02u:%02u:%02u", two_digits(local.tm_hour), two_digits(local.tm_min),
                  two_digits(local.tm_sec));
}

}  // namespace platform
}  // namespace vokari

// Clocks on Windows: GetTickCount and GetLocalTime.
#include <windows.h>

#include <cstdio>

#include "platform/platform.h"

namespace vokari {
namespace platform {

// Milliseconds since the system started, wrapping at 2^32.
std::uint32_t tick_count() { return GetTickCount(); }

// Fills `date` with "MM/DD/YY" and `time` with "HH:MM:SS" of the local time.
void local_date_time(char date[9], char time[9]) {
    SYSTEMTIME local;
    GetLocalTime(&local);
    std::snprintf(date, 9, "%02u/%02u/%02u", static_cast<unsigned>(local.wMonth % 100),
                  static_cast<unsigned>(local.wDay % 100), static_cast<unsigned>(local.wYear % 100));
    std::snprintf(time, 9, "%02u:%02u:%02u", static_cast<unsigned>(local.wHour % 100),
                  static_cast<unsigned>(local.wMinute % 100), static_cast<unsigned>(local.wSecond % 100));
}

}  // namespace platform
}  // namespace vokari

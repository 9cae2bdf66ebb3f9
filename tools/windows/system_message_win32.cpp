// FormatMessage for an error code, trimmed of its line end and final period.
#include "tools/windows/system_message.h"

#include <windows.h>

namespace vokari {
namespace windows {

std::string system_message(unsigned long code) {
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                  sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == '.')) --length;
    return length > 0 ? std::string(text, length) : "error " + std::to_string(code);
}

}  // namespace windows
}  // namespace vokari

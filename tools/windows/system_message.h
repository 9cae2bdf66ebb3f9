// The system's own words for a Windows error code, without the final period.
#pragma once

#include <string>

namespace vokari {
namespace windows {

std::string system_message(unsigned long code);

}  // namespace windows
}  // namespace vokari

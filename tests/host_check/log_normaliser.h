// The request log with its varying parts written as the golden files write
// them: the module directory as <moddir>, dates as MM/DD/YY, times as
// HH:MM:SS and execute times as N.
#pragma once

#include <string>

namespace host_check {

std::string normalised_log(const std::string& log, const std::string& module_path);

}  // namespace host_check

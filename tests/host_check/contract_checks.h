// The host-contract edge cases of the three exports, checked through the
// loaded library exactly as the host calls it.
#pragma once

#include <string>

#include "check_report.h"

namespace host_check {

void run_contract_checks(const std::string& library_path, Report& report);

}  // namespace host_check

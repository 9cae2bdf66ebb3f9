// The golden cases of tests/golden: a request in, exactly the expected
// response (and optionally sound-file checksum and log) out.
#pragma once

#include <string>

#include "check_report.h"

namespace host_check {

// Runs every NAME.request of `golden_dir`, each with a freshly loaded library
// and a fresh fixture module directory.  A mismatching output is also written
// to golden-actual/NAME.* in the current directory.
void run_golden_cases(const std::string& library_path, const std::string& golden_dir, Report& report);

}  // namespace host_check

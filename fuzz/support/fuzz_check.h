// The harnesses' own checks: a failed one ends the run as a finding.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fuzz_support {

// Ends the run as a finding, naming `what`, unless `condition` holds.
inline void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

}  // namespace fuzz_support

// The countdown behind fail_global_alloc: shared by the Windows and the Linux
// global_alloc so that tests reach the same failure paths on both.
#include "platform/platform.h"

namespace vokari {
namespace platform {

namespace {
int calls_until_failure = 0;  // 0: no failure pending
}

// nth: which of the coming global_alloc calls fails (1 = the next); 0 cancels.
void fail_global_alloc(int nth) { calls_until_failure = nth > 0 ? nth : 0; }

// Counts one global_alloc call; true when it is the one to fail.
bool global_alloc_should_fail() {
    if (calls_until_failure == 0) return false;
    --calls_until_failure;
    return calls_until_failure == 0;
}

}  // namespace platform
}  // namespace vokari

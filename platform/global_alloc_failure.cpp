// The countdown behind fail_global_alloc: shared by the Windows and the Linux
// global_alloc so that tests reach the same failure paths on both.
#include "platform/platform.h"

namespace vokari {
namespace platform {

namespace {
int calls_until_failure = 0;   // 0: no failure pending
}

void fail_global_alloc(int nth) { calls_until_failure = nth > 0 ? nth : 0; }

bool global_alloc_should_fail() {
    if (calls_until_failure == 0) return false;
    --calls_until_failure;
    return calls_until_failure == 0;
}

}  // namespace platform
}  // namespace vokari

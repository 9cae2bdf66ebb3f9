// The test program's hook into global_alloc (support/global_alloc_failure.cpp).
#pragma once

namespace vokari {
namespace platform {

// Makes the `nth` next call of global_alloc fail (1 = the very next call),
// once; 0 cancels a pending failure.
void fail_global_alloc(int nth);

// Blocks from global_alloc not yet given to global_free.
int live_global_blocks();

}  // namespace platform
}  // namespace vokari

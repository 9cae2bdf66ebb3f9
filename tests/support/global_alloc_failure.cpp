// The test program's memory blocks: the platform's heap blocks with a
// countdown that makes a chosen global_alloc fail, so that tests reach the
// module's out-of-memory paths.  Linked into the test program only, ahead of
// the platform library, whose own global_memory object is then never pulled
// in; the shipped library and DLL carry no such hook (shipped_binaries_carry_no_test_hook).
#include <cstdlib>

#include "platform/platform.h"
#include "support/global_alloc_failure.h"

namespace vokari {
namespace platform {

namespace {
int calls_until_failure = 0;  // 0: no failure pending
int live_blocks = 0;
}  // namespace

void fail_global_alloc(int nth) { calls_until_failure = nth > 0 ? nth : 0; }

void* global_alloc(std::size_t bytes) {
    if (calls_until_failure > 0 && --calls_until_failure == 0) return nullptr;
    void* block = std::malloc(bytes ? bytes : 1);
    if (block != nullptr) ++live_blocks;
    return block;
}

void global_free(void* block) {
    if (block != nullptr) --live_blocks;
    std::free(block);
}

int live_global_blocks() { return live_blocks; }

}  // namespace platform
}  // namespace vokari

// Global memory blocks on Linux: a fixed block is simply a heap block, so the
// handle is the address of its bytes, as with GlobalAlloc(GMEM_FIXED).
#include <cstdlib>

#include "platform/platform.h"

namespace vokari {
namespace platform {

// bytes: block size (0 gives a valid, empty block).  Returns the block or null.
void* global_alloc(std::size_t bytes) { return std::malloc(bytes ? bytes : 1); }

// Frees a block from global_alloc; null is ignored.
void global_free(void* block) { std::free(block); }

}  // namespace platform
}  // namespace vokari

// Global memory blocks on Windows: GlobalAlloc(GMEM_FIXED) and GlobalFree.
#include <windows.h>

#include "platform/platform.h"

namespace vokari {
namespace platform {

// bytes: block size.  Returns the fixed block (its handle is its address) or
// null.
void* global_alloc(std::size_t bytes) { return GlobalAlloc(GMEM_FIXED, bytes); }

// Frees a fixed block; null is ignored.
void global_free(void* block) {
    if (block != nullptr) GlobalFree(static_cast<HGLOBAL>(block));
}

}  // namespace platform
}  // namespace vokari

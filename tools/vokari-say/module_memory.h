// The memory blocks handed to and taken from the module's exports: malloc
// and free on Linux, GlobalAlloc and GlobalFree on Windows, as each host does.
#pragma once

#include <string>

namespace vokari {
namespace say {

// A copy of `bytes` without terminator, whose ownership passes to the
// module; an empty text still gets a one-byte block.  Null when memory is
// short.
void* module_block(const std::string& bytes);

// Frees a block the module handed back.
void free_module_block(void* block);

}  // namespace say
}  // namespace vokari

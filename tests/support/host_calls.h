// Calls into the module's three entry points the way the host does: data in
// global memory blocks that the module frees, the response in a block that the
// caller frees.
#pragma once

#include <string>

#include "vokari.h"
#include "base/module_paths.h"

namespace host_calls {

// A block from the platform's global_alloc holding `bytes` (no terminator).
HGLOBAL make_block(const std::string& bytes);

// load with a block holding `directory` and its size as the length.
BOOL load_directory(const std::string& directory);
// load with a block holding `bytes` and any `length` (may count fewer bytes,
// or one more than a terminating NUL the bytes end in).
BOOL load_with_length(const std::string& bytes, long length);

struct Response {
    bool has_block = false;  // request returned a non-null block
    long length = 0;         // *len after the call
    std::string bytes;       // the block's `length` bytes
};

// request with a block holding `text` and *len = its size, or `length`.
Response request_text(const std::string& text);
Response request_with_length(const std::string& text, long length);

}  // namespace host_calls

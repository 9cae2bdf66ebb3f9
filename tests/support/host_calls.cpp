// Host-side calls for the tests: global blocks in, response block out.
#include "support/host_calls.h"

#include <cstring>

#include "platform/platform.h"

namespace host_calls {

HGLOBAL make_block(const std::string& bytes) {
    void* block = vokari::platform::global_alloc(bytes.size());
    if (!bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    return static_cast<HGLOBAL>(block);
}

BOOL load_directory(const std::string& directory) {
    return load_with_length(directory, static_cast<long>(directory.size()));
}

BOOL load_with_length(const std::string& bytes, long length) { return load(make_block(bytes), length); }

Response request_text(const std::string& text) { return request_with_length(text, static_cast<long>(text.size())); }

Response request_with_length(const std::string& text, long length) {
    Response response;
    response.length = length;
    HGLOBAL block = request(make_block(text), &response.length);
    response.has_block = block != nullptr;
    if (block != nullptr) {
        response.bytes.assign(static_cast<const char*>(block), static_cast<std::size_t>(response.length));
        vokari::platform::global_free(block);
    }
    return response;
}

}  // namespace host_calls

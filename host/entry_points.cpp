// The three functions the host calls, and the one Module they keep.  load
// builds the module object; request carries one request in and its response
// out across the host's global memory blocks; unload stops playback and
// destroys the object.
#include <climits>
#include <cstring>
#include <string>
#include <utility>

#include "vokari.h"

#include "host/module.h"
#include "host/request.h"
#include "platform/platform.h"

namespace vokari {

namespace {

const char kServerError[] = "MAKOTO/2.0 500 Internal Server Error\r\nCharset: Shift_JIS\r\n\r\n";

// The host's module object: built by load, destroyed by unload.  It is never
// destroyed at process exit, where the host may still be playing its sound.
Module* loaded_module = nullptr;

// The module a request works on: the loaded one, or, before the first load
// and after unload, a new one in the state of a module never loaded.
Module& module_for_request() {
    if (loaded_module == nullptr) loaded_module = new Module();
    return *loaded_module;
}

// Hands `response` to the host in a new fixed block of exactly its length.  A
// response that cannot be allocated, or whose length does not fit a long,
// gives a null block and a length of 0.
HGLOBAL respond(const char* response, std::size_t size, long* length) {
    void* block = size <= static_cast<std::size_t>(LONG_MAX) ? platform::global_alloc(size) : nullptr;
    if (block == nullptr) {
        *length = 0;
        return nullptr;
    }
    std::memcpy(block, response, size);
    *length = static_cast<long>(size);
    return static_cast<HGLOBAL>(block);
}

}  // namespace

}  // namespace vokari

using namespace vokari;

// The three functions' contracts are written once, in include/vokari.h.

BOOL VOKARI_CALL load(HGLOBAL h, long len) {
    Module* fresh = nullptr;
    try {
        fresh = new Module();
    } catch (...) {
    }
    if (fresh != nullptr) {
        load_module(*fresh, static_cast<const char*>(h), len);
        if (loaded_module != nullptr) {
            // Loaded again without an unload: the sound playing goes on.
            std::swap(fresh->image.bytes, loaded_module->image.bytes);
            std::swap(fresh->image.samples, loaded_module->image.samples);
            delete loaded_module;
        }
        loaded_module = fresh;
    }
    platform::global_free(h);
    return 1;
}

HGLOBAL VOKARI_CALL request(HGLOBAL h, long* len) {
    if (len == nullptr) {
        platform::global_free(h);
        return nullptr;
    }
    const long length = *len;
    char* copy = nullptr;
    if (length >= 0 && (h != nullptr || length == 0))
        copy = static_cast<char*>(platform::global_alloc(static_cast<std::size_t>(length) + 1));
    if (copy != nullptr) {
        const std::size_t counted = static_cast<std::size_t>(length);
        const void* nul = counted ? std::memchr(h, '\0', counted) : nullptr;
        const std::size_t text_length =
            nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - static_cast<const char*>(h)) : counted;
        if (text_length > 0) std::memcpy(copy, h, text_length);
        copy[text_length] = '\0';
    }
    platform::global_free(h);
    const std::uint32_t start = platform::tick_count();

    std::string response;
    bool answered = false;
    if (copy != nullptr) {
        // Memory can run out while a large script is processed; the host then
        // gets the 500 response rather than an exception in its own process.
        try {
            RequestState state;
            handle_logged_request(module_for_request(), state, copy, start, response);
            answered = true;
        } catch (...) {
        }
        platform::global_free(copy);
    }
    // The error answer needs no memory of the module's own.
    if (!answered) return respond(kServerError, sizeof kServerError - 1, len);
    return respond(response.data(), response.size(), len);
}

BOOL VOKARI_CALL unload(void) {
    if (loaded_module != nullptr) {
        unload_module(*loaded_module);
        delete loaded_module;
        loaded_module = nullptr;
    } else {
        platform::current_player()->purge();
    }
    return 1;
}

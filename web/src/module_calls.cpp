// The page's way into the module: the three exports called as the host calls
// them (data in global memory blocks that the module frees), plus the WAV
// image that the browser build's player kept from the last request.  Every
// function here is called from JavaScript through the WebAssembly exports.
#include <emscripten/emscripten.h>

#include <cstring>

#include "vokari.h"
#include "platform/platform.h"
#include "platform/web/played_image.h"
#include "pitch_line.h"

namespace {

// A global memory block holding a copy of `length` bytes at `bytes`; null when
// memory runs out.
HGLOBAL copy_to_block(const void* bytes, int length) {
    void* block = vokari::platform::global_alloc(static_cast<std::size_t>(length));
    if (block != nullptr && length > 0) std::memcpy(block, bytes, static_cast<std::size_t>(length));
    return static_cast<HGLOBAL>(block);
}

}  // namespace

extern "C" {

// directory: the module directory (bytes, no NUL needed), `length` bytes.
// Returns load's result (1).
EMSCRIPTEN_KEEPALIVE int web_load(const char* directory, int length) {
    HGLOBAL block = copy_to_block(directory, length);
    if (block == nullptr) return 0;
    return load(block, length);
}

// Releases what web_load loaded.  Returns unload's result (1).
EMSCRIPTEN_KEEPALIVE int web_unload() { return unload(); }

// text: a complete request, `length` bytes.  Returns the response block (free
// it with web_free) and stores its length in bytes at `response_length`; null
// when even the request could not be handed over.  The WAV image of this
// request, if it made one to play, is then at web_wav_data, and its pitch
// accent at web_pitch_line.
EMSCRIPTEN_KEEPALIVE void* web_request(const char* text, int length, int* response_length) {
    vokari::platform::forget_played_image();
    web::forget_pitch_line();
    *response_length = 0;
    HGLOBAL block = copy_to_block(text, length);
    if (block == nullptr) return nullptr;
    long result_length = length;
    HGLOBAL response = request(block, &result_length);
    *response_length = response != nullptr ? static_cast<int>(result_length) : 0;
    return response;
}

// Frees a block that web_request returned; null is ignored.
EMSCRIPTEN_KEEPALIVE void web_free(void* block) { vokari::platform::global_free(block); }

// The WAV image (58-byte header + mu-law samples) of the last request, null
// when it made no sound to play; its size in bytes.
EMSCRIPTEN_KEEPALIVE const void* web_wav_data() { return vokari::platform::played_image(); }
EMSCRIPTEN_KEEPALIVE int web_wav_size() { return static_cast<int>(vokari::platform::played_image_size()); }

}  // extern "C"

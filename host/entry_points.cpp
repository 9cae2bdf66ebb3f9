// The three functions the host calls.  load stores the module directory and
// loads everything in a fixed order; request carries one request in and its
// response out across the host's global memory blocks; unload stops playback
// and frees the samples.
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "host/entry_points.h"

#include "host/base/module_paths.h"
#include "host/base/text_routines.h"
#include "host/request.h"
#include "platform/platform.h"
#include "synth/wav_image.h"
#include "translate/translation_dictionary.h"
#include "voice_data/message_speed.h"
#include "voice_data/phoneme_bank.h"
#include "voice_data/phoneme_details.h"
#include "voice_data/request_log.h"
#include "voice_data/settings.h"
#include "voice_data/sound_effects.h"

namespace vokari {

namespace {

const char kServerError[] = "MAKOTO/2.0 500 Internal Server Error\r\nCharset: Shift_JIS\r\n\r\n";

// True when the last of `length` bytes is a backslash character of its own,
// not the trail byte of a double-byte character.
bool ends_in_backslash(const char* text, std::size_t length) {
    if (length == 0 || text[length - 1] != '\\') return false;
    std::size_t last_char = 0;
    for (std::size_t i = 0; i < length; i += is_sjis_lead(static_cast<unsigned char>(text[i])) ? 2 : 1)
        last_char = i;
    return last_char == length - 1;
}

// Copies the host's directory block into module_dir: at most `length` bytes,
// stopping at a NUL, without one backslash that is the last counted byte.  A
// directory of more than 1,024 bytes is refused: module_dir stays empty and
// the function returns false.
bool store_module_dir(const char* block, long length) {
    module_dir[0] = '\0';
    if (block == nullptr || length <= 0) return true;
    const std::size_t counted = static_cast<std::size_t>(length);
    const void* nul = std::memchr(block, '\0', counted);
    std::size_t kept = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - block) : counted;
    if (kept == counted && ends_in_backslash(block, counted)) --kept;
    if (kept >= kModuleDirCapacity) return false;
    std::memcpy(module_dir, block, kept);
    module_dir[kept] = '\0';
    return true;
}

// Everything load reads, in its fixed order; the log starts once the settings
// have named it.
void run_loading_sequence() {
    std::vector<std::string> dictionary_names;
    load_defaults();
    read_settings(dictionary_names);
    log_start();
    log_write("// Now loading translate data.\n");
    for (const std::string& name : dictionary_names) load_translation_file(name.c_str());
    log_write("Done.\n\n");
    add_system_pairs();
    const int missing_partner = load_phoneme_bank();
    log_write("// Now loading phoneme's data details.\n");
    load_phoneme_details("vokariv0", 0);
    load_phoneme_details("vokariv1", 1);
    load_phoneme_details("vokaric0", 0);
    load_phoneme_details("vokaric1", 1);
    log_write("Done.\n\n");
    if (missing_partner & 1) fill_partner_from_main(SlotGroup::Vowel);
    if (missing_partner & 2) fill_partner_from_main(SlotGroup::Consonant);
    discover_message_speed();
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

// h: fixed block with the module directory, len: its length in bytes.  Frees
// h, loads settings, dictionaries and voices.  A directory over 1,024 bytes is
// refused: nothing is read from disk and the module runs on its defaults.
// Always returns 1.
BOOL VOKARI_CALL load(HGLOBAL h, long len) {
    const bool directory_stored = store_module_dir(static_cast<const char*>(h), len);
    platform::global_free(h);
    // A fresh loaded life: the lists that load fills are emptied first.
    translation_dictionary.clear();
    sound_effects.clear();
    // No exception may cross into the host: memory running out half-way
    // leaves what was loaded so far, and the module still answers requests.
    try {
        if (directory_stored) {
            run_loading_sequence();
        } else {
            load_defaults();
            add_system_pairs();
        }
    } catch (...) {
    }
    return 1;
}

// h: fixed block with the request text, *len: its length in bytes.  Frees h and
// returns a new fixed block holding the response, *len set to its length (no
// terminator).  A request that cannot be copied (no memory, a negative
// length) gets the 500 response.  A null `len` frees h and returns null.
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
        const std::size_t text_length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - static_cast<const char*>(h)) : counted;
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
            log_write("// request header\n");
            log_write(copy);
            handle_request(copy, response);
            if (log_is_on()) {
                const std::uint32_t elapsed = platform::tick_count() - start;
                log_write("// response header\n// [execute time = ");
                log_write(int_to_decimal(elapsed).c_str());
                log_write("ms]\n");
                log_write(response.c_str());
            }
            answered = true;
        } catch (...) {
        }
        platform::global_free(copy);
    }
    // The error answer needs no memory of the module's own.
    if (!answered) return respond(kServerError, sizeof kServerError - 1, len);
    return respond(response.data(), response.size(), len);
}

// Writes the log's end line, stops playback and frees the samples and the WAV
// image.  Always returns 1.
BOOL VOKARI_CALL unload(void) {
    try {
        log_end();
    } catch (...) {
    }
    platform::current_player()->purge();
    release_sound_effects();
    release_wav_image();
    release_phoneme_bank();
    return 1;
}

// The voice translation dictionary: ordered (search, replacement) pairs that
// rewrite the spoken copy of every script.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "voice_data/loaded_voice.h"

namespace vokari {

struct TranslationPair {
    std::string search;
    std::string replacement;
};

// The pairs in the order they apply.
using TranslationDictionary = std::vector<TranslationPair>;

// What loading one dictionary file did.
struct DictionaryFileRead {
    bool opened = false;            // false: missing, unreadable, or a name too long for a path
    std::size_t pairs_added = 0;    // pairs appended to the dictionary
    std::size_t pairs_skipped = 0;  // pairs left out because they could not be used
    bool utf8_text = false;         // the file reads as UTF-8 text, not Shift_JIS
};

// Appends the pairs of the file `name` (relative to the module directory of
// `voice`) to `dictionary`; logs progress and warnings to the log of
// voice.settings and returns what it did.
DictionaryFileRead load_translation_file(const LoadedVoice& voice, TranslationDictionary& dictionary, const char* name);
// Appends the 45 built-in pairs; logs progress.
void add_system_pairs(const Settings& settings, TranslationDictionary& dictionary);
class TranslationIndex;

// Rewrites `text` in place with every pair of `dictionary`, in order; a pair
// that keeps matching its own replacements is logged to the log of `settings`.
// `index`, when given, must have been built from `dictionary` as it is; it
// only makes the rewriting faster, never different.  `marks` (one per byte,
// see replace_repeatedly) follow the bytes they mark.
void apply_translation(const Settings& settings, const TranslationDictionary& dictionary, std::string& text,
                       const TranslationIndex* index = nullptr, std::vector<std::int32_t>* marks = nullptr);

}  // namespace vokari

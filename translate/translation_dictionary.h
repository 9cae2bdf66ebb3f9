// The voice translation dictionary: ordered (search, replacement) pairs that
// rewrite the spoken copy of every script.
#pragma once

#include <string>
#include <vector>

namespace vokari {

struct TranslationPair {
    std::string search;
    std::string replacement;
};

extern std::vector<TranslationPair> translation_dictionary;

// Appends the pairs of the file `name` (relative to module_dir); logs progress.
void load_translation_file(const char* name);
// Appends the 45 built-in pairs; logs progress.
void add_system_pairs();
// Rewrites `text` in place with every pair, in order.
void apply_translation(std::string& text);

}  // namespace vokari

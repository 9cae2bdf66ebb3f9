// From analysed words to the kana that the voice bank says: hiragana, one
// mora after another, a held vowel ("ー") written as the vowel it holds, the
// particles は and へ already as わ and え.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "reading/text_reader.h"

namespace vokari {

// One spoken mora with what the reading step knows of it.
struct SpokenMora {
    std::string kana;     // hiragana, Shift_JIS: a kana with the small kana after it, or っ, ん
    std::size_t word;     // the number of its word in the analysis
    std::int32_t at;      // where its kana start in the text they were written into
    bool high = false;    // high in its accent phrase
    double factor = 1.0;  // the accent's pitch relative to the voice's own
    // The prosody model's timing, in ms at its own tempo, when it timed the
    // mora (length_ms above 0).
    std::int32_t start_ms = 0;  // from the start of the model's line
    std::int32_t length_ms = 0;
    std::int32_t vowel_ms = 0;  // from the mora's start to its vowel's (or ん's, っ's)
    std::int32_t pause_ms = 0;  // the silence the model puts before it
    bool held = false;          // a held vowel (ー): the vowel before it goes on
    bool devoiced = false;      // its vowel is said without voice
    double log_f0 = 0.0;        // natural log of its mean F0 in Hz; 0: no voiced frame
};

// Appends the spoken kana of `words` to `out` (Shift_JIS).  A word without a
// reading keeps its own surface; symbols keep theirs, so pauses stay where
// the author put them.  With `morae`, each mora written is appended there,
// its word numbered from `first_word`.
void append_spoken_kana(const std::vector<ReadWord>& words, std::string& out, std::vector<SpokenMora>* morae = nullptr,
                        std::size_t first_word = 0);

// The morae of `words` one word at a time, a held vowel carried from word to
// word but not past a sign (their `at`: where they would stand in the
// words' kana written one after another).
std::vector<SpokenMora> word_morae(const std::vector<ReadWord>& words);

// The hiragana of one katakana pronunciation, held vowels resolved; `vowel`
// is the last vowel said before it (0: none) and comes back updated.
std::string pronunciation_to_hiragana(const std::string& katakana, char& vowel);

// The spoken morae of `words`, in order (see split_morae).
std::vector<std::string> spoken_morae(const std::vector<ReadWord>& words);

// Splits Shift_JIS hiragana into its morae: a kana with the small kana after
// it (きょ), っ and ん each their own.  Anything else is dropped.
std::vector<std::string> split_morae(const std::string& hiragana);

}  // namespace vokari

// From analysed words to the kana that the voice bank says: hiragana, one
// mora after another, a held vowel ("ー") written as the vowel it holds, the
// particles は and へ already as わ and え.
#pragma once

#include <string>
#include <vector>

#include "reading/text_reader.h"

namespace vokari {

// Appends the spoken kana of `words` to `out` (Shift_JIS).  A word without a
// reading keeps its own surface; symbols keep theirs, so pauses stay where
// the author put them.
void append_spoken_kana(const std::vector<ReadWord>& words, std::string& out);

// The hiragana of one katakana pronunciation, held vowels resolved; `vowel`
// is the last vowel said before it (0: none) and comes back updated.
std::string pronunciation_to_hiragana(const std::string& katakana, char& vowel);

// The spoken morae of `words`, in order (see split_morae).
std::vector<std::string> spoken_morae(const std::vector<ReadWord>& words);

// Splits Shift_JIS hiragana into its morae: a kana with the small kana after
// it (きょ), っ and ん each their own.  Anything else is dropped.
std::vector<std::string> split_morae(const std::string& hiragana);

}  // namespace vokari

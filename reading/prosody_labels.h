// The prosody model's input: the full-context labels of a line's analysed
// words, one per phoneme, made by the label library of the analyser, with
// the spoken mora that each phoneme belongs to.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "reading/text_reader.h"

namespace vokari {

struct ProsodyLabels {
    std::vector<std::string> labels;    // one per phoneme, silence first and last
    std::vector<std::string> phonemes;  // the label's own phoneme ("k", "a", "U" devoiced, "pau", "sil")
    std::vector<int> mora_of_phoneme;   // index into `morae`; -1 for silence and pauses
    std::vector<std::string> morae;     // each spoken mora in katakana (Shift_JIS), "ー" for a held vowel
    std::vector<int> word_of_mora;      // per mora the index of its word in the words given; all -1 when
                                        // the label library's words do not line up with them
};

// Lines whose readings hold more kana than this get no labels: the label
// library's work grows with the square of a line's length.
constexpr std::size_t kProsodyKanaLimit = 1000;

// The labels of `words` (one line, in order).  Signs that end a clause
// (、。！？ and their ASCII forms) and the silence of unread words become
// pauses; other signs and unread words say nothing.  No phoneme at all, or
// more than kProsodyKanaLimit kana, gives empty lists.
ProsodyLabels make_prosody_labels(const std::vector<ReadWord>& words);

}  // namespace vokari

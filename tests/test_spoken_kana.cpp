// The reading step's kana: a long-vowel mark lengthens only the vowel of the
// word sound before it, never one from across a symbol.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reading/spoken_kana.h"
#include "reading/text_reader.h"

namespace {

TEST(SpokenKana, ASymbolEndsTheVowelThatALongMarkWouldHold) {
    std::vector<vokari::ReadWord> words(3);
    words[0].surface = words[0].pronunciation = "\x83\x4A";  // カ
    words[1].surface = "\x81\x41";                           // 、
    words[1].symbol = true;
    words[2].surface = words[2].pronunciation = "\x81\x5B";  // ー
    std::string out;
    vokari::append_spoken_kana(words, out);
    EXPECT_EQ(out, "\x82\xa9\x81\x41\x81\x5B");  // か、ー
}

}  // namespace

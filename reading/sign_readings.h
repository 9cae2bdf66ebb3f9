// Signs that the analyser would leave unread or misread alone, read with the
// characters around them: a currency sign before a number is said after it
// as its unit (￥1,500: せんごひゃくえん), a plus or minus sign before a
// number as プラス or マイナス, and a run of w after Japanese text is
// laughter (笑ったｗｗｗ), said as nothing.
#pragma once

#include <cstddef>
#include <string>

namespace vokari {

struct SignReading {
    std::size_t span = 0;     // bytes of the text it takes; 0: no such sign here
    bool laughter = false;    // said as nothing: the author's bytes stay, unread
    std::string replacement;  // else the text analysed in place of the span
};

// The reading of a sign at text[at] in text[0, length); `after_text` tells
// whether the character before it is a Japanese one (kana, kanji or a
// Japanese sign), `after_alnum` whether it is a letter or a digit.
SignReading read_sign(const char* text, std::size_t at, std::size_t length, bool after_text, bool after_alnum);

// Whether the character at text[at] is Japanese text in the sense above, or a
// letter or digit (ASCII or full-width).
bool is_japanese_char(const char* text, std::size_t at, std::size_t length);
bool is_alnum_char(const char* text, std::size_t at, std::size_t length);

}  // namespace vokari

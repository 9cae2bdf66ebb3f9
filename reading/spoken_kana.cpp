// Spoken kana: the analysis's katakana pronunciations become the hiragana
// and the morae that the voice says.
#include "reading/spoken_kana.h"

#include <cstring>
#include <utility>

#include "base/shift_jis.h"

namespace vokari {

namespace {

constexpr unsigned kFirstHiragana = 0x829F;       // ぁ
constexpr unsigned kLastHiragana = 0x82F1;        // ん
constexpr unsigned kFirstKatakana = 0x8340;       // ァ
constexpr unsigned kKatakanaGap = 0x837F;         // no character: ミ 0x837E, ム 0x8380
constexpr unsigned kLastKatakanaPaired = 0x8393;  // ン
constexpr unsigned kKatakanaVu = 0x8394;          // ヴ
constexpr unsigned kSmallKatakanaKa = 0x8395;     // ヵ
constexpr unsigned kSmallKatakanaKe = 0x8396;     // ヶ
constexpr unsigned kLongVowelMark = 0x815B;       // ー

// The vowel of each hiragana from ぁ to ん ('-' for っ and ん).
const char kVowels[] =
    "aaiiuueeooaaiiuueeooaaiiuueeooaaii-uueeooa"
    "iueoaaaiiiuuueeeoooaiueoaauuooaiueoaaieo-";
static_assert(sizeof kVowels - 1 == kLastHiragana - kFirstHiragana + 1, "one vowel per hiragana");

unsigned code_at(const std::string& text, std::size_t i) {
    return static_cast<unsigned>(static_cast<unsigned char>(text[i])) << 8 | static_cast<unsigned char>(text[i + 1]);
}

void append_code(std::string& out, unsigned code) {
    out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
}

unsigned vowel_kana(char vowel) {
    switch (vowel) {
    case 'a': return 0x82A0;  // あ
    case 'i': return 0x82A2;  // い
    case 'u': return 0x82A4;  // う
    case 'e': return 0x82A6;  // え
    default: return 0x82A8;   // お
    }
}

unsigned katakana_to_hiragana(unsigned code) {
    if (code >= kFirstKatakana && code < kKatakanaGap) return kFirstHiragana + (code - kFirstKatakana);
    if (code > kKatakanaGap && code <= kLastKatakanaPaired) return kFirstHiragana + (code - kFirstKatakana - 1);
    if (code == kKatakanaVu) return 0x82D4;       // ぶ: the bank has no v
    if (code == kSmallKatakanaKa) return 0x82A9;  // か
    if (code == kSmallKatakanaKe) return 0x82AF;  // け
    return code;
}

bool is_hiragana(unsigned code) { return code >= kFirstHiragana && code <= kLastHiragana; }

bool is_small_glide(unsigned code) {
    switch (code) {
    case 0x829F:
    case 0x82A1:
    case 0x82A3:
    case 0x82A5:
    case 0x82A7:  // ぁぃぅぇぉ
    case 0x82E1:
    case 0x82E3:
    case 0x82E5:
    case 0x82EC:  // ゃゅょゎ
        return true;
    default: return false;
    }
}

// Hiragana with every "ー" written as the vowel before it; other characters
// pass unchanged.  `vowel` carries the last vowel from the text before (0:
// none), since a held vowel may be a word of its own (会お|ー).
std::string resolve_long_vowels(const std::string& text, char& vowel) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t size = sjis_char_size(text.data(), i, text.size());
        if (size == 1) {
            out += text[i++];
            continue;
        }
        const unsigned code = code_at(text, i);
        if (code == kLongVowelMark && vowel != 0) {
            append_code(out, vowel_kana(vowel));
        } else {
            append_code(out, code);
            if (is_hiragana(code) && kVowels[code - kFirstHiragana] != '-') vowel = kVowels[code - kFirstHiragana];
        }
        i += size;
    }
    return out;
}

std::string katakana_to_hiragana_text(const std::string& katakana) {
    std::string hiragana;
    for (std::size_t i = 0; i < katakana.size();) {
        const std::size_t size = sjis_char_size(katakana.data(), i, katakana.size());
        if (size == 1) hiragana += katakana[i];
        else append_code(hiragana, katakana_to_hiragana(code_at(katakana, i)));
        i += size;
    }
    return hiragana;
}

// The morae of the hiragana `text` from `from` on, with where each starts: a kana
// with the small kana after it (きょ), っ and ん each their own, anything
// else dropped.
void add_morae(const std::string& text, std::size_t from, std::size_t word, std::vector<SpokenMora>& morae) {
    const std::size_t first = morae.size();
    for (std::size_t i = from; i < text.size();) {
        const std::size_t size = sjis_char_size(text.data(), i, text.size());
        const unsigned code = size == 2 ? code_at(text, i) : 0;
        const std::size_t at = i;
        i += size;
        if (!is_hiragana(code)) continue;
        const bool attaches = is_small_glide(code) && morae.size() > first && morae.back().kana.size() == 2 &&
                              kVowels[code_at(morae.back().kana, 0) - kFirstHiragana] != '-';
        if (!attaches) morae.push_back(SpokenMora{std::string(), word, static_cast<std::int32_t>(at)});
        append_code(morae.back().kana, code);
    }
}
}  // namespace

std::string pronunciation_to_hiragana(const std::string& katakana, char& vowel) {
    return resolve_long_vowels(katakana_to_hiragana_text(katakana), vowel);
}

void append_spoken_kana(const std::vector<ReadWord>& words, std::string& out, std::vector<SpokenMora>* morae,
                        std::size_t first_word) {
    char vowel = 0;
    for (std::size_t w = 0; w < words.size(); ++w) {
        const ReadWord& word = words[w];
        if (word.symbol || word.pronunciation.empty()) {
            out += word.surface;
            vowel = 0;
            continue;
        }
        const std::size_t start = out.size();
        out += pronunciation_to_hiragana(word.pronunciation, vowel);
        if (morae != nullptr) add_morae(out, start, first_word + w, *morae);
    }
}

std::vector<SpokenMora> word_morae(const std::vector<ReadWord>& words) {
    std::vector<SpokenMora> morae;
    std::string kana;
    append_spoken_kana(words, kana, &morae);
    return morae;
}

std::vector<std::string> spoken_morae(const std::vector<ReadWord>& words) {
    std::string spoken;
    char vowel = 0;
    for (const ReadWord& word : words) {
        if (word.symbol || word.pronunciation.empty()) vowel = 0;
        else spoken += pronunciation_to_hiragana(word.pronunciation, vowel);
    }
    return split_morae(spoken);
}

std::vector<std::string> split_morae(const std::string& text) {
    char vowel = 0;
    const std::string hiragana = resolve_long_vowels(katakana_to_hiragana_text(text), vowel);
    std::vector<SpokenMora> morae;
    add_morae(hiragana, 0, 0, morae);
    std::vector<std::string> kana;
    kana.reserve(morae.size());
    for (SpokenMora& mora : morae) kana.push_back(std::move(mora.kana));
    return kana;
}

}  // namespace vokari

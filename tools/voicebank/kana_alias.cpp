#include "kana_alias.h"

#include "folder_index.h"
#include "syllables.h"

namespace vokari {
namespace voicebank {
namespace {

struct Spelling {
    const char* alternative;
    const char* romaji;  // the name of the slot in the syllable table
};

// Other romanisations of the table's syllables.
constexpr Spelling kAlternatives[] = {
    {"si", "shi"},  {"ti", "chi"},  {"tu", "tsu"},  {"hu", "fu"},   {"zi", "ji"},   {"nn", "n"},
    {"sya", "sha"}, {"syu", "shu"}, {"syo", "sho"}, {"tya", "cha"}, {"tyu", "chu"}, {"tyo", "cho"},
    {"cya", "cha"}, {"cyu", "chu"}, {"cyo", "cho"}, {"zya", "ja"},  {"zyu", "ju"},  {"zyo", "jo"},
    {"jya", "ja"},  {"jyu", "ju"},  {"jyo", "jo"},  {"dzi", "di"},  {"dzu", "du"},
};

int slot_of_syllable(const std::string& text) {
    const std::string hiragana = katakana_to_hiragana(text);
    const std::string romaji = fold_case(text);
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        if (hiragana == kSyllables[slot].kana || romaji == kSyllables[slot].romaji) return slot;
    }
    for (const Spelling& spelling : kAlternatives) {
        if (romaji == spelling.alternative) return slot_of_romaji(spelling.romaji);
    }
    return -1;
}

}  // namespace

std::string katakana_to_hiragana(const std::string& text) {
    std::string out = text;
    // Katakana U+30A1..U+30F6 are E3 82 A1..E3 83 B6; their hiragana lie
    // 0x60 code points lower, at U+3041..U+3096.
    for (size_t i = 0; i + 2 < out.size(); ++i) {
        const unsigned char b0 = static_cast<unsigned char>(out[i]);
        const unsigned char b1 = static_cast<unsigned char>(out[i + 1]);
        const unsigned char b2 = static_cast<unsigned char>(out[i + 2]);
        if (b0 != 0xE3 || (b1 != 0x82 && b1 != 0x83)) continue;
        unsigned code = 0x3000u | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
        if (code < 0x30A1 || code > 0x30F6) continue;
        code -= 0x60;
        out[i + 1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out[i + 2] = static_cast<char>(0x80 | (code & 0x3F));
        i += 2;
    }
    return out;
}

AliasSlot slot_of_alias(const std::string& alias) {
    AliasSlot result;
    std::string syllable = alias;
    AliasKind kind = AliasKind::Plain;
    if (!syllable.empty() && syllable[0] == '-') {
        kind = AliasKind::PhraseStart;
        syllable.erase(0, syllable.find_first_not_of(' ', 1));
    }
    if (syllable.find(' ') != std::string::npos) return result;  // VCV and the like
    const int slot = slot_of_syllable(syllable);
    if (slot < 0) return result;
    result.kind = kind;
    result.slot = slot;
    return result;
}

}  // namespace voicebank
}  // namespace vokari

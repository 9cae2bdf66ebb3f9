// From a CV bank's alias to the slot it stands for.
#include "kana_alias.h"

#include "folder_index.h"
#include "syllables.h"
#include "tools/text/utf8.h"

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
    const std::string hiragana = text::katakana_to_hiragana(text);
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

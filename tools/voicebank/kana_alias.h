// Which bank slot an alias of a CV voice bank stands for: "か", "カ", "ka",
// and the phrase-start forms "- か", "-ka".
#pragma once

#include <string>

namespace vokari {
namespace voicebank {

enum class AliasKind {
    Plain,        // a single syllable: "か", "カ", "ka"
    PhraseStart,  // a syllable at the start of a phrase: "- か"
    Other,        // anything else: VCV ("a か"), breaths, unknown names
};

struct AliasSlot {
    AliasKind kind = AliasKind::Other;
    int slot = -1;  // 0..106 for Plain and PhraseStart, -1 for Other
};

// Reads a UTF-8 alias.  Hiragana and katakana count alike, romaji in either
// letter case, with the common alternative spellings (si, ti, tu, hu, zi,
// sya, tya, zya, jya ...).
AliasSlot slot_of_alias(const std::string& alias);

}  // namespace voicebank
}  // namespace vokari

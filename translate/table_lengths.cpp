// Measures every kana and tag table once the module loads.
#include "translate/kana_index.h"
#include "translate/kana_tables.h"
#include "translate/scanner.h"
#include "translate/script_tags.h"
#include "translate/voice_tags.h"

namespace vokari {

// Measures every table and indexes the kana tables by their bytes.  Until
// this has run no table entry matches: kana then read as silence and tags as
// plain characters.
void compute_table_lengths() {
    const StringTable* const tables[] = {&hiragana_table,      &katakana_table,       &halfwidth_table,
                                         &fullwidth_long_vowel_marks, &halfwidth_long_vowel_marks,
                                         &script_bracket_tags, &script_plain_tags,    &voice_bracket_tags,
                                         &voice_plain_tags};
    for (const StringTable* table : tables) table->measure();
    build_kana_indices();
}

}  // namespace vokari

// Kana conversion: one Japanese character of the voice text becomes the onset
// and vowel events of its phoneme slot.  Every character, recognised or not,
// lasts one talk-speed unit.
#include "translate/kana_tables.h"
#include "translate/scan_state.h"
#include "translate/time_math.h"
#include "translate/timeline.h"

namespace vokari {

namespace {

// The events of one recognised kana of slot `slot` starting at `ms`: an onset
// event for a consonant slot, then the event of its vowel, which starts the
// onset's vowel_delay later and fades in over its loop_chunk_offset.
void emit_kana(std::int64_t ms, int speaker, int slot, std::int32_t wa_countdown) {
    const int vowel = vowel_of[slot];
    std::int32_t carry_fade = 1;
    std::int32_t carry_delay = 0;
    if (slot != vowel) emit_phoneme(ms, speaker, slot, wa_countdown, false, carry_fade, carry_delay);
    emit_phoneme(ms, speaker, vowel, wa_countdown, true, carry_fade, carry_delay);
}

// The slot in [first, last) whose hiragana or katakana entry begins the text
// at `pos`, or -1.
int fullwidth_slot(const ScanState& state, int first, int last) {
    for (int slot = first; slot < last; ++slot) {
        if (hiragana_table.begins(slot, state.text, state.pos, state.length) ||
            katakana_table.begins(slot, state.text, state.pos, state.length))
            return slot;
    }
    return -1;
}

// Speaks `slot`, consumes `bytes` and one character of time.
void speak(ScanState& state, int slot, std::int32_t bytes) {
    emit_kana(state.time_ms, state.speaker, slot, state.wa_countdown);
    state.time_ms = add_time(state.time_ms, state.speed_ms);
    state.pos += bytes;
}

// A long-vowel mark: the sound before it goes on for one more character.
void extend(ScanState& state, std::int32_t bytes) {
    state.time_ms = add_time(state.time_ms, state.speed_ms);
    state.pos += bytes;
}

// Anything else: one character of silence.
void silence(ScanState& state, std::int32_t bytes) {
    spend_silent_characters(state, 1);
    state.pos += bytes;
}

}  // namespace

// Contracted sounds are tried before single kana, so that kya is one kana and
// never ki followed by a stray small ya.  The hiragana and katakana entries of
// a slot are equally long.  Any other character takes 2 bytes, also when its
// lead byte is the text's last byte.
void convert_fullwidth_kana(ScanState& state) {
    int slot = fullwidth_slot(state, kFirstContractedSlot, kSlotCount);
    if (slot >= 0) return speak(state, slot, hiragana_table.lengths[slot]);
    slot = fullwidth_slot(state, 0, kFirstContractedSlot);
    if (slot >= 0) return speak(state, slot, hiragana_table.lengths[slot]);
    if (fullwidth_long_vowel_marks.match(state.text, state.pos, state.length) >= 0) return extend(state, 2);
    silence(state, 2);
}

// Longer entries first: contracted sounds (2 or 3 bytes), then kana with a
// voicing mark (2 bytes), then single kana, so that ga is never ka followed by
// a stray mark.
void convert_halfwidth_kana(ScanState& state) {
    const int groups[][2] = {{kFirstContractedSlot, kSlotCount}, {kFirstVoicedSlot, kFirstContractedSlot},
                             {0, kFirstVoicedSlot}};
    for (const auto& group : groups) {
        const int slot = halfwidth_table.match(state.text, state.pos, state.length, group[0], group[1]);
        if (slot >= 0) return speak(state, slot, halfwidth_table.lengths[slot]);
    }
    if (halfwidth_long_vowel_marks.match(state.text, state.pos, state.length) >= 0) return extend(state, 1);
    silence(state, 1);
}

}  // namespace vokari
